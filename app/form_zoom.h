#pragma once
// The size of the form on screen: Ver → Acercar, Alejar and Tamaño normal,
// in the steps a browser takes, and Ctrl+wheel as the browser does it. The
// size chosen either way is kept in the program's settings and given back to
// the form at the next start.
#include <QObject>

class QAction;
class QMenu;
class QWebEngineView;

namespace f7301 {

// The sizes Acercar and Alejar step through, as factors of the normal size.
inline constexpr qreal kZoomSteps[] = {0.25, 0.33, 0.5,  0.67, 0.75, 0.8, 0.9, 1.0, 1.1,
                                       1.25, 1.5,  1.75, 2.0,  2.5,  3.0, 4.0, 5.0};

// The step after `factor` going in (`in`) or out; `factor` itself at either
// end. A factor between steps (from Ctrl+wheel) goes to the nearest step on
// that side.
qreal NextZoomStep(qreal factor, bool in);

class CFormZoom : public QObject {
  Q_OBJECT

 public:
  // Gives `view` the size kept from the last run and adds the three commands
  // to `menu`.
  CFormZoom(QWebEngineView& view, QMenu& menu, QObject* parent = nullptr);

  QAction* zoomInAction() const { return m_in; }
  QAction* zoomOutAction() const { return m_out; }
  QAction* normalSizeAction() const { return m_normal; }

  // Keeps the size on screen now for the next run (a Ctrl+wheel zoom too).
  void Remember();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void SetFactor(qreal factor);

  QWebEngineView& m_view;
  QAction* m_in;
  QAction* m_out;
  QAction* m_normal;
};

}  // namespace f7301
