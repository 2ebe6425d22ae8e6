#pragma once
// The review of the form on screen, asked of the page: its own checks list
// every problem the form has now (revisionformulario), and put the caret in
// the field of one of them (irarevision). Reviews asked for while one runs
// make one more after it, never two at once; one begun on a page that has
// since been replaced is dropped.
#include <QList>
#include <QObject>
#include <QString>
#include <QVariant>
#include <optional>

class QWebEnginePage;

namespace f7301 {

struct ReviewLine {
  QString field;  // the id of the field to put the caret in
  QString where;  // its spoken name
  QString text;   // the message, without its "Error:" line
  bool error;     // an error stops "Validar"; an aviso does not
};

// The script that asks a page for its review, and the lines of its answer:
// none when the answer is no list of lines (a page without the form's
// scripts, or a script that failed).
QString ReviewScript();
std::optional<QList<ReviewLine>> ReviewLinesOf(const QVariant& answer);

class CPageReview : public QObject {
  Q_OBJECT

 public:
  explicit CPageReview(QWebEnginePage& page, QObject* parent = nullptr);

  // Reviews the form, now or once the review running has ended.
  void Request();

  // Puts the caret in `field`, scrolled into view.
  void GoTo(const QString& field);

 signals:
  // The problems of the form, in the order of the form.
  void reviewed(const QList<ReviewLine>& lines);
  // The page on screen has no checks (a declaration opened for consultation).
  void notReviewable();
  // Another page is going on screen: the last lines are no longer its own.
  void pageLeft();

 private:
  void Start();
  void OnAnswer(int page, const QVariant& answer);

  QWebEnginePage& m_page;
  int m_pageCount = 0;  // counts the pages put on screen
  bool m_running = false;
  bool m_again = false;
};

}  // namespace f7301
