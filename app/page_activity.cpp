#include "app/page_activity.h"

namespace f7301 {

void CPageActivity::Changed(const QString& name, const QString& value) {
  emit changed(name, value);
}

}  // namespace f7301
