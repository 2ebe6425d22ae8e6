// The blank form page as the page writer produces it, and as the build
// installs it for the program.
#include "formpage/page_writer.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace f7301 {
namespace {

std::size_t Count(const std::string& text, const std::string& piece) {
  std::size_t n = 0;
  for (auto at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++n;
  return n;
}

class BlankPage : public ::testing::Test {
 protected:
  const std::string page = WriteBlankPage();
};

TEST_F(BlankPage, IsWindows1252WithItsAccents) {
  for (const char* word : {"D\xED"
                           "a",
                           "A\xF1"
                           "o",
                           "raz\xF3n", "declaraci\xF3n", "rectificaci\xF3n", "petr\xF3leo",
                           "permanecer\xE1n", "exhibir\xE9"}) {
    EXPECT_NE(page.find(word), std::string::npos) << word;
  }
  // No UTF-8 lead byte for an accented Latin letter.
  EXPECT_EQ(page.find('\xC3'), std::string::npos);
}

TEST_F(BlankPage, FirstTitleLineHasNoAccentsOnDistribucionAndPetroleo) {
  EXPECT_NE(page.find("Declaraci\xF3n Jurada informativa mensual del impuesto a la "
                      "distribucion de petroleo crudo"),
            std::string::npos);
  EXPECT_NE(page.find("y combustibles derivados del petr\xF3leo"), std::string::npos);
}

TEST_F(BlankPage, EveryFieldOnceByName) {
  std::vector<std::string> names = {
      "c1",       "c2",         "c3",          "c4",        "c5",        "dia_ini", "mes_ini",
      "anio_ini", "dia_fin",    "mes_fin",     "anio_fin",  "c1618",     "c1619",   "c1620",
      "c1621",    "renglones1", "botonanexo1", "nrenglon1", "trenglon1", "validar"};
  for (int box = 6; box <= 117; ++box) names.push_back("c" + std::to_string(box));
  for (int row = 1; row <= 3; ++row) {
    for (int col = 1; col <= 3; ++col) {
      names.push_back("f1" + std::to_string(row) + "c" + std::to_string(col));
    }
  }
  for (const std::string& name : names) {
    EXPECT_EQ(Count(page, "name='" + name + "'"), 1u) << name;
    EXPECT_EQ(Count(page, "id='" + name + "'"), 1u) << name;
  }
  EXPECT_EQ(page.find("name='f14c1'"), std::string::npos);
}

TEST_F(BlankPage, AnnexStartsWithThreeRows) {
  EXPECT_NE(page.find("<input type=hidden name='trenglon1' id='trenglon1' value='3'>"),
            std::string::npos);
  EXPECT_NE(page.find("<input type=hidden name='nrenglon1' id='nrenglon1' value='0'>"),
            std::string::npos);
  // The scripts count the body's rows: one empty row, then the three.
  EXPECT_NE(page.find("<tbody id='cuerpo1'>\n  <tr></tr>\n  <tr><td width='3%'>1</td>"),
            std::string::npos);
  EXPECT_EQ(Count(page, "<option value=''></option>"), 3u);
  EXPECT_EQ(Count(page, " selected"), 0u);
  EXPECT_EQ(page.find("VANEXOSINICIALES"), std::string::npos);
}

TEST_F(BlankPage, SectionCommentsInOrder) {
  std::size_t at = 0;
  for (const char* comment :
       {"<!-- ENCABEZADO -->", "<!-- RECUADRO NO. 0 -->", "<!-- RECUADRO NO. 1 -->",
        "<!-- FIN RECUADRO NO. 1 -->", "<!-- RECUADRO NO. 3 -->", "<!-- FIN RECUADRO NO. 3 -->"}) {
    const std::size_t found = page.find(comment, at);
    ASSERT_NE(found, std::string::npos) << comment;
    at = found;
  }
}

TEST_F(BlankPage, ValidarRunsTheFineCheck) {
  EXPECT_NE(page.find("onclick='validaanexo2(); if ((valida_c1618() && valida_formulario()) && "
                      "(valida_c1620())) {  validaarchivoanexo()  } '"),
            std::string::npos);
  EXPECT_NE(page.find("value='    Validar   '"), std::string::npos);
}

TEST_F(BlankPage, HeadLoadsStyleSheetAndScriptsByResourceAddress) {
  const std::size_t css = page.find("href='res://Formulario7301.exe/#23/#132'");
  ASSERT_NE(css, std::string::npos);
  std::size_t at = css;
  for (int number = 133; number <= 136; ++number) {
    const std::size_t found =
        page.find("src='res://Formulario7301.exe/#23/#" + std::to_string(number) + "'", at);
    ASSERT_NE(found, std::string::npos) << number;
    at = found;
  }
  EXPECT_LT(at, page.find("<title>Formulario RTQ-No. 7301</title>"));
  EXPECT_NE(page.find("<body onload='inicial(); inicialanexo2();' "
                      "oncontextmenu=\"return event.srcElement.tagName=='INPUT';\">"),
            std::string::npos);
}

TEST_F(BlankPage, FormNumberIsMadeWhenThePageLoads) {
  // c1 has no value: the header script numbers the form each time.
  EXPECT_NE(page.find("<input type=hidden name='c1' id='c1'><strong><font size='3'>No <script"),
            std::string::npos);
  EXPECT_NE(page.find("numera_formulario()"), std::string::npos);
}

TEST(BlankPageResource, BuildInstallsTheWritersPage) {
  std::ifstream in(std::string(F7301_PAGE_DIR) + "/131.html", std::ios::binary);
  ASSERT_TRUE(in) << "131.html is missing: build the page_resources target";
  const std::string installed((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
  EXPECT_EQ(installed, WriteBlankPage());
}

}  // namespace
}  // namespace f7301
