#pragma once
// The "Revisión" panel, docked under the form: every problem the form has
// now, in the order of the form, each line saying where (the box as a screen
// reader names it) and what (the message the check shows), marked "Error"
// or "Aviso". A line chosen (Enter, a click, a double-click) puts the caret
// in its field. The page's own checks make the list (CPageReview); while the
// panel is closed nothing is asked of the page.
#include <QDockWidget>
#include <QList>

#include "app/page_review.h"

class QLabel;
class QStackedWidget;
class QTreeWidget;
class QTreeWidgetItem;
class QWebEnginePage;

namespace f7301 {

// The panel's title: "Revisión", then how many errors and avisos there are.
QString ReviewTitle(int errors, int avisos);

inline constexpr const char* kNoProblemsText = "El formulario no tiene problemas.";
inline constexpr const char* kNotReviewableText =
    "Una declaración abierta para consulta no se revisa.";

class CReviewPanel : public QDockWidget {
  Q_OBJECT

 public:
  // `view` shows `page` and takes the keyboard when a line is chosen.
  CReviewPanel(QWebEnginePage& page, QWidget& view, QWidget* parent = nullptr);

  // Brings the list up to date when the panel is open; nothing otherwise.
  void Refresh();
  // Opens the panel, its list brought up to date.
  void Open();

  QTreeWidget* list() const { return m_list; }
  // Stands for the list when there is none: no problems, nothing to review.
  QLabel* note() const { return m_note; }

 signals:
  // The panel shows the review just made.
  void updated();

 private:
  void ShowLines(const QList<ReviewLine>& lines);
  void ShowNote(const QString& text, const QString& title);
  void SetUpToggle();
  void ShowBody(QWidget* shown);
  void GoToLine(QTreeWidgetItem* item);

  CPageReview* m_review;
  QWidget& m_view;
  QStackedWidget* m_body;
  QTreeWidget* m_list;
  QLabel* m_note;
};

}  // namespace f7301
