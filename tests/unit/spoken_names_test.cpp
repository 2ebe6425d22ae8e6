// The names a screen reader gives the form's fields.
#include "formpage/spoken_names.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "formpage/field_model.h"

namespace f7301 {
namespace {

TEST(SpokenNames, GridBoxIsRowThenColumnThenNumber) {
  EXPECT_EQ(SpokenName("c6"), "Gasolina superior, Saldo Inicial, casilla 6");
  EXPECT_EQ(SpokenName("c8"), "Gasolina superior, Otros Ajustes Positivas, casilla 8");
  EXPECT_EQ(SpokenName("c76"), "Gas licuado de petr\xF3leo a granel, Ventas Exentas, casilla 76");
  EXPECT_EQ(SpokenName("c109"), "Asfaltos, Saldo Final, casilla 109");
  EXPECT_EQ(SpokenName("c113"), "Totales, Otros Ajustes Negativas, casilla 113");
  EXPECT_EQ(SpokenName("c117"), "Totales, Saldo Final, casilla 117");
}

// Every grid box is told apart from the others, and by the row and column
// that the page shows it in.
TEST(SpokenNames, EveryGridBoxHasItsOwnNameFromItsRowAndColumn) {
  std::set<std::string> names;
  for (int row = 1; row <= kGridRowCount; ++row) {
    for (int column = 1; column <= kGridColumnCount; ++column) {
      const int box = GridBox(row, column);
      const std::string name = SpokenName(BoxFieldName(box));
      EXPECT_EQ(name.rfind(std::string(kGridRows[row - 1].label) + ", ", 0), 0u) << name;
      EXPECT_TRUE(name.ends_with(", casilla " + std::to_string(box))) << name;
      names.insert(name);
    }
  }
  EXPECT_EQ(names.size(), static_cast<std::size_t>(kGridRowCount * kGridColumnCount));
}

TEST(SpokenNames, AnnexCellIsRowThenColumn) {
  EXPECT_EQ(SpokenName("f112c1"), "Anexo, rengl\xF3n 12, NIT del comprador");
  EXPECT_EQ(SpokenName("f11c2"), "Anexo, rengl\xF3n 1, Cantidad de galones exentos");
  EXPECT_EQ(SpokenName(AnnexFieldName(500, 3)), "Anexo, rengl\xF3n 500, Tipo de producto");
  // Row 10 column 1 and row 1 column 01 are not confused: the row ends at
  // the last "c".
  EXPECT_EQ(SpokenName("f110c1"), "Anexo, rengl\xF3n 10, NIT del comprador");
}

TEST(SpokenNames, NamesOutsideTheAnnexAreNotAnnexCells) {
  for (const char* field :
       {"f1501c1", "f10c1", "f11c0", "f11c4", "f1c1", "f1", "f12", "f2c1c", "f1xc1", "f11c", "f"}) {
    EXPECT_EQ(SpokenName(field), "") << field;
  }
}

// The page scripts fill the template's mark with the row number: that must
// give the name the page writer gives the same cell.
TEST(SpokenNames, AnnexTemplateWithTheRowIsTheCellsName) {
  for (int column = 1; column <= kAnnexColumnCount; ++column) {
    const std::string spoken = AnnexSpokenTemplate(column);
    const auto mark = spoken.find(kAnnexRowMark);
    ASSERT_NE(mark, std::string::npos) << column;
    EXPECT_EQ(spoken.find(kAnnexRowMark, mark + 1), std::string::npos) << "one mark only";
    for (int row : {1, 12, 500}) {
      std::string filled = spoken;
      filled.replace(mark, kAnnexRowMark.size(), std::to_string(row));
      EXPECT_EQ(filled, SpokenName(AnnexFieldName(row, column))) << row;
    }
  }
  EXPECT_EQ(AnnexTemplateAttribute(2), "data-nombre-c2");
}

TEST(SpokenNames, IdentityPeriodAndSettlement) {
  EXPECT_EQ(SpokenName("c2"), "NIT del contribuyente");
  EXPECT_EQ(SpokenName("c3"), "Nombre o raz\xF3n social del contribuyente");
  EXPECT_EQ(SpokenName("mes_ini"), "Periodo del, mes");
  EXPECT_EQ(SpokenName("anio_ini"), "Periodo del, a\xF1o");
  EXPECT_EQ(SpokenName("dia_fin"),
            "Periodo al, d\xED"
            "a");
  EXPECT_EQ(SpokenName("c1618"), "Anexo, total de galones exentos, casilla 1618");
  EXPECT_EQ(SpokenName("c1619"), "N\xFAmero de declaraci\xF3n que se rectifica, casilla 1619");
  EXPECT_EQ(SpokenName("c1620"), "Multa, casilla 1620");
  EXPECT_EQ(SpokenName("c1621"), "Total a pagar, casilla 1621");
  EXPECT_EQ(SpokenName("renglones1"), "Renglones a agregar al anexo");
  for (const PeriodField& field : kPeriodFields)
    EXPECT_NE(SpokenName(field.name), "") << field.name;
}

// Hidden fields are never read; buttons read their caption.
TEST(SpokenNames, HiddenFieldsAndButtonsHaveNone) {
  for (const char* field : {"c1", "c4", "c5", "c0", "c5", "c118", "c1617", "c1622", "c-6", "c",
                            "c6x", "nrenglon1", "trenglon1", "botonanexo1", "validar", ""}) {
    EXPECT_EQ(SpokenName(field), "") << field;
  }
}

TEST(SpokenNames, ReadOnlyValueFollowsItsName) {
  EXPECT_EQ(SpokenValue("Multa, casilla 1620", "100.00"), "Multa, casilla 1620: 100.00");
  EXPECT_EQ(SpokenValue("Multa, casilla 1620", ""), "Multa, casilla 1620");
}

}  // namespace
}  // namespace f7301
