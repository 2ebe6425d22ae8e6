#include "app/page_focus.h"

#include <QWebEnginePage>
#include <QWidget>

#include "formpage/field_model.h"

namespace f7301 {
namespace {

// A read-only page shows its values as text: no box takes the caret there,
// and the page keeps the keyboard for scrolling.
QString FocusScript() {
  return QStringLiteral(
             "(function () {"
             "  var form = document.forms.C;"
             "  var box = form ? form.elements['%1'] : null;"
             "  if (box && box.nodeType == 1 && !box.disabled && !box.readOnly) {"
             "    box.focus();"
             "    return true;"
             "  }"
             "  if (document.activeElement && document.activeElement != document.body)"
             "    document.activeElement.blur();"
             "  return false;"
             "})()")
      .arg(QString::fromLatin1(kNitInput.name));
}

}  // namespace

CPageFocus::CPageFocus(QWidget& view, QWebEnginePage& page, QObject* parent)
    : QObject(parent), m_view(view), m_page(page) {
  connect(&m_page, &QWebEnginePage::loadFinished, this, &CPageFocus::OnLoadFinished);
}

void CPageFocus::OnLoadFinished(bool ok) {
  if (!ok) return;
  if (m_activateWithNextPage) {
    m_activateWithNextPage = false;
    m_view.window()->raise();
    m_view.window()->activateWindow();
  }
  FocusForm();
}

void CPageFocus::FocusForm() {
  m_page.runJavaScript(FocusScript());
  FocusView();
}

// In a window that is not active, setFocus only records the widget that gets
// the keyboard once the window is active again.
void CPageFocus::FocusView() { m_view.setFocus(Qt::OtherFocusReason); }

}  // namespace f7301
