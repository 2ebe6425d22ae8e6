// The field model: box numbers, names and attributes that the pages, the page
// scripts and the stored declarations must agree on.
#include "formpage/field_model.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace f7301 {
namespace {

TEST(FieldModelGrid, TotalsRowBoxesSitUnderTheirColumns) {
  // Column 4 of the totals row is the total of the negative adjustments.
  EXPECT_EQ(GridBox(14, 4), 113);
  EXPECT_STREQ(kGridSubHeadings[1], "Negativas");
  EXPECT_EQ(GridBox(14, 8), 117);
  EXPECT_STREQ(kGridRows[13].label, "Totales");
  EXPECT_STREQ(kGridRows[13].labelClass, "");
  EXPECT_EQ(GridBox(1, 1), 6);
  EXPECT_EQ(GridBox(13, 8), 109);
  EXPECT_STREQ(kGridRows[8].label, "Gas licuado de petr\xF3leo a granel");
  EXPECT_STREQ(kGridTopHeadings.back().text, "Saldo Final ");
}

TEST(FieldModelGrid, ComputedBoxesAreTheSaldoFinalColumnAndTheTotals) {
  std::set<int> computed;
  for (int box = 1; box <= 1700; ++box) {
    if (IsComputedBox(box)) computed.insert(box);
  }
  const std::set<int> expected = {13,  21,  29,  37,  45,  53,  61,  69,  77,  85, 93,
                                  101, 109, 110, 111, 112, 113, 114, 115, 116, 117};
  EXPECT_EQ(computed, expected);
}

TEST(FieldModelGrid, ReadOnlyClassKeepsItsTwoSpellings) {
  const std::set<int> capitalised = {85, 93, 101, 109, 110, 111, 112, 113, 114, 115, 116, 117};
  for (int box = kFirstGridBox; box <= kLastGridBox; ++box) {
    const std::string cls(GridBoxClass(box));
    if (!IsComputedBox(box)) {
      EXPECT_EQ(cls, "") << box;
    } else if (capitalised.count(box)) {
      EXPECT_EQ(cls, "Lectura") << box;
    } else {
      EXPECT_EQ(cls, "lectura") << box;
    }
  }
}

TEST(FieldModelGrid, OnlyTheListedBoxesGoWithoutMaxLength) {
  std::vector<int> without;
  for (int box = kFirstGridBox; box <= kLastGridBox; ++box) {
    if (!HasMaxLength(box)) without.push_back(box);
  }
  EXPECT_EQ(without, (std::vector<int>{9, 15, 20, 25, 30, 35, 40, 45, 50, 55, 60, 65, 84, 85}));
}

TEST(FieldModelGrid, CellWidths) {
  std::vector<int> product;
  std::vector<int> totals;
  for (int column = 1; column <= 8; ++column) {
    product.push_back(GridCellWidth(1, column));
    totals.push_back(GridCellWidth(14, column));
  }
  EXPECT_EQ(product, (std::vector<int>{15, 16, 14, 14, 14, 14, 14, 23}));
  EXPECT_EQ(totals, (std::vector<int>{16, 16, 14, 14, 14, 14, 14, 23}));
}

TEST(FieldModelNames, BoxAndAnnexNamesAndIds) {
  EXPECT_EQ(BoxFieldName(6), "c6");
  EXPECT_EQ(BoxFieldName(1621), "c1621");
  EXPECT_EQ(AnnexFieldName(1, 1), "f11c1");
  EXPECT_EQ(AnnexBoxId(1, 1), 118);
  EXPECT_EQ(AnnexFieldName(10, 1), "f110c1");
  EXPECT_EQ(AnnexBoxId(10, 1), 145);
  EXPECT_EQ(AnnexFieldName(12, 1), "f112c1");
  EXPECT_EQ(AnnexFieldName(500, 3), "f1500c3");
  EXPECT_EQ(AnnexBoxId(500, 3), 1617);
  // The last annex id stops right before the annex total.
  EXPECT_EQ(AnnexBoxId(kMaxAnnexRows, kAnnexColumnCount) + 1, kAnnexTotalBox);
}

TEST(FieldModelNames, StoreKeyKeepsTheQuotes) {
  const auto key = BoxStoreKey(1618);
  EXPECT_EQ(key.first, "ID");
  EXPECT_EQ(key.second, "\"1618\"");
  EXPECT_EQ(key.second.size(), 6u);
  EXPECT_EQ(BoxStoreKey(6).second, "\"6\"");
}

TEST(FieldModelAnnex, ProductsInListOrder) {
  const std::vector<std::string> expected = {"GASOLINA SUPERIOR",
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
                                             "ASFALTOS"};
  const std::vector<std::string> actual(kAnnexProducts.begin(), kAnnexProducts.end());
  EXPECT_EQ(actual, expected);
  // Bulk liquefied gas has no annex product.
  for (const char* product : kAnnexProducts) {
    EXPECT_STRNE(product, "GAS LICUADO DE PETROLEO A GRANEL");
  }
}

TEST(FieldModelPeriod, DateParts) {
  EXPECT_EQ(DatePartOf("20110301", DatePart::kDay), "01");
  EXPECT_EQ(DatePartOf("20110301", DatePart::kMonth), "03");
  EXPECT_EQ(DatePartOf("20110301", DatePart::kYear), "2011");
  // A short date gives what it has.
  EXPECT_EQ(DatePartOf("20110", DatePart::kMonth), "0");
  EXPECT_EQ(DatePartOf("2011", DatePart::kDay), "");
  EXPECT_EQ(DatePartOf("", DatePart::kYear), "");
}

TEST(FieldModelPeriod, OnlyTheStartMonthAndYearAreTyped) {
  std::vector<std::string> typed;
  for (const PeriodField& field : kPeriodFields) {
    if (!field.readOnlyLook) typed.push_back(field.name);
  }
  EXPECT_EQ(typed, (std::vector<std::string>{"mes_ini", "anio_ini"}));
  EXPECT_STREQ(kPeriodFields[0].name, "dia_ini");
  EXPECT_STREQ(kPeriodFields[0].preset, "01");
}

}  // namespace
}  // namespace f7301
