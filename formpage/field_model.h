#pragma once
// The fields of form RTQ-7301, fixed once for the whole program: every box
// with its page field name, its place on the page and its input attributes,
// and the key under which its value sits in a read declaration. The blank,
// editable and read-only pages are all written from these tables, and the
// page scripts and the declaration XML use the same names.
#include <array>
#include <string>
#include <string_view>
#include <utility>

namespace f7301 {

// ---- Box numbering -------------------------------------------------------

inline constexpr int kFirstGridBox = 6;
inline constexpr int kLastGridBox = 117;
inline constexpr int kGridRowCount = 14;  // thirteen products and the totals
inline constexpr int kGridColumnCount = 8;
inline constexpr int kProductRowCount = 13;

inline constexpr int kAnnexColumnCount = 3;
inline constexpr int kMaxAnnexRows = 500;
inline constexpr int kFirstAnnexBox = 118;
inline constexpr int kAnnexTotalBox = 1618;  // also the first id past the annex
inline constexpr int kRectifiedBox = 1619;
inline constexpr int kFineBox = 1620;
inline constexpr int kTotalToPayBox = 1621;
inline constexpr int kBlankAnnexRows = 3;

// "c" + n: the name and id of box n's element on the page.
std::string BoxFieldName(int box);
// "f1" + row + "c" + column: an annex cell (row from 1, column 1 to 3).
std::string AnnexFieldName(int row, int column);
// The box id an annex cell travels under: 117 + 3 (row - 1) + column.
int AnnexBoxId(int row, int column);
// The field store keeps attribute values with their quotes, so box n is
// found by the pair ("ID", "\"n\"").
inline constexpr std::string_view kBoxKeyName = "ID";
std::pair<std::string, std::string> BoxStoreKey(int box);

// ---- Movement grid (box 1) -----------------------------------------------

struct GridRow {
  const char* label;       // Windows-1252
  const char* labelClass;  // class of the label cell; empty for the totals row
};

// Row labels in page order; the last row is the totals.
extern const std::array<GridRow, kGridRowCount> kGridRows;

// Column headings of the grid, as the page writes them.
struct GridHeading {
  const char* text;
  int columns;  // 2 for the split headings
};
extern const std::array<GridHeading, 6> kGridTopHeadings;
extern const std::array<const char*, 4> kGridSubHeadings;
inline constexpr const char* kGridFirstHeading = "Productos";

// Box in grid row `row` (1 to 14) and column `column` (1 to 8).
int GridBox(int row, int column);
// Width in percent of the cell of column `column` in grid row `row`.
int GridCellWidth(int row, int column);
// The Saldo Final column and the whole totals row: computed by the page and
// protected from typing.
bool IsComputedBox(int box);
// Most grid boxes take at most 14 characters; a few were left without limit.
bool HasMaxLength(int box);
inline constexpr int kGridMaxLength = 14;
inline constexpr int kGridInputSize = 7;
// Class of a grid box: "lectura" for computed boxes (some spelled
// "Lectura"), empty for entry boxes.
std::string_view GridBoxClass(int box);

// ---- Identity and period (box 0) -----------------------------------------

// Which part of a stored period date (YYYYMMDD) a period input shows.
enum class DatePart { kDay, kMonth, kYear };

struct PeriodField {
  const char* name;
  const char* storeElement;  // PERIODO_DESDE or PERIODO_HASTA
  DatePart part;
  bool readOnlyLook;  // class lectura, disabled
  int size;
  int maxLength;
  const char* preset;  // value on the blank page, or empty
};

// dia_ini, mes_ini, anio_ini, then dia_fin, mes_fin, anio_fin.
extern const std::array<PeriodField, 6> kPeriodFields;
inline constexpr const char* kPeriodBlurHandler = "validacionesfecha()";
inline constexpr const char* kPeriodStyle = "FONT-SIZE: xx-small;";

// The part of a stored date YYYYMMDD that `part` names; a short date gives
// what it has of that part.
std::string DatePartOf(std::string_view date, DatePart part);

// ---- Exempt-sales annex --------------------------------------------------

// The twelve products of the annex list, in list order.
extern const std::array<const char*, 12> kAnnexProducts;

struct AnnexColumn {
  const char* blurHandler;
  const char* cellWidth;  // on the blank and editable pages
};
extern const std::array<AnnexColumn, kAnnexColumnCount> kAnnexColumns;
inline constexpr int kAnnexInputSize = 9;
inline constexpr int kAnnexMaxLength = 50;

// ---- Single inputs: identity and settlement -------------------------------

// Attributes of one input element; 0 and empty mean "not written".
struct InputSpec {
  const char* name;
  const char* cssClass;
  int size;
  int maxLength;
  const char* blurHandler;
  const char* style;
};

extern const InputSpec kNitInput;         // c2
extern const InputSpec kNameInput;        // c3
extern const InputSpec kAnnexTotalInput;  // c1618

struct SettlementBox {
  int box;
  InputSpec input;
  const char* label;  // Windows-1252
};
// c1619 (rectified declaration), c1620 (fine), c1621 (total to pay).
extern const std::array<SettlementBox, 3> kSettlementBoxes;

// ---- Texts ---------------------------------------------------------------

inline constexpr const char* kAdministration = "RTQ";
inline constexpr const char* kAdministrationName = "Administraci\xF3n Tributaria";
inline constexpr const char* kFormCode = "RTQ-7301";
inline constexpr const char* kRelease = "Release 2.2";
inline constexpr const char* kPageTitle = "Formulario RTQ-No. 7301";

}  // namespace f7301
