#pragma once
// Puts the keyboard in the form whenever a page goes on screen (start-up,
// Nuevo, Consultar, Modificar) and after an annex import: the caret in the
// NIT box of a form that can be filled, the page itself on a read-only one,
// so the user types at once. Chromium focuses no element of a page it has
// just loaded: keys then reach the page's body and are lost.
//
// The keyboard moves only inside the program's window: when another window
// (a dialog, another of the program's windows, another program) is active,
// the view becomes the one the window gives the keyboard to when the user
// comes back to it, and nothing is taken from the window the user is in.
#include <QObject>

class QWebEnginePage;
class QWidget;

namespace f7301 {

class CPageFocus : public QObject {
  Q_OBJECT

 public:
  // `view` hosts `page`. Make it before anything else that acts on a page
  // that has loaded (a draft put back puts the caret in its own field after
  // this has put it in the NIT box).
  CPageFocus(QWidget& view, QWebEnginePage& page, QObject* parent = nullptr);

  // The caret into the NIT box (the page's body when there is none to type
  // in), and the keyboard to the view.
  void FocusForm();

  // Only the keyboard to the view: the page has placed its caret itself.
  void FocusView();

  // The next page shown also brings the program's window forward and makes
  // it active: for a page asked for from another of the program's windows.
  void ActivateWithNextPage() { m_activateWithNextPage = true; }

 private:
  void OnLoadFinished(bool ok);

  QWidget& m_view;
  QWebEnginePage& m_page;
  bool m_activateWithNextPage = false;
};

}  // namespace f7301
