#include "annexcsv/annex_page_calls.h"

#include <nlohmann/json.hpp>

namespace f7301 {
namespace {

using nlohmann::json;

json SaleJson(const AnnexSale& sale) {
  return {{"linea", sale.line},
          {"nit", sale.nit},
          {"galones", sale.gallons},
          {"producto", sale.product}};
}

// ASCII only, every other character escaped: the script text stays valid
// whatever the file held.
std::string Dump(const json& value) { return value.dump(-1, ' ', true); }

bool IsText(const json& object, const char* key) {
  return object.contains(key) && object[key].is_string();
}

bool IsWhole(const json& object, const char* key) {
  return object.contains(key) && object[key].is_number_integer();
}

std::optional<AnnexProblem> ProblemOf(const json& item) {
  if (!item.is_object() || !IsWhole(item, "linea") || !IsWhole(item, "columna") ||
      !IsText(item, "mensaje")) {
    return std::nullopt;
  }
  return AnnexProblem{
      item["linea"].get<int>(), item["columna"].get<int>(), item["mensaje"].get<std::string>(),
      item.contains("aviso") && item["aviso"].is_boolean() && item["aviso"].get<bool>()};
}

}  // namespace

std::string AnnexImportScript(const AnnexFile& file) {
  json rows = json::array();
  for (const AnnexSale& sale : file.sales) rows.push_back(SaleJson(sale));
  return "JSON.stringify(importaanexo(" + Dump(rows) + ", " + std::to_string(file.refusedRows) +
         "))";
}

std::optional<AnnexImportAnswer> ParseAnnexImportAnswer(const std::string& text) {
  const json answer = json::parse(text, nullptr, false);
  if (!answer.is_object()) return std::nullopt;
  AnnexImportAnswer result;
  if (IsText(answer, "mensaje")) {
    result.refusal = answer["mensaje"].get<std::string>();
    return result;
  }
  if (!IsWhole(answer, "importadas") || !answer.contains("problemas") ||
      !answer["problemas"].is_array()) {
    return std::nullopt;
  }
  result.imported = answer["importadas"].get<int>();
  if (IsWhole(answer, "primera")) result.firstRow = answer["primera"].get<int>();
  for (const json& item : answer["problemas"]) {
    auto problem = ProblemOf(item);
    if (!problem) return std::nullopt;
    result.problems.push_back(std::move(*problem));
  }
  return result;
}

std::string AnnexExportScript() { return "JSON.stringify(exportaanexo())"; }

std::optional<AnnexExportAnswer> ParseAnnexExportAnswer(const std::string& text) {
  const json answer = json::parse(text, nullptr, false);
  if (!answer.is_object()) return std::nullopt;
  if (IsText(answer, "mensaje"))
    return AnnexExportAnswer{answer["mensaje"].get<std::string>(), {}, {}};
  if (!answer.contains("filas") || !answer["filas"].is_array() || !answer.contains("incompletos") ||
      !answer["incompletos"].is_array()) {
    return std::nullopt;
  }
  AnnexExportAnswer result;
  for (const json& item : answer["filas"]) {
    if (!item.is_object() || !IsText(item, "nit") || !IsText(item, "galones") ||
        !IsText(item, "producto")) {
      return std::nullopt;
    }
    result.sales.push_back({0, item["nit"].get<std::string>(), item["galones"].get<std::string>(),
                            item["producto"].get<std::string>()});
  }
  for (const json& row : answer["incompletos"]) {
    if (!row.is_number_integer()) return std::nullopt;
    result.incomplete.push_back(row.get<int>());
  }
  return result;
}

}  // namespace f7301
