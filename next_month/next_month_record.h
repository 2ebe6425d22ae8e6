#pragma once
// "Mes siguiente": the form of the month after a filed declaration, as the
// page's own record of its fields (the record a kept draft holds, which the
// page puts back with restauraborrador). The taxpayer and the period after
// the declared one are filled, and each product opens with the balance the
// declaration closed with; every other box is left for the user, and the
// boxes the page computes are computed by the page.
#include <optional>
#include <string>

#include "xmlstore/field_list.h"

namespace f7301 {

struct Period {
  int year = 0;
  int month = 0;  // 1 to 12
  bool operator==(const Period&) const = default;
};

// The month after `period`: December gives January of the next year.
Period NextPeriod(Period period);

// The period a read declaration declares, from the start of its period
// (PERIODO_DESDE, YYYYMMDD); nothing when that is not a date of a month.
std::optional<Period> DeclaredPeriod(const CFieldList& store);

// The page record (UTF-8 JSON text) of the next month's form from the store
// of a read declaration. A period that cannot be read is left empty for the
// user to type; stored texts are passed on as stored, the page's checks
// judge them.
std::string NextMonthRecord(const CFieldList& store);

}  // namespace f7301
