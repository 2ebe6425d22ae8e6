#include "app/page_activity.h"

namespace f7301 {

void CPageActivity::Changed(const QString& name, const QString& value, bool left) {
  emit changed(name, value);
  if (left) emit fieldLeft();
}

void CPageActivity::ValidarStopped() { emit validarStopped(); }

}  // namespace f7301
