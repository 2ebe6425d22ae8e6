#include "formpage/field_model.h"

namespace f7301 {

std::string BoxFieldName(int box) { return "c" + std::to_string(box); }

std::string AnnexFieldName(int row, int column) {
  return "f1" + std::to_string(row) + "c" + std::to_string(column);
}

int AnnexBoxId(int row, int column) { return 117 + 3 * (row - 1) + column; }

std::pair<std::string, std::string> BoxStoreKey(int box) {
  return {std::string(kBoxKeyName), "\"" + std::to_string(box) + "\""};
}

const std::array<GridRow, kGridRowCount> kGridRows = {{
    {"Gasolina superior", "izq"},
    {"Gasolina regular", "izq"},
    {"Gasolina de aviaci\xF3n", "izq"},
    {"Diesel", "izq"},
    {"Gas Oil", "izq"},
    {"Kerosina", "izq"},
    {"Nafta", "izq"},
    {"Fuel Oil (Bunker C)", "izq"},
    {"Gas licuado de petr\xF3leo a granel", "izq"},
    {"Gas licuado petr\xF3leo carburaci\xF3n", "izq"},
    {"Petr\xF3leo crudo", "izq"},
    {"Otros combustibles", "izq"},
    {"Asfaltos", "izq"},
    {"Totales", ""},
}};

const std::array<GridHeading, 6> kGridTopHeadings = {{
    {"Saldo Inicial", 1},
    {"Compras Afectas ", 1},
    {"Otros Ajustes ", 2},
    {"Exportaciones", 1},
    {"Ventas", 2},
    {"Saldo Final ", 1},
}};

const std::array<const char*, 4> kGridSubHeadings = {
    "Positivas", "Negativas", "Afectas ", "&nbsp;&nbsp;&nbsp;Exentas&nbsp;&nbsp;&nbsp; "};

int GridBox(int row, int column) {
  return kFirstGridBox + kGridColumnCount * (row - 1) + (column - 1);
}

int GridCellWidth(int row, int column) {
  static constexpr std::array<int, kGridColumnCount> kWidths = {15, 16, 14, 14, 14, 14, 14, 23};
  if (row == kGridRowCount && column == 1) return 16;
  return kWidths[column - 1];
}

bool IsComputedBox(int box) {
  if (box < kFirstGridBox || box > kLastGridBox) return false;
  const int row = (box - kFirstGridBox) / kGridColumnCount + 1;
  const int column = (box - kFirstGridBox) % kGridColumnCount + 1;
  return row == kGridRowCount || column == kGridColumnCount;
}

bool HasMaxLength(int box) {
  switch (box) {
    case 9:
    case 15:
    case 20:
    case 25:
    case 30:
    case 35:
    case 40:
    case 45:
    case 50:
    case 55:
    case 60:
    case 65:
    case 84:
    case 85:
      return false;
    default:
      return true;
  }
}

std::string_view GridBoxClass(int box) {
  if (!IsComputedBox(box)) return "";
  const bool capitalised = box == 85 || box == 93 || box == 101 || box >= 109;
  return capitalised ? "Lectura" : "lectura";
}

const std::array<PeriodField, 6> kPeriodFields = {{
    {"dia_ini", "PERIODO_DESDE", DatePart::kDay, true, 2, 2, "01"},
    {"mes_ini", "PERIODO_DESDE", DatePart::kMonth, false, 2, 2, ""},
    {"anio_ini", "PERIODO_DESDE", DatePart::kYear, false, 8, 4, ""},
    {"dia_fin", "PERIODO_HASTA", DatePart::kDay, true, 2, 2, ""},
    {"mes_fin", "PERIODO_HASTA", DatePart::kMonth, true, 2, 2, ""},
    {"anio_fin", "PERIODO_HASTA", DatePart::kYear, true, 8, 4, ""},
}};

std::string DatePartOf(std::string_view date, DatePart part) {
  std::size_t start = 0;
  std::size_t length = 4;
  if (part == DatePart::kMonth) start = 4, length = 2;
  if (part == DatePart::kDay) start = 6, length = 2;
  if (start >= date.size()) return "";
  return std::string(date.substr(start, length));
}

const std::array<const char*, 12> kAnnexProducts = {
    "GASOLINA SUPERIOR",
    "GASOLINA REGULAR",
    "GASOLINA DE AVIACION",
    "DIESEL",
    "GAS OIL",
    "KEROSINA (DPK) (AVJET, TURBO FUEL)",
    "NAFTA",
    "FUEL OIL (BUNKER C)",
    "GAS LICUADO PETROLEO CARBURACION",
    "PETROLEO CRUDO USADO COMO COMBUSTIBLE",
    "OTROS COMBUSTIBLES DERIVADOS DEL PETROLEO",
    "ASFALTOS",
};

const std::array<AnnexColumn, kAnnexColumnCount> kAnnexColumns = {{
    {"validacionesobjetoanexo(this.name,1,poscol(this.name));validanit(this);", "15%"},
    {"validacionesobjetoanexo(this.name,1,poscol(this.name));UCase(this);", "15%"},
    {"validacionesobjetoanexo(this.name,1,poscol(this.name)); ", "22%"},
}};

const InputSpec kNitInput = {"c2", "", 22, 13, "nitsinguion()", "TEXT-ALIGN: center"};
const InputSpec kNameInput = {"c3", "", 70, 0, "UCase(this)", "TEXT-ALIGN: center"};
const InputSpec kAnnexTotalInput = {"c1618", "lectura", 10, 0, "validaciones(c1618)", ""};

const std::array<SettlementBox, 3> kSettlementBoxes = {{
    {kRectifiedBox,
     {"c1619", "", 23, 12, "validaciones(c1619)", ""},
     "No. de declaraci\xF3n que se rectifica"},
    {kFineBox, {"c1620", "", 23, 13, "validaciones(c1620);valida_c1620();", ""}, "(+) Multa"},
    {kTotalToPayBox, {"c1621", "resaltado", 0, 0, "validaciones(c1621)", ""}, "(=) TOTAL A PAGAR"},
}};

}  // namespace f7301
