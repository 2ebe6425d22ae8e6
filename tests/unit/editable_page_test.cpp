// Modificar: the editable page of a stored declaration.
#include <gtest/gtest.h>

#include <string>

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

std::string EditablePage(const SampleDeclaration& d) {
  auto reader = ReadDeclaration(d);
  std::string page;
  EXPECT_TRUE(BuildEditablePage(reader->store(), page));
  return page;
}

// The open tag of the element named `name`.
std::string Tag(const std::string& page, const std::string& name) {
  const auto at = page.find("name='" + name + "'");
  if (at == std::string::npos) return "<missing>";
  const auto start = page.rfind('<', at);
  return page.substr(start, page.find('>', at) + 1 - start);
}

std::string Option(const std::string& product, bool selected) {
  return "<option value='" + product + "'" + (selected ? " selected" : "") + ">" + product +
         "</option>\n";
}

TEST(EditablePageValues, ZeroBoxesGiveEmptyFieldsTotalToPayIncluded) {
  SampleDeclaration d;
  d.boxes[7] = "0.00";
  d.boxes[57] = "125.50";
  const std::string page = EditablePage(d);
  EXPECT_EQ(Tag(page, "c6"),
            "<input type=text name='c6' id='c6' aria-label='Gasolina superior, Saldo Inicial, "
            "casilla 6' size='7' maxlength='14' "
            "onblur='validaciones(c6)' value=''>");
  EXPECT_TRUE(Has(Tag(page, "c7"), " value='0.00'>"));
  EXPECT_TRUE(Has(Tag(page, "c57"), " value='125.50'>"));
  EXPECT_EQ(Tag(page, "c1621"),
            "<input type=text name='c1621' id='c1621' aria-label='Total a pagar, casilla 1621' "
            "class='resaltado' "
            "onblur='validaciones(c1621)' value=''>");
  EXPECT_EQ(Tag(page, "c1618"),
            "<input type=text name='c1618' id='c1618' aria-label='Anexo, total de galones "
            "exentos, casilla 1618' class='lectura' size='10' "
            "onblur='validaciones(c1618)' value=''>");
}

TEST(EditablePageValues, IdentityAndPeriodFields) {
  SampleDeclaration d;
  d.desde = "20110301";
  d.hasta = "20110331";
  const std::string page = EditablePage(d);
  EXPECT_TRUE(Has(Tag(page, "c2"), "style='TEXT-ALIGN: center' value=\"\n12345679\">"));
  EXPECT_TRUE(Has(Tag(page, "c3"),
                  "style='TEXT-ALIGN: center'value=\"\nESTACION DE SERVICIO EL PROGRESO\">"));
  // The preset day comes first and is the one the browser keeps.
  EXPECT_TRUE(Has(Tag(page, "dia_ini"), "value='01' onblur="));
  EXPECT_TRUE(Has(Tag(page, "dia_ini"), " disabled value='01'>"));
  EXPECT_TRUE(Has(Tag(page, "mes_ini"), " value='03'>"));
  EXPECT_TRUE(Has(Tag(page, "anio_ini"), " value='2011'>"));
  EXPECT_TRUE(Has(Tag(page, "dia_fin"), " disabled value='31'>"));
  EXPECT_TRUE(Has(Tag(page, "mes_fin"), " value='03'>"));
  EXPECT_TRUE(Has(Tag(page, "anio_fin"), " value='2011'>"));
  // The period the scripts check on Validar is there without retyping it.
  EXPECT_EQ(Tag(page, "c4"), "<input type=hidden name='c4' id='c4' value='01/03/2011'>");
  EXPECT_EQ(Tag(page, "c5"), "<input type=hidden name='c5' id='c5' value='31/03/2011'>");
}

TEST(EditablePageValues, FormIsNumberedAfresh) {
  const std::string page = EditablePage(SampleDeclaration{});
  EXPECT_EQ(Tag(page, "c1"), "<input type=hidden name='c1' id='c1'>");
  EXPECT_FALSE(Has(page, "10203045"));
  EXPECT_TRUE(Has(page, "numera_formulario()"));
}

TEST(EditablePageAnnex, StoredRowsBecomeRowsAndScriptState) {
  SampleDeclaration d;
  d.annex = {{"12345679", "0", "DIESEL"}, {"19", "10.50", "NAFTA"}, {"6K", "1.00", "ASFALTOS"}};
  const std::string page = EditablePage(d);
  EXPECT_TRUE(Has(page,
                  "<tbody id='cuerpo1'>\n  <tr></tr>\n\t<script language='JavaScript'> "
                  "VANEXOSINICIALES[1] = 3; ANEXO[1]=3; </script>\n  <tr><td width='3%'>1"));
  EXPECT_EQ(Tag(page, "f11c1"),
            "<input type=text name='f11c1' id='f11c1' aria-label='Anexo, rengl\xF3n 1, NIT del "
            "comprador' value='12345679' "
            "onblur='validacionesobjetoanexo(this.name,1,poscol(this.name));validanit(this);' "
            "size='9' maxlength='50'>");
  EXPECT_TRUE(Has(Tag(page, "f11c2"), "value='0' onblur="));
  EXPECT_TRUE(Has(Tag(page, "f12c2"), "value='10.50' onblur="));
  EXPECT_TRUE(Has(page, "name='f13c3'"));
  EXPECT_FALSE(Has(page, "name='f14c1'"));
  EXPECT_EQ(Tag(page, "trenglon1"),
            "<input type=hidden name='trenglon1' id='trenglon1' value='3'>");
}

TEST(EditablePageAnnex, NoStoredRows) {
  const std::string page = EditablePage(SampleDeclaration{});
  EXPECT_TRUE(Has(page, "VANEXOSINICIALES[1] = 0; ANEXO[1]=0;"));
  EXPECT_FALSE(Has(page, "name='f11c1'"));
  EXPECT_EQ(Tag(page, "trenglon1"),
            "<input type=hidden name='trenglon1' id='trenglon1' value='0'>");
}

// The page scripts assemble the new declaration from trenglon1 rows, so it
// must name every row the page holds.
TEST(EditablePageAnnex, RowCountForTheNewDeclarationIsTheRowsHeld) {
  for (int rows : {2, 20}) {
    const std::string page = EditablePage(testing::FullSample(rows));
    EXPECT_TRUE(Has(Tag(page, "trenglon1"), "value='" + std::to_string(rows) + "'")) << rows;
    EXPECT_TRUE(Has(page, "name='" + AnnexFieldName(rows, 3) + "'")) << rows;
    EXPECT_FALSE(Has(page, "name='" + AnnexFieldName(rows + 1, 1) + "'")) << rows;
  }
}

TEST(EditablePageAnnex, ProductIsSelectedOnlyByExactText) {
  SampleDeclaration d;
  d.annex = {{"1", "1", "ASFALTOS"},
             {"2", "2", "asfaltos"},
             {"3", "3", "GAS LICUADO DE PETROLEO A GRANEL"}};
  const std::string page = EditablePage(d);
  const std::string row1 = Between(page, "name='f11c3'", "</select>");
  EXPECT_TRUE(Has(row1, Option("ASFALTOS", true)));
  EXPECT_EQ(Count(row1, " selected"), 1u);
  for (const char* row : {"name='f12c3'", "name='f13c3'"}) {
    EXPECT_EQ(Count(Between(page, row, "</select>"), " selected"), 0u) << row;
  }
}

TEST(EditablePageAnnex, FiveHundredFullRowsMakeAWholePage) {
  const std::string page = EditablePage(testing::FullSample(500));
  EXPECT_GT(page.size(), 500000u);
  EXPECT_TRUE(Has(page, "VANEXOSINICIALES[1] = 500; ANEXO[1]=500;"));
  EXPECT_EQ(Count(page, "<select name='f1"), 500u);
  EXPECT_TRUE(Has(Tag(page, "f1500c2"), "value='9999999999.99'"));
  EXPECT_TRUE(Has(Tag(page, "trenglon1"), "value='500'"));
  EXPECT_EQ(page.substr(page.size() - 16), "</body>\n</html>\n");
}

TEST(EditablePageMissing, AnyMissingValueFailsWithNoPage) {
  auto reader = ReadDeclaration(testing::FullSample(3));
  for (int box : {6, 57, 119, 126, 1618, 1621}) {
    CFieldList store;
    testing::CopyWithoutBox(reader->store(), box, store);
    std::string page = "old";
    EXPECT_FALSE(BuildEditablePage(store, page)) << box;
    EXPECT_EQ(page, "") << box;
  }
  for (const char* element : {"NIT", "NOMBRE", "PERIODO_DESDE", "PERIODO_HASTA"}) {
    CFieldList store;
    testing::CopyWithoutElement(reader->store(), element, store);
    std::string page;
    EXPECT_FALSE(BuildEditablePage(store, page)) << element;
  }
  // The editable page does not show the stored form number.
  CFieldList store;
  testing::CopyWithoutElement(reader->store(), "FORMULARIO", store);
  std::string page;
  EXPECT_TRUE(BuildEditablePage(store, page));
}

TEST(EditablePageMarkup, BlankPageWithTheCorrectionDifferences) {
  const std::string page = EditablePage(testing::FullSample(3));
  EXPECT_EQ(page.rfind("\n<html lang='es'>\n", 0), 0u);
  EXPECT_TRUE(Has(page, "distribuci\xF3n de petr\xF3leo crudo"));
  EXPECT_TRUE(Has(page,
                  "onclick='validaanexo2(); if (valida_c1618() && valida_formulario()) {  "
                  "validaarchivoanexo()  } '"));
  EXPECT_FALSE(Has(page, "(valida_c1620())"));
  EXPECT_TRUE(Has(page, "valida_c1620();"));  // still checked when c1620 is left
  // Apart from values and those differences, it is the blank page.
  std::string blank = WriteBlankPage();
  EXPECT_EQ(Between(page, "<!-- RECUADRO NO. 1 -->", "DETALLE"),
            Between(blank, "<!-- RECUADRO NO. 1 -->", "DETALLE"));
  EXPECT_EQ(Between(page, "<head>", "</head>"), Between(blank, "<head>", "</head>"));
}

TEST(EditablePageMarkup, ValuesAreEscaped) {
  CFieldList store;
  auto reader = ReadDeclaration(testing::FullSample(1));
  testing::CopyWithoutBox(reader->store(), 118, store);
  store.Add("NIT", "1\"2'<b>&", "", "");
  store.Add("NOMBRE", "O'BRIEN \"EL\" <script>alert(1)</script>", "", "");
  store.Add("CASILLA", "1' onfocus='alert(1)", "ID", "\"6\"");
  store.Add("CASILLA", "x'y\"z&", "ID", "\"118\"");
  store.Add("PERIODO_DESDE", "2011'3\"", "", "");
  std::string page;
  ASSERT_TRUE(BuildEditablePage(store, page));
  EXPECT_TRUE(Has(Tag(page, "c2"), "value=\"\n1&quot;2&#39;&lt;b&gt;&amp;\">"));
  EXPECT_TRUE(Has(Tag(page, "c3"),
                  "value=\"\nO&#39;BRIEN &quot;EL&quot; &lt;script&gt;alert(1)&lt;/script&gt;\">"));
  EXPECT_TRUE(Has(Tag(page, "c6"), "value='1&#39; onfocus=&#39;alert(1)'>"));
  EXPECT_TRUE(Has(Tag(page, "f11c1"), "value='x&#39;y&quot;z&amp;' onblur="));
  EXPECT_TRUE(Has(Tag(page, "mes_ini"), "value='&#39;3'>"));
  EXPECT_FALSE(Has(page, "<script>alert"));
  EXPECT_FALSE(Has(page, "onfocus='"));
}

TEST(EditablePageValues, LongNameIsKeptWhole) {
  SampleDeclaration d;
  d.nombre = std::string(299, 'N') + "Z";
  const std::string page = EditablePage(d);
  EXPECT_TRUE(Has(Tag(page, "c3"), "\n" + d.nombre + "\">"));
}

}  // namespace
}  // namespace f7301
