#pragma once
// The size of the form on screen: Ver → Acercar, Alejar and Tamaño normal,
// in the steps a browser takes, and Ctrl+wheel as the browser does it. The
// size chosen either way is kept in the program's settings and given back to
// the form at the next start.
#include <QObject>

#include "zoom/zoom_steps.h"

class QAction;
class QMenu;
class QWebEngineView;

namespace f7301 {

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
