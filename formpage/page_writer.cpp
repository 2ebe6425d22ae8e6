#include "formpage/page_writer.h"

#include <cstdio>

#include "formpage/html_text.h"
#include "formpage/spoken_names.h"

namespace f7301 {
namespace {

constexpr const char* kResourcePrefix = "res://Formulario7301.exe/#23/#";
constexpr const char* kScriptType = "<script language='JavaScript' type='text/javascript'";

// The blank page has kept the first title line without two of its accents.
constexpr const char* kTitleLineBlank =
    "Declaraci\xF3n Jurada informativa mensual del impuesto a la distribucion de petroleo "
    "crudo";
constexpr const char* kTitleLineAccented =
    "Declaraci\xF3n Jurada informativa mensual del impuesto a la distribuci\xF3n de petr\xF3leo "
    "crudo";
constexpr const char* kTitleLine2 = "y combustibles derivados del petr\xF3leo";

constexpr const char* kValidarBlank =
    "validaanexo2(); if ((valida_c1618() && valida_formulario()) && (valida_c1620())) {  "
    "validaarchivoanexo()  } ";
// A corrected declaration is generated without the fine warning.
constexpr const char* kValidarEditable =
    "validaanexo2(); if (valida_c1618() && valida_formulario()) {  validaarchivoanexo()  } ";

constexpr const char* kAnnexScriptFormat =
    "\t<script language='JavaScript'> VANEXOSINICIALES[1] = %d; ANEXO[1]=%d; </script>\n";

constexpr const char* kNbsp5 = "&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;";

}  // namespace

std::string WriteBlankPage() {
  std::string page;
  CPageWriter(PageKind::kBlank, nullptr, page).Write();
  return page;
}

bool WriteStoredPage(PageKind kind, const CFieldList& store, std::string& page) {
  page.clear();
  if (CPageWriter(kind, &store, page).Write()) return true;
  page.clear();
  return false;
}

bool ReadOnlyPageComplete(const CFieldList& store, const CStoredBoxes& boxes) {
  return CPageWriter(store, boxes).Write();
}

CPageWriter::CPageWriter(PageKind kind, const CFieldList* store, std::string& page)
    : m_kind(kind), m_store(store), m_page(page) {
  if (!m_store) {
    m_kind = PageKind::kBlank;
    return;
  }
  m_ownBoxes = CStoredBoxes(*m_store);
}

CPageWriter::CPageWriter(const CFieldList& store, const CStoredBoxes& boxes)
    : m_kind(PageKind::kReadOnly),
      m_store(&store),
      m_boxes(&boxes),
      m_page(m_noPage),
      m_putNothing(true) {}

const CFieldNode* CPageWriter::FindBox(int box) const { return m_boxes->Find(box); }

bool CPageWriter::Write() {
  m_missing = false;
  m_annexRows = AnnexRows();
  if (!m_putNothing) m_page.reserve(40000 + 1600 * static_cast<std::size_t>(m_annexRows));
  if (Editable()) Put("\n");
  Head();
  BodyStart();
  Header();
  Box0();
  Period();
  Grid();
  Annex();
  AnnexControls();
  Box3();
  End();
  return !m_missing;
}

// ---- Values ----------------------------------------------------------------

std::string CPageWriter::Stored(int box) {
  if (Blank()) return "";
  const CFieldNode* node = FindBox(box);
  if (!node) {
    m_missing = true;
    return "";
  }
  return node->value();
}

// An empty box is stored as "0" and shown empty again; only the read-only
// total to pay shows it as an amount.
std::string CPageWriter::BoxShown(int box) {
  std::string value = Stored(box);
  if (value != "0") return value;
  return ReadOnly() && box == kTotalToPayBox ? "0.00" : "";
}

std::string CPageWriter::ElementText(const char* name) {
  if (Blank()) return "";
  const CFieldNode* node = m_store->Find(name);
  if (!node) {
    m_missing = true;
    return "";
  }
  return node->value();
}

// The store keeps NUMERO with its quotes.
std::string CPageWriter::FormNumber() {
  const CFieldNode* node = m_store->Find("FORMULARIO");
  if (!node) {
    m_missing = true;
    return "";
  }
  const std::string& quoted = node->attributeValue();
  return quoted.size() < 2 ? "" : quoted.substr(1, quoted.size() - 2);
}

int CPageWriter::StoredAnnexRows() const { return m_boxes->AnnexRows(); }

int CPageWriter::AnnexRows() const { return Blank() ? kBlankAnnexRows : StoredAnnexRows(); }

// ---- Output ----------------------------------------------------------------

void CPageWriter::Put(std::string_view text) {
  if (!m_putNothing) m_page += text;
}

void CPageWriter::PutNumber(int number) {
  if (!m_putNothing) m_page += std::to_string(number);
}

void CPageWriter::PutEscaped(std::string_view value) {
  if (!m_putNothing) AppendEscaped(m_page, value);
}

void CPageWriter::PutInputOpen(const InputTag& tag) {
  Put("<input type=");
  Put(tag.type);
  Put(" name='");
  Put(tag.name);
  Put("' id='");
  Put(tag.name);
  Put("'");
  PutSpokenName(tag.name);
  auto attribute = [this](std::string_view name, std::string_view value) {
    if (value.empty()) return;
    Put(" ");
    Put(name);
    Put("='");
    Put(value);
    Put("'");
  };
  attribute("class", tag.cssClass);
  attribute("size", tag.size ? std::to_string(tag.size) : "");
  attribute("maxlength", tag.maxLength ? std::to_string(tag.maxLength) : "");
  attribute("value", tag.preset);
  attribute("onblur", tag.blurHandler);
  attribute("style", tag.style);
  if (tag.disabled) Put(" disabled");
}

CPageWriter::InputTag CPageWriter::TagOf(const InputSpec& spec) {
  return {.type = "text",
          .name = spec.name,
          .cssClass = spec.cssClass,
          .size = spec.size,
          .maxLength = spec.maxLength,
          .preset = "",
          .blurHandler = spec.blurHandler,
          .style = spec.style,
          .disabled = false};
}

// A box input; on the editable page it ends with the box's stored value.
void CPageWriter::PutBoxInput(const InputTag& tag, int box) {
  PutInputOpen(tag);
  if (Editable()) {
    Put(" value='");
    PutEscaped(BoxShown(box));
    Put("'");
  }
  Put(">");
}

// Screen readers read a field by this name: the page's own labels are table
// headings that no field is tied to.
void CPageWriter::PutSpokenName(std::string_view field) {
  if (m_putNothing) return;
  const std::string name = SpokenName(field);
  if (name.empty()) return;
  Put(" aria-label='");
  PutEscaped(name);
  Put("'");
}

// A read-only value has no field to carry a name: its cell carries the name
// with the value, so that the value is read together with what it is.
void CPageWriter::PutValueName(std::string_view field, std::string_view value) {
  if (m_putNothing) return;
  Put(" aria-label='");
  PutEscaped(SpokenValue(SpokenName(field), value));
  Put("'");
}

void CPageWriter::PutHidden(std::string_view name, std::string_view value) {
  PutInputOpen({.type = "hidden",
                .name = name,
                .cssClass = "",
                .size = 0,
                .maxLength = 0,
                .preset = value,
                .blurHandler = "",
                .style = "",
                .disabled = false});
  Put(">");
}

// Section titles are table cells that look like headings; screen readers
// list and jump between them only when they are marked as headings.
void CPageWriter::PutHeadingRole(int level) {
  Put(" role='heading' aria-level='");
  PutNumber(level);
  Put("'");
}

void CPageWriter::PutSpacerRow(int columns) {
  Put("<tr><td class='fondo' colspan='");
  PutNumber(columns);
  Put("'></td></tr>\n");
}

// ---- Head and header -------------------------------------------------------

void CPageWriter::Head() {
  Put("<html lang='es'>\n<head>\n");
  Put("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">\n");
  Put("<link rel='stylesheet' href='");
  Put(kResourcePrefix);
  Put("132' type='text/css'>\n");
  for (int number = 133; !ReadOnly() && number <= 136; ++number) {
    Put(kScriptType);
    Put(" src='");
    Put(kResourcePrefix);
    PutNumber(number);
    Put("'></script>\n");
  }
  Put("<title>");
  Put(kPageTitle);
  Put("</title>\n</head>\n");
}

void CPageWriter::BodyStart() {
  Put("<body");
  if (!ReadOnly()) Put(" onload='inicial(); inicialanexo2();'");
  Put(" oncontextmenu=\"return event.srcElement.tagName=='INPUT';\">\n");
  Put("<form name='C'>\n");
}

// The outer table is never closed, so it holds the whole form: it is the
// page's main region.
void CPageWriter::Header() {
  Put("<!-- ENCABEZADO -->\n<table role='main'><tr><td>\n");
  Put("<table cellpadding='1' border='2' width='100%'>\n");
  HeaderTitleRow();
  Put("<tr>\n");
  HeaderNumberCell();
  Put("</tr>\n");
  PutSpacerRow(4);
  Put("</table>\n");
}

void CPageWriter::HeaderTitleRow() {
  Put("<tr>\n<td class='particular' width='23%' rowspan='2'><strong><font size='8' "
      "color='DarkBlue'>");
  Put(kAdministration);
  Put("</font></strong><br><font size='1'>");
  Put(kAdministrationName);
  Put("</font></td>\n");
  Put("<td class='particular' width='53%' rowspan='2' valign='middle'");
  PutHeadingRole(1);
  Put("><strong><font size='5'>PETROLEO</font></strong><br>");
  Put(Blank() ? kTitleLineBlank : kTitleLineAccented);
  Put("<br>");
  Put(kTitleLine2);
  Put("</td>\n<td width='24%' colspan='2'><strong><font size='5'>");
  Put(kFormCode);
  Put("</font></strong><br><font size='1'>");
  Put(kRelease);
  Put("</font></td>\n</tr>\n");
}

// The blank and editable pages number the form afresh each time they load: a
// corrected declaration gets a number of its own.
void CPageWriter::HeaderNumberCell() {
  Put("<td class='particular' width='24%' colspan='2'>");
  if (ReadOnly()) {
    Put("&nbsp;<font size='3'>No. &nbsp;</font><font size='3'><strong>");
    PutEscaped(FormNumber());
    Put("</strong></font></td>\n");
    return;
  }
  PutHidden("c1", "");
  Put("<strong><font size='3'>No ");
  Put(kScriptType);
  Put(">\nif (document.C.c1.value == '') { numera_formulario(); }\n"
      "document.write(document.C.c1.value);\n</script></font></strong></td>\n");
}

// ---- Box 0: taxpayer and period ------------------------------------------

void CPageWriter::Box0() {
  Put("<!-- RECUADRO NO. 0 -->\n<table cellpadding='1' border='2' width='100%'>\n<tr>\n");
  IdentityCells();
  Put("</tr>\n</table>\n");
}

void CPageWriter::IdentityCells() {
  Put("<td class='particular' width='30%'>NIT del contribuyente<br>");
  const std::string nit = ElementText("NIT");
  if (ReadOnly()) {
    Put("<font size='4'><strong>");
    PutEscaped(nit);
    Put("</strong></font>");
  } else {
    PutInputOpen(TagOf(kNitInput));
    if (Editable()) {
      Put(" value=\"\n");
      PutEscaped(nit);
      Put("\"");
    }
    Put(">");
  }
  Put("</td>\n<td class='particular' width='70%'>Nombre o raz\xF3n social del contribuyente<br>");
  Put("<strong><font size='3'>");
  const std::string name = ElementText("NOMBRE");
  if (ReadOnly()) {
    PutEscaped(name);
  } else {
    PutInputOpen(TagOf(kNameInput));
    // Written straight after the style attribute, as the form always has.
    if (Editable()) {
      Put("value=\"\n");
      PutEscaped(name);
      Put("\"");
    }
    Put(">");
  }
  Put("</font></strong></td>\n");
}

void CPageWriter::Period() {
  Put("<table cellpadding='1' border='2' width='100%'>\n");
  PutSpacerRow(7);
  Put("<tr><td class='fondo' width='30%' rowspan='3'></td>"
      "<td width='13%' rowspan='3' role='heading' aria-level='2'>PERIODO<br>DE<br>IMPOSICION</td>"
      "<td width='5%'></td>"
      "<td width='6%'>D\xED"
      "a</td><td width='6%'>Mes</td><td width='10%'>A\xF1"
      "o</td>"
      "<td class='fondo' width='30%' rowspan='3'></td></tr>\n");
  PeriodRow("Del", 0);
  PeriodRow("Al", 3);
  PutSpacerRow(7);
  Put("</table>\n");
}

void CPageWriter::PeriodRow(const char* label, int firstField) {
  Put("<tr><td width='5%'>");
  Put(label);
  Put("</td>\n");
  for (int i = firstField; i < firstField + 3; ++i) PeriodCell(kPeriodFields[i]);
  Put("</tr>\n");
}

void CPageWriter::PeriodCell(const PeriodField& field) {
  const std::string part = DatePartOf(ElementText(field.storeElement), field.part);
  if (ReadOnly()) {
    Put("<td class=der");
    PutValueName(field.name, part);
    Put("><strong>");
    PutEscaped(part);
    Put("</strong></td>\n");
    return;
  }
  Put("<td>");
  PutInputOpen({.type = "text",
                .name = field.name,
                .cssClass = field.readOnlyLook ? "lectura" : "",
                .size = field.size,
                .maxLength = field.maxLength,
                .preset = field.preset,
                .blurHandler = kPeriodBlurHandler,
                .style = kPeriodStyle,
                .disabled = field.readOnlyLook});
  // dia_ini keeps its preset "01" as the first value attribute, which is the
  // one that counts: the period always starts on the first.
  if (Editable()) {
    Put(" value='");
    PutEscaped(part);
    Put("'");
  }
  Put(">");
  if (std::string_view(field.name) == "anio_fin") PeriodDates();
  Put("</td>\n");
}

// c4 and c5 hold the period as the page scripts check it on Validar (day/
// month/year). The page fills them only when a period input is left, so a
// reopened declaration carries them filled: it can be validated unchanged.
void CPageWriter::PeriodDates() {
  for (const char* element : {"PERIODO_DESDE", "PERIODO_HASTA"}) {
    const bool from = element == std::string_view("PERIODO_DESDE");
    PutInputOpen({.type = "hidden",
                  .name = from ? "c4" : "c5",
                  .cssClass = "",
                  .size = 0,
                  .maxLength = 0,
                  .preset = "",
                  .blurHandler = "",
                  .style = "",
                  .disabled = false});
    if (Editable()) {
      const std::string date = ElementText(element);
      Put(" value='");
      PutEscaped(DatePartOf(date, DatePart::kDay) + "/" + DatePartOf(date, DatePart::kMonth) + "/" +
                 DatePartOf(date, DatePart::kYear));
      Put("'");
    }
    Put(">");
  }
}

// ---- Box 1: movement grid --------------------------------------------------

void CPageWriter::Grid() {
  Put("<!-- RECUADRO NO. 1 -->\n<table cellpadding='1' border='2' width='100%'>\n");
  Put("<tr><td colspan='10' align='center'");
  PutHeadingRole(2);
  Put("><strong>DETALLE MOVIMIENTO EN GALONES</strong></td></tr>\n");
  GridHeadings();
  for (int row = 1; row <= kGridRowCount; ++row) GridRowCells(row);
  PutSpacerRow(10);
  Put("</table>\n");
}

void CPageWriter::GridHeadings() {
  Put("<tr><td colspan='2' rowspan='2'>");
  Put(kGridFirstHeading);
  Put("</td>");
  for (const GridHeading& heading : kGridTopHeadings) {
    if (heading.columns == 2) {
      Put("<td colspan='2' align='center'>");
    } else {
      Put(ReadOnly() ? "<td rowspan='2'>" : "<td rowspan='2' width='10%'>");
    }
    Put(heading.text);
    Put("</td>");
  }
  Put("</tr>\n<tr>");
  for (const char* heading : kGridSubHeadings) {
    Put("<td>");
    Put(heading);
    Put("</td>");
  }
  Put("</tr>\n");
}

void CPageWriter::GridRowCells(int row) {
  const GridRow& label = kGridRows[row - 1];
  Put("<tr><td");
  if (*label.labelClass) {
    Put(" class='");
    Put(label.labelClass);
    Put("'");
  }
  Put(" colspan='2'>");
  Put(label.label);
  Put("</td>\n");
  for (int column = 1; column <= kGridColumnCount; ++column) GridCell(row, column);
  Put("</tr>\n");
}

void CPageWriter::GridCell(int row, int column) {
  const int box = GridBox(row, column);
  const std::string name = BoxFieldName(box);
  if (ReadOnly()) {
    const std::string value = BoxShown(box);
    Put("<td class=der");
    PutValueName(name, value);
    Put("><strong>&nbsp;");
    PutEscaped(value);
    Put("</strong></td>\n");
    return;
  }
  const std::string handler = "validaciones(" + name + ")";
  Put("<td width='");
  PutNumber(GridCellWidth(row, column));
  Put("%'>");
  PutBoxInput({.type = "text",
               .name = name,
               .cssClass = GridBoxClass(box),
               .size = kGridInputSize,
               .maxLength = HasMaxLength(box) ? kGridMaxLength : 0,
               .preset = "",
               .blurHandler = handler,
               .style = "",
               .disabled = false},
              box);
  Put("</td>\n");
}

// ---- Box 1: exempt-sales annex ---------------------------------------------

void CPageWriter::Annex() {
  Put("<table id='tabla1' cellpadding='1' border='2'");
  if (!ReadOnly()) AnnexNameTemplates();
  Put(">\n");
  Put(ReadOnly() ? "<tr><td colspan='4' align='center'" : "<tr><td colspan='7' align='center'");
  PutHeadingRole(2);
  Put("><strong>VENTAS TOTALES EXENTAS</strong></td></tr>\n");
  AnnexHeadings();
  AnnexBody();
  AnnexFooter();
  Put("</table>\n");
}

// The page scripts name the rows they add from these, by the rule that named
// the rows written here.
void CPageWriter::AnnexNameTemplates() {
  for (int column = 1; column <= kAnnexColumnCount; ++column) {
    Put(" ");
    Put(AnnexTemplateAttribute(column));
    Put("='");
    PutEscaped(AnnexSpokenTemplate(column));
    Put("'");
  }
}

void CPageWriter::AnnexHeadings() {
  if (ReadOnly()) {
    Put("<tr><td width='3%'></td><td width='25%'>NIT</td><td width='25%'>Cantidad de Galones "
        "Exentos </td><td width='47%'>Tipo de Producto       </td></tr>\n");
    return;
  }
  Put("<tr><td></td><td width='15%'>NIT</td><td width='16%'>Cantidad de Galones Exentos </td>"
      "<td width='14%'>Tipo de Producto       </td></tr>\n");
}

void CPageWriter::AnnexBody() {
  Put("<tbody id='cuerpo1'>\n  <tr></tr>\n");
  if (Editable()) {
    // The page scripts start from the rows written here.
    char line[128];
    std::snprintf(line, sizeof line, kAnnexScriptFormat, m_annexRows, m_annexRows);
    Put(line);
  }
  for (int row = 1; row <= m_annexRows; ++row) {
    if (ReadOnly()) {
      AnnexTextRow(row);
    } else {
      AnnexInputRow(row);
    }
  }
  Put("</tbody>\n");
}

void CPageWriter::AnnexInputRow(int row) {
  Put("  <tr><td width='3%'>");
  PutNumber(row);
  Put("</td>\n");
  for (int column = 1; column <= 2; ++column) {
    const std::string name = AnnexFieldName(row, column);
    Put(column == 1 ? "<td width='" : "</td><td width='");
    Put(kAnnexColumns[column - 1].cellWidth);
    Put("'><input type=text name='");
    Put(name);
    Put("' id='");
    Put(name);
    Put("'");
    PutSpokenName(name);
    Put(" value='");
    PutEscaped(Stored(AnnexBoxId(row, column)));
    Put("' onblur='");
    Put(kAnnexColumns[column - 1].blurHandler);
    Put("' size='9' maxlength='50'>\n");
  }
  AnnexProductList(row);
  Put("</tr>\n");
}

// The stored product is chosen only when it is exactly one of the list's;
// anything else leaves the empty choice.
void CPageWriter::AnnexProductList(int row) {
  const std::string name = AnnexFieldName(row, 3);
  const std::string stored = Stored(AnnexBoxId(row, 3));
  Put("</td><td width='");
  Put(kAnnexColumns[2].cellWidth);
  Put("'><select name='");
  Put(name);
  Put("' id='");
  Put(name);
  Put("'");
  PutSpokenName(name);
  Put(" onblur='");
  Put(kAnnexColumns[2].blurHandler);
  Put("'><option value=''></option>\n");
  for (const char* product : kAnnexProducts) {
    Put("<option value='");
    Put(product);
    Put("'");
    if (stored == product) Put(" selected");
    Put(">");
    Put(product);
    Put("</option>\n");
  }
  Put("</select></td>\n");
}

void CPageWriter::AnnexTextRow(int row) {
  const std::string nit = Stored(AnnexBoxId(row, 1));
  const std::string gallons = Stored(AnnexBoxId(row, 2));
  const std::string product = Stored(AnnexBoxId(row, 3));
  Put("  <tr><td>");
  PutNumber(row);
  Put("</td>\n<td");
  PutValueName(AnnexFieldName(row, 1), nit);
  Put("><strong>");
  PutEscaped(nit);
  Put("</strong></td><td class=der");
  PutValueName(AnnexFieldName(row, 2), gallons);
  Put("><strong>&nbsp;");
  PutEscaped(gallons);
  Put("</strong></td><td nowrap class=izq");
  PutValueName(AnnexFieldName(row, 3), product);
  Put("><strong>");
  PutEscaped(product);
  Put("</strong></td>\n</tr>\n");
}

void CPageWriter::AnnexFooter() {
  Put("<tr><td><strong>TOTALES</strong></td><td></td>");
  if (ReadOnly()) {
    const std::string total = BoxShown(kAnnexTotalBox);
    Put("<td class=der");
    PutValueName(BoxFieldName(kAnnexTotalBox), total);
    Put("><strong>&nbsp;");
    PutEscaped(total);
    Put("</strong></td>");
  } else {
    Put("<td>");
    PutBoxInput(TagOf(kAnnexTotalInput), kAnnexTotalBox);
    Put("</td>");
  }
  Put("<td></td></tr>\n");
}

// The read-only page keeps the table for its spacer row only.
void CPageWriter::AnnexControls() {
  Put("<table border='2' cellspacing='0' cellpadding='2'>\n");
  if (!ReadOnly()) {
    Put("<tr><td class='der' width='30%'>");
    PutInputOpen({.type = "text",
                  .name = "renglones1",
                  .cssClass = "",
                  .size = 5,
                  .maxLength = 4,
                  .preset = "",
                  .blurHandler = "",
                  .style = "",
                  .disabled = false});
    Put(">");
    Put(kNbsp5);
    Put("<input type=button name='botonanexo1' id='botonanexo1' value='Agregar renglones' "
        "onclick='anexa(C.renglones1,1);'>");
    PutHidden("nrenglon1", "0");
    // The page scripts assemble the declaration from this many annex rows:
    // a reopened declaration starts with every row it holds.
    PutHidden("trenglon1", std::to_string(m_annexRows));
    Put("</td><td width='70%'></td></tr>\n");
  }
  PutSpacerRow(2);
  Put("</table>\n<!-- FIN RECUADRO NO. 1 -->\n");
}

// ---- Box 3: settlement -------------------------------------------------------

void CPageWriter::Box3() {
  Put("<!-- RECUADRO NO. 3 -->\n<table cellpadding='1' border='2' width='100%'>\n");
  Put("<tr><td colspan='2'");
  PutHeadingRole(2);
  Put(">RECTIFICACIONES (llenar exclusivamente en caso de ser esta una "
      "rectificaci\xF3n)</td></tr>\n");
  SettlementRow(kSettlementBoxes[0]);
  PutSpacerRow(2);
  Put("<tr><td colspan='2'");
  PutHeadingRole(2);
  Put(">MULTA</td></tr>\n");
  SettlementRow(kSettlementBoxes[1]);
  PutSpacerRow(2);
  SettlementRow(kSettlementBoxes[2]);
  PutSpacerRow(2);
  SwornStatements();
  Put("</table>\n<!-- FIN RECUADRO NO. 3 -->\n");
}

void CPageWriter::SettlementRow(const SettlementBox& box) {
  const int number = box.box;
  const bool total = number == kTotalToPayBox;
  Put(ReadOnly() ? "<tr><td class='izq' width='70%'>" : "<tr><td class='izq'>");
  if (total) Put("<strong><font size='2'>");
  Put(box.label);
  if (total) Put("</font></strong>");
  Put("</td>");
  if (ReadOnly()) {
    const std::string value = BoxShown(number);
    Put("<td width='30%' class=der");
    PutValueName(box.input.name, value);
    Put(">");
    Put(total ? "<font size='4'><strong>&nbsp;" : "<strong>&nbsp;");
    PutEscaped(value);
    Put(total ? "</font></strong>" : "</strong>");
  } else {
    Put("<td>");
    PutBoxInput(TagOf(box.input), number);
  }
  Put("</td></tr>\n");
}

void CPageWriter::SwornStatements() {
  Put("<tr><td class='izq' colspan='2'>A)&nbsp;&nbsp;Los documentos de soporte han sido "
      "elaborados y certificados de acuerdo a la ley, permanecer\xE1n en mi poder por el "
      "plazo<br>");
  Put(kNbsp5);
  Put("legalmente establecido y los exhibir\xE9 y presentar\xE9 a requerimiento de la RTQ<br>");
  Put("B)&nbsp;&nbsp;Declaro y juro que son verdaderos los datos contenidos en este formulario y "
      "que conozco la pena correspondiente al delito de<br>");
  Put(kNbsp5);
  Put("perjurio</td></tr>\n");
}

void CPageWriter::End() {
  Put("<p>");
  if (!ReadOnly()) {
    Put("<input type=button name='validar' id='validar' style='height=40; FONT-FAMILY: "
        "verdana; FONT-SIZE: medium' value='    Validar   ' onclick='");
    Put(Editable() ? kValidarEditable : kValidarBlank);
    Put("'>");
  }
  Put("</p>\n</form>\n</body>\n</html>\n");
}

}  // namespace f7301
