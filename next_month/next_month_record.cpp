#include "next_month/next_month_record.h"

#include <charconv>
#include <nlohmann/json.hpp>

#include "declaration/cp1252.h"
#include "formpage/field_model.h"

namespace f7301 {
namespace {

using nlohmann::json;

constexpr int kSaldoInicialColumn = 1;
constexpr int kSaldoFinalColumn = kGridColumnCount;
// Where the caret waits: the first box of the month's movements.
constexpr int kFirstMovementBox = kFirstGridBox + 1;

std::string ElementText(const CFieldList& store, const char* name) {
  const CFieldNode* node = store.Find(name);
  return node ? Cp1252ToUtf8(node->value()) : std::string();
}

// An empty box is stored as "0" and is empty again on the page, as
// Modificar shows it.
std::string BoxText(const CFieldList& store, int box) {
  const auto [attribute, value] = BoxStoreKey(box);
  const CFieldNode* node = store.FindByAttribute(attribute, value);
  if (!node || node->value() == "0") return "";
  return Cp1252ToUtf8(node->value());
}

std::optional<int> Digits(std::string_view text) {
  int number = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return number;
}

std::string TwoDigits(int number) { return (number < 10 ? "0" : "") + std::to_string(number); }

void PutPeriod(json& fields, const std::optional<Period>& declared) {
  fields["dia_ini"] = "01";
  fields["mes_ini"] = "";
  fields["anio_ini"] = "";
  if (declared) {
    const Period next = NextPeriod(*declared);
    fields["mes_ini"] = TwoDigits(next.month);
    fields["anio_ini"] = std::to_string(next.year);
  }
  // The end of the period and the dates the page checks are the page's to
  // work out when the start is left, as after typing it.
  for (const char* name : {"dia_fin", "mes_fin", "anio_fin", "c4", "c5"}) fields[name] = "";
}

void PutBoxes(json& fields, const CFieldList& store) {
  for (int box = kFirstGridBox; box <= kLastGridBox; ++box) fields[BoxFieldName(box)] = "";
  for (int row = 1; row <= kProductRowCount; ++row) {
    fields[BoxFieldName(GridBox(row, kSaldoInicialColumn))] =
        BoxText(store, GridBox(row, kSaldoFinalColumn));
  }
  for (int box = kAnnexTotalBox; box <= kTotalToPayBox; ++box) fields[BoxFieldName(box)] = "";
}

}  // namespace

Period NextPeriod(Period period) {
  if (period.month >= 12) return {period.year + 1, 1};
  return {period.year, period.month + 1};
}

std::optional<Period> DeclaredPeriod(const CFieldList& store) {
  const CFieldNode* from = store.Find("PERIODO_DESDE");
  if (!from || from->value().size() != 8) return std::nullopt;
  const std::string& date = from->value();
  const std::optional<int> year = Digits(std::string_view(date).substr(0, 4));
  const std::optional<int> month = Digits(std::string_view(date).substr(4, 2));
  if (!year || !month || *year < 1 || *month < 1 || *month > 12) return std::nullopt;
  return Period{*year, *month};
}

std::string NextMonthRecord(const CFieldList& store) {
  json fields = json::object();
  fields["c2"] = ElementText(store, "NIT");
  fields["c3"] = ElementText(store, "NOMBRE");
  PutPeriod(fields, DeclaredPeriod(store));
  PutBoxes(fields, store);
  json rows = json::array({0, kBlankAnnexRows});
  const json record = {
      {"filas", rows}, {"campos", fields}, {"foco", BoxFieldName(kFirstMovementBox)}};
  // Whatever bytes a stored text holds, the record stays valid JSON.
  return record.dump(-1, ' ', false, json::error_handler_t::replace);
}

}  // namespace f7301
