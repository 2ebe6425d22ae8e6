// What the page writer gives screen readers on the three pages: a name on
// every field and read-only value, the page's language, one main region and
// the section titles as headings.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formpage/field_model.h"
#include "formpage/page_builders.h"
#include "formpage/page_writer.h"
#include "formpage/spoken_names.h"
#include "tests/unit/stored_page_support.h"

namespace f7301 {
namespace {

using testing::Count;
using testing::Has;

std::string StoredPage(PageKind kind, int annexRows) {
  auto reader = testing::ReadDeclaration(testing::FullSample(annexRows));
  std::string page;
  EXPECT_TRUE(WriteStoredPage(kind, reader->store(), page));
  return page;
}

// The value of attribute `name` in `tag`, written name='value'; "<none>" when
// the tag lacks it.
std::string Attribute(const std::string& tag, const std::string& name) {
  const std::string start = " " + name + "='";
  const auto at = tag.find(start);
  if (at == std::string::npos) return "<none>";
  const auto from = at + start.size();
  return tag.substr(from, tag.find('\'', from) - from);
}

// Every input and list tag of the page that a person sees and fills.
std::vector<std::string> FieldTags(const std::string& page) {
  std::vector<std::string> tags;
  for (const char* open : {"<input ", "<select "}) {
    for (auto at = page.find(open); at != std::string::npos; at = page.find(open, at + 1)) {
      std::string tag = page.substr(at, page.find('>', at) + 1 - at);
      if (Has(tag, "type=hidden") || Has(tag, "type=button")) continue;
      tags.push_back(std::move(tag));
    }
  }
  return tags;
}

void ExpectEveryFieldNamed(const std::string& page, std::size_t fields) {
  const std::vector<std::string> tags = FieldTags(page);
  EXPECT_EQ(tags.size(), fields);
  for (const std::string& tag : tags) {
    const std::string name = Attribute(tag, "name");
    EXPECT_NE(SpokenName(name), "") << tag;
    EXPECT_EQ(Attribute(tag, "aria-label"), SpokenName(name)) << tag;
    EXPECT_EQ(Count(tag, "aria-label="), 1u) << tag;
  }
}

// c2, c3, six period inputs, 112 grid boxes, c1618 to c1621, renglones1,
// three fields per annex row.
constexpr std::size_t kFieldsBesideTheAnnex = 2 + 6 + 112 + 4 + 1;

TEST(PageAccessibility, EveryFieldOfTheBlankPageIsNamed) {
  ExpectEveryFieldNamed(WriteBlankPage(), kFieldsBesideTheAnnex + 3 * 3);
}

TEST(PageAccessibility, EveryFieldOfAFullEditablePageIsNamed) {
  const std::string page = StoredPage(PageKind::kEditable, kMaxAnnexRows);
  ExpectEveryFieldNamed(page, kFieldsBesideTheAnnex + 3 * kMaxAnnexRows);
  EXPECT_TRUE(Has(page, "id='f1500c3' aria-label='Anexo, rengl\xF3n 500, Tipo de producto'"));
}

// The page scripts name added rows from the templates on the annex table;
// the read-only page adds no rows and carries none.
TEST(PageAccessibility, AnnexTableCarriesTheNameTemplatesWhereRowsCanBeAdded) {
  std::string templates;
  for (int column = 1; column <= kAnnexColumnCount; ++column) {
    templates += " " + AnnexTemplateAttribute(column) + "='" + AnnexSpokenTemplate(column) + "'";
  }
  const std::string table = "<table id='tabla1' cellpadding='1' border='2'" + templates + ">";
  EXPECT_TRUE(Has(WriteBlankPage(), table));
  EXPECT_TRUE(Has(StoredPage(PageKind::kEditable, 2), table));
  const std::string readOnly = StoredPage(PageKind::kReadOnly, 2);
  EXPECT_TRUE(Has(readOnly, "<table id='tabla1' cellpadding='1' border='2'>"));
  EXPECT_FALSE(Has(readOnly, "data-nombre"));
}

// Each value cell names what it shows: the grid, the period, the annex, its
// total and the settlement; the NIT, the name and the number stand beside
// their visible labels.
TEST(PageAccessibility, EveryValueOfTheReadOnlyPageIsNamed) {
  const int rows = 4;
  const std::string page = StoredPage(PageKind::kReadOnly, rows);
  EXPECT_EQ(Count(page, " aria-label='"), 112u + 6u + 3u * rows + 1u + 3u);
  for (int box = kFirstGridBox; box <= kLastGridBox; ++box) {
    EXPECT_TRUE(Has(page, "aria-label='" + SpokenName(BoxFieldName(box)))) << box;
  }
  EXPECT_TRUE(Has(page, "aria-label='" + SpokenName(AnnexFieldName(rows, 3)) + ": "));
  EXPECT_FALSE(Has(page, "aria-label='" + SpokenName(AnnexFieldName(rows + 1, 1))));
}

TEST(PageAccessibility, ReadOnlyZeroBoxIsNamedWithoutAValue) {
  testing::SampleDeclaration d;
  d.boxes[7] = "12.50";
  auto reader = testing::ReadDeclaration(d);
  std::string page;
  ASSERT_TRUE(BuildReadOnlyPage(reader->store(), page));
  EXPECT_TRUE(
      Has(page, "aria-label='Gasolina superior, Saldo Inicial, casilla 6'><strong>&nbsp;<"));
  EXPECT_TRUE(Has(page, "aria-label='Gasolina superior, Compras Afectas, casilla 7: 12.50'>"));
  // The total to pay shows "0.00" for a stored "0", and says so.
  EXPECT_TRUE(Has(page, "aria-label='Total a pagar, casilla 1621: 0.00'>"));
}

TEST(PageAccessibility, LanguageMainRegionAndHeadingsOnAllThreePages) {
  const std::vector<std::string> pages = {WriteBlankPage(), StoredPage(PageKind::kEditable, 1),
                                          StoredPage(PageKind::kReadOnly, 1)};
  for (const std::string& page : pages) {
    EXPECT_EQ(Count(page, "<html lang='es'>"), 1u);
    EXPECT_EQ(Count(page, "<html"), 1u);
    // The outer table is never closed: it holds the whole form.
    EXPECT_TRUE(Has(page, "<!-- ENCABEZADO -->\n<table role='main'><tr><td>\n"));
    EXPECT_EQ(Count(page, "role='main'"), 1u);
    EXPECT_EQ(Count(page, "role='heading'"), 6u);
    EXPECT_EQ(Count(page, "role='heading' aria-level='1'"), 1u);
    EXPECT_EQ(Count(page, "role='heading' aria-level='2'"), 5u);
    for (const char* title :
         {"><strong>DETALLE MOVIMIENTO EN GALONES", "><strong>VENTAS TOTALES EXENTAS",
          ">PERIODO<br>DE<br>IMPOSICION", ">RECTIFICACIONES (llenar", ">MULTA</td>"}) {
      const auto at = page.find(title);
      ASSERT_NE(at, std::string::npos) << title;
      const std::string cell = page.substr(page.rfind("<td", at), at - page.rfind("<td", at));
      EXPECT_TRUE(Has(cell, "role='heading' aria-level='2'")) << title;
    }
  }
}

}  // namespace
}  // namespace f7301
