// Consultar: the read-only page of a stored declaration.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "formpage/page_builders.h"
#include "formpage/page_writer.h"
#include "tests/unit/stored_page_support.h"

namespace f7301 {
namespace {

using testing::Between;
using testing::Count;
using testing::Has;
using testing::ReadDeclaration;
using testing::SampleDeclaration;

std::string ReadOnlyPage(const SampleDeclaration& d) {
  auto reader = ReadDeclaration(d);
  std::string page;
  EXPECT_TRUE(BuildReadOnlyPage(reader->store(), page));
  return page;
}

// The text shown in grid box `box` (6 to 117).
std::string GridCell(const std::string& page, int box) {
  const std::string cell = "<td class=der aria-label=";
  const std::string text = "><strong>&nbsp;";
  auto at = page.find(cell, page.find("DETALLE MOVIMIENTO"));
  for (int i = 6; i < box && at != std::string::npos; ++i) at = page.find(cell, at + 1);
  if (at == std::string::npos) return "<missing>";
  at = page.find(text, at) + text.size();
  return page.substr(at, page.find("</strong>", at) - at);
}

std::string AnnexRows(const std::string& page) {
  return Between(page, "<tbody id='cuerpo1'>\n", "</tbody>");
}

TEST(ReadOnlyPageValues, ZeroBoxesShowEmptyAndAmountsAsStored) {
  SampleDeclaration d;
  d.boxes[7] = "0.00";
  d.boxes[57] = "125.50";
  d.boxes[1620] = "100.00";
  const std::string page = ReadOnlyPage(d);
  EXPECT_EQ(GridCell(page, 6), "");
  EXPECT_EQ(GridCell(page, 7), "0.00");
  EXPECT_EQ(GridCell(page, 57), "125.50");
  EXPECT_EQ(GridCell(page, 117), "");
  EXPECT_TRUE(Has(page, "<strong>&nbsp;100.00</strong>"));
}

TEST(ReadOnlyPageValues, TotalToPayZeroShowsAsAnAmount) {
  SampleDeclaration d;
  std::string page = ReadOnlyPage(d);
  EXPECT_TRUE(Has(page, "<font size='4'><strong>&nbsp;0.00</font></strong>"));
  d.boxes[1621] = "125.50";
  page = ReadOnlyPage(d);
  EXPECT_TRUE(Has(page, "<font size='4'><strong>&nbsp;125.50</font></strong>"));
}

TEST(ReadOnlyPageValues, IdentityNumberAndPeriod) {
  SampleDeclaration d;
  d.desde = "20110301";
  d.hasta = "20110331";
  const std::string page = ReadOnlyPage(d);
  EXPECT_TRUE(
      Has(page, "<font size='3'>No. &nbsp;</font><font size='3'><strong>10203045</strong>"));
  EXPECT_TRUE(Has(page, "<font size='4'><strong>12345679</strong></font>"));
  EXPECT_TRUE(Has(page, "<strong><font size='3'>ESTACION DE SERVICIO EL PROGRESO</font></strong>"));
  EXPECT_TRUE(Has(page,
                  "Del</td>\n<td class=der aria-label='Periodo del, d\xED"
                  "a: 01'><strong>01</strong></td>\n"
                  "<td class=der aria-label='Periodo del, mes: 03'><strong>03</strong></td>\n"
                  "<td class=der aria-label='Periodo del, a\xF1o: 2011'><strong>2011</strong>"));
  EXPECT_TRUE(Has(page,
                  "Al</td>\n<td class=der aria-label='Periodo al, d\xED"
                  "a: 31'><strong>31</strong></td>\n"
                  "<td class=der aria-label='Periodo al, mes: 03'><strong>03</strong></td>\n"
                  "<td class=der aria-label='Periodo al, a\xF1o: 2011'><strong>2011</strong>"));
}

TEST(ReadOnlyPageValues, ShortFormNumberAndShortPeriodGiveEmptyParts) {
  CFieldList store;
  auto reader = ReadDeclaration(SampleDeclaration{});
  testing::CopyWithoutElement(reader->store(), "PERIODO_DESDE", store);
  store.Add("PERIODO_DESDE", "2011", "", "");
  store.Add("FORMULARIO", "", "NUMERO", "\"");
  std::string page;
  ASSERT_TRUE(BuildReadOnlyPage(store, page));
  EXPECT_TRUE(Has(page, "No. &nbsp;</font><font size='3'><strong></strong>"));
  EXPECT_TRUE(Has(page,
                  "Del</td>\n<td class=der aria-label='Periodo del, d\xED"
                  "a'><strong></strong></td>\n"
                  "<td class=der aria-label='Periodo del, mes'><strong></strong></td>\n"
                  "<td class=der aria-label='Periodo del, a\xF1o: 2011'><strong>2011</strong>"));
}

TEST(ReadOnlyPageValues, LongNameIsKeptWhole) {
  SampleDeclaration d;
  d.nombre = std::string(299, 'N') + "Z";
  const std::string page = ReadOnlyPage(d);
  EXPECT_TRUE(Has(page, "<font size='3'>" + d.nombre + "</font>"));
}

TEST(ReadOnlyPageAnnex, RowsAsStoredZeroIncluded) {
  SampleDeclaration d;
  d.annex = {{"12345679", "0", "DIESEL"}, {"19", "10.50", "asfaltos"}};
  const std::string rows = AnnexRows(ReadOnlyPage(d));
  EXPECT_EQ(rows,
            "  <tr></tr>\n"
            "  <tr><td>1</td>\n"
            "<td aria-label='Anexo, rengl\xF3n 1, NIT del comprador: 12345679'><strong>12345679"
            "</strong></td><td class=der aria-label='Anexo, rengl\xF3n 1, Cantidad de galones "
            "exentos: 0'><strong>&nbsp;0</strong></td><td nowrap class=izq aria-label='Anexo, "
            "rengl\xF3n 1, Tipo de producto: DIESEL'><strong>DIESEL</strong></td>\n</tr>\n"
            "  <tr><td>2</td>\n"
            "<td aria-label='Anexo, rengl\xF3n 2, NIT del comprador: 19'><strong>19</strong></td>"
            "<td class=der aria-label='Anexo, rengl\xF3n 2, Cantidad de galones exentos: 10.50'>"
            "<strong>&nbsp;10.50</strong></td><td nowrap class=izq aria-label='Anexo, "
            "rengl\xF3n 2, Tipo de producto: asfaltos'><strong>asfaltos</strong></td>\n</tr>\n");
}

TEST(ReadOnlyPageAnnex, AGapEndsTheRowsShown) {
  SampleDeclaration d;
  // Row 2 was left without a NIT: its ids 121 to 123 were never written.
  d.annex = {{"12345679", "1.00", "DIESEL"}, {"", "2.00", "NAFTA"}, {"19", "3.00", "NAFTA"}};
  const std::string rows = AnnexRows(ReadOnlyPage(d));
  EXPECT_EQ(Count(rows, "<tr><td>"), 1u);
  EXPECT_FALSE(Has(rows, "3.00"));
}

TEST(ReadOnlyPageAnnex, NoAnnexRowsIsStillAPage) {
  SampleDeclaration d;
  auto reader = ReadDeclaration(d);
  std::string page;
  EXPECT_TRUE(BuildReadOnlyPage(reader->store(), page));
  EXPECT_EQ(AnnexRows(page), "  <tr></tr>\n");
}

TEST(ReadOnlyPageAnnex, FiveHundredRowsThenTheTotalInTheFooter) {
  const SampleDeclaration d = testing::FullSample(500);
  const std::string page = ReadOnlyPage(d);
  const std::string rows = AnnexRows(page);
  EXPECT_EQ(Count(rows, "  <tr><td>"), 500u);
  EXPECT_TRUE(Has(rows, "  <tr><td>500</td>"));
  const std::string footer = Between(page, "</tbody>\n", "</table>");
  EXPECT_EQ(footer,
            "<tr><td><strong>TOTALES</strong></td><td></td><td class=der aria-label='Anexo, total "
            "de galones exentos, casilla 1618: 9999999999.99'><strong>&nbsp;"
            "9999999999.99</strong></td><td></td></tr>\n");
  EXPECT_TRUE(Has(page, "</html>"));
}

TEST(ReadOnlyPageMissing, AnyMissingValueFailsWithNoPage) {
  auto reader = ReadDeclaration(testing::FullSample(3));
  for (int box : {6, 57, 117, 119, 1618, 1619, 1620, 1621}) {
    CFieldList store;
    testing::CopyWithoutBox(reader->store(), box, store);
    std::string page = "old";
    EXPECT_FALSE(BuildReadOnlyPage(store, page)) << box;
    EXPECT_EQ(page, "") << box;
  }
  for (const char* element : {"FORMULARIO", "NIT", "NOMBRE", "PERIODO_DESDE", "PERIODO_HASTA"}) {
    CFieldList store;
    testing::CopyWithoutElement(reader->store(), element, store);
    std::string page;
    EXPECT_FALSE(BuildReadOnlyPage(store, page)) << element;
  }
}

// The register asks only whether the page could be written: the answer is
// the page's own, whatever box or element is missing.
TEST(ReadOnlyPageComplete, SaysWhatWritingThePageSays) {
  auto reader = ReadDeclaration(testing::FullSample(3));
  std::vector<const CFieldNode*> nodes;
  for (const CFieldNode* n = reader->store().head(); n; n = n->next()) nodes.push_back(n);
  int incomplete = 0;
  std::set<std::string> namesTried;
  for (const CFieldNode* node : nodes) {
    for (const bool byBox : {true, false}) {
      if (byBox && node->attributeValue().size() < 3) continue;
      if (!byBox && !namesTried.insert(node->name()).second) continue;
      CFieldList store;
      if (byBox) {
        const std::string& quoted = node->attributeValue();
        const std::string number = quoted.substr(1, quoted.size() - 2);
        if (number.find_first_not_of("0123456789") != std::string::npos) continue;
        testing::CopyWithoutBox(reader->store(), std::stoi(number), store);
      } else {
        testing::CopyWithoutElement(reader->store(), node->name(), store);
      }
      std::string page;
      const bool written = BuildReadOnlyPage(store, page);
      EXPECT_EQ(ReadOnlyPageComplete(store, CStoredBoxes(store)), written)
          << node->name() << " " << node->attributeValue() << (byBox ? " (box)" : "");
      if (!written) ++incomplete;
    }
  }
  EXPECT_GT(incomplete, 100);  // most boxes are needed: the check was put to work
  EXPECT_TRUE(ReadOnlyPageComplete(reader->store(), CStoredBoxes(reader->store())));
}

TEST(ReadOnlyPageMarkup, NoInputsScriptsOrButtons) {
  const std::string page = ReadOnlyPage(testing::FullSample(5));
  for (const char* piece : {"<input", "<select", "<script", "onload", "onblur", "onclick",
                            "res://Formulario7301.exe/#23/#133"}) {
    EXPECT_FALSE(Has(page, piece)) << piece;
  }
  EXPECT_TRUE(Has(page, "href='res://Formulario7301.exe/#23/#132'"));
  EXPECT_TRUE(Has(page, "<body oncontextmenu=\"return event.srcElement.tagName=='INPUT';\">"));
  EXPECT_TRUE(Has(page, "distribuci\xF3n de petr\xF3leo crudo"));
  EXPECT_TRUE(Has(page, "<p></p>\n</form>\n</body>\n</html>"));
  EXPECT_EQ(page.rfind("<html lang='es'>", 0), 0u);
}

// Stored values are shown as typed: a quote, "<" or "&" can neither end an
// attribute nor add markup.
TEST(ReadOnlyPageMarkup, ValuesAreEscaped) {
  CFieldList store;
  auto reader = ReadDeclaration(testing::FullSample(1));
  testing::CopyWithoutBox(reader->store(), 1619, store);
  store.Add("NIT", "1\"2'<b>&", "", "");
  store.Add("NOMBRE", "A & B <script>alert(1)</script>", "", "");
  store.Add("CASILLA", "<i>7301", "ID", "\"1619\"");
  store.Add("CASILLA", "x'y\"z", "ID", "\"118\"");
  std::string page;
  ASSERT_TRUE(BuildReadOnlyPage(store, page));
  EXPECT_TRUE(Has(page, "<strong>1&quot;2&#39;&lt;b&gt;&amp;</strong>"));
  EXPECT_TRUE(Has(page, "A &amp; B &lt;script&gt;alert(1)&lt;/script&gt;"));
  EXPECT_TRUE(Has(page, "&nbsp;&lt;i&gt;7301</strong>"));
  EXPECT_TRUE(Has(page, "><strong>x&#39;y&quot;z</strong>"));
  // The value read with its name is escaped too: it cannot end the name.
  EXPECT_TRUE(Has(page, "NIT del comprador: x&#39;y&quot;z'><strong>"));
  EXPECT_TRUE(Has(page, "casilla 1619: &lt;i&gt;7301'><strong>"));
  EXPECT_FALSE(Has(page, "<script>"));
  EXPECT_FALSE(Has(page, "<i>"));
}

}  // namespace
}  // namespace f7301
