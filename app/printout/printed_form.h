#pragma once
// The form on screen made into the document that Exportar a PDF writes and
// Imprimir prints: the browser's own PDF printing (text stays text, the page's
// print style applies), with the running head and the page numbers laid over
// every page. Made without blocking the window, under a progress box with
// "Cancelar".
#include <QObject>
#include <QPageLayout>
#include <QPointer>
#include <QString>
#include <atomic>
#include <functional>
#include <memory>

class QProgressDialog;
class QWebEnginePage;
class QWidget;

namespace f7301 {

class CPrintedForm : public QObject {
  Q_OBJECT

 public:
  enum class Outcome { kDone, kFailed, kCancelled };
  // Takes the finished PDF somewhere (a file, a printer); runs off the
  // window's thread; true when it did.
  using Deliver = std::function<bool(const QByteArray& pdf)>;

  CPrintedForm(QWebEnginePage& page, QWidget& window, QObject* parent = nullptr);
  ~CPrintedForm() override;

  // One document at a time: false, and nothing done, while one is made.
  bool Start(const QString& head, const QPageLayout& layout, const QString& progressText,
             Deliver deliver);
  bool busy() const { return m_busy; }
  // "Cancelar": nothing is delivered unless delivering has begun.
  void Cancel();

  // The browser's printed pages: a margin for the head and foot, and sides
  // narrow enough for the form to keep its size on A4 and Letter.
  static QPageLayout LayoutFor(const QPageSize& paper);

 signals:
  void finished(CPrintedForm::Outcome outcome);

 private:
  void OnPrinted(const QByteArray& pdf, const QString& head, const QPageLayout& layout,
                 Deliver deliver);
  void Finish(Outcome outcome);

  QWebEnginePage& m_page;
  QWidget& m_window;
  bool m_busy = false;
  std::shared_ptr<std::atomic_bool> m_cancelled;
  QPointer<QProgressDialog> m_progress;
};

}  // namespace f7301
