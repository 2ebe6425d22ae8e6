#include "formpage/spoken_names.h"

#include <array>
#include <charconv>

#include "formpage/field_model.h"

namespace f7301 {
namespace {

// The grid's columns as one phrase each: the split headings are read with
// the heading above them.
constexpr std::array<const char*, kGridColumnCount> kGridColumnNames = {
    "Saldo Inicial", "Compras Afectas", "Otros Ajustes Positivas", "Otros Ajustes Negativas",
    "Exportaciones", "Ventas Afectas",  "Ventas Exentas",          "Saldo Final"};

constexpr std::array<const char*, kAnnexColumnCount> kAnnexColumnNames = {
    "NIT del comprador", "Cantidad de galones exentos", "Tipo de producto"};

constexpr const char* kAnnexPrefix = "Anexo, rengl\xF3n ";

struct NamedField {
  std::string_view field;
  const char* name;
};

// The fields named by their meaning alone; the period is read as the
// heading "Del" or "Al" and the part.
constexpr std::array<NamedField, 9> kNamedFields = {{
    {"c2", "NIT del contribuyente"},
    {"c3", "Nombre o raz\xF3n social del contribuyente"},
    {"dia_ini",
     "Periodo del, d\xED"
     "a"},
    {"mes_ini", "Periodo del, mes"},
    {"anio_ini", "Periodo del, a\xF1o"},
    {"dia_fin",
     "Periodo al, d\xED"
     "a"},
    {"mes_fin", "Periodo al, mes"},
    {"anio_fin", "Periodo al, a\xF1o"},
    {"renglones1", "Renglones a agregar al anexo"},
}};

// Boxes outside the grid, read with their number like the grid's.
struct NamedBox {
  int box;
  const char* name;
};
constexpr std::array<NamedBox, 4> kNamedBoxes = {{
    {kAnnexTotalBox, "Anexo, total de galones exentos"},
    {kRectifiedBox, "N\xFAmero de declaraci\xF3n que se rectifica"},
    {kFineBox, "Multa"},
    {kTotalToPayBox, "Total a pagar"},
}};

// Reads the decimal number that `text` is made of; false for anything else.
bool WholeNumber(std::string_view text, int& number) {
  if (text.empty()) return false;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  return error == std::errc() && end == text.data() + text.size();
}

std::string WithBoxNumber(std::string name, int box) {
  return name + ", casilla " + std::to_string(box);
}

std::string BoxName(int box) {
  if (box >= kFirstGridBox && box <= kLastGridBox) {
    const int row = (box - kFirstGridBox) / kGridColumnCount;
    const int column = (box - kFirstGridBox) % kGridColumnCount;
    return WithBoxNumber(std::string(kGridRows[row].label) + ", " + kGridColumnNames[column], box);
  }
  for (const NamedBox& named : kNamedBoxes) {
    if (named.box == box) return WithBoxNumber(named.name, box);
  }
  return "";
}

// "f1" + row + "c" + column; the row goes into the column's template, as the
// page scripts put it into the rows they add.
std::string AnnexCellName(std::string_view field) {
  const auto c = field.rfind('c');
  int row = 0;
  int column = 0;
  if (field.substr(0, 2) != "f1" || c == std::string_view::npos ||
      !WholeNumber(field.substr(2, c - 2), row) || !WholeNumber(field.substr(c + 1), column) ||
      row < 1 || row > kMaxAnnexRows || column < 1 || column > kAnnexColumnCount) {
    return "";
  }
  std::string name = AnnexSpokenTemplate(column);
  name.replace(name.find(kAnnexRowMark), kAnnexRowMark.size(), std::to_string(row));
  return name;
}

}  // namespace

std::string SpokenName(std::string_view field) {
  for (const NamedField& named : kNamedFields) {
    if (named.field == field) return named.name;
  }
  int box = 0;
  if (field.size() > 1 && field[0] == 'c' && WholeNumber(field.substr(1), box)) return BoxName(box);
  if (field.size() > 1 && field[0] == 'f') return AnnexCellName(field);
  return "";
}

std::string AnnexSpokenTemplate(int column) {
  return kAnnexPrefix + std::string(kAnnexRowMark) + ", " + kAnnexColumnNames[column - 1];
}

std::string AnnexTemplateAttribute(int column) { return "data-nombre-c" + std::to_string(column); }

std::string SpokenValue(std::string_view name, std::string_view value) {
  std::string spoken(name);
  if (!value.empty()) {
    spoken += ": ";
    spoken += value;
  }
  return spoken;
}

}  // namespace f7301
