#include "app/page_activity.h"

namespace f7301 {

void CPageActivity::Changed() { emit changed(); }

}  // namespace f7301
