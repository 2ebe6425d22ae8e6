#pragma once
// Which of one taxpayer's declarations rectifies which (box 1619).
#include <vector>

#include "register/filing.h"

namespace f7301 {

// Links each filing to the declarations its box 1619 names, of the same NIT
// (the caller passes one taxpayer's filings, copies left out) and the same
// period. A 1619 that names a declaration of another period, or one not
// found, links nothing and leaves an aviso on the filing. A loop of links is
// cut in the order the declarations were generated: in a loop, the later one
// rectifies the earlier, never the other way round. So at least one filing
// of each period is rectified by nothing.
void LinkRectifications(std::vector<Filing*>& filings);

}  // namespace f7301
