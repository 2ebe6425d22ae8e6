#include "xmlstore/field_list.h"

#include <gtest/gtest.h>

#include <string>

namespace f7301 {
namespace {

TEST(FieldListFind, EmptyListFindsNothing) {
  CFieldList list;
  EXPECT_TRUE(list.empty());
  EXPECT_EQ(list.Find("NIT"), nullptr);
  EXPECT_EQ(list.FindByAttribute("ID", "\"6\""), nullptr);
  list.Clear();
  EXPECT_EQ(list.head(), nullptr);
}

TEST(FieldListFind, NewestNodeComesFirstAndWins) {
  CFieldList list;
  list.Add("NOMBRE", "", "", "");
  list.Add("NOMBRE", "ESTACION EL PROGRESO", "", "");
  list.Add("NIT", "12345679", "", "");
  ASSERT_NE(list.head(), nullptr);
  EXPECT_EQ(list.head()->name(), "NIT");
  EXPECT_EQ(list.head()->next()->value(), "ESTACION EL PROGRESO");
  EXPECT_EQ(list.head()->next()->next()->next(), nullptr);
  const CFieldNode* nombre = list.Find("NOMBRE");
  ASSERT_NE(nombre, nullptr);
  EXPECT_EQ(nombre->value(), "ESTACION EL PROGRESO");
}

TEST(FieldListFind, NamesCompareExactlyAndCaseSensitively) {
  CFieldList list;
  list.Add("CASILLA", "1", "ID", "\"6\"");
  EXPECT_EQ(list.Find("casilla"), nullptr);
  EXPECT_EQ(list.Find("CASILLA "), nullptr);
  EXPECT_EQ(list.Find("CASILL"), nullptr);
  EXPECT_NE(list.Find("CASILLA"), nullptr);
}

TEST(FieldListFindByAttribute, ValueIsComparedWithItsQuotes) {
  CFieldList list;
  list.Add("CASILLA", "1234567890123", "ID", "\"118\"");
  EXPECT_EQ(list.FindByAttribute("ID", "118"), nullptr);
  EXPECT_EQ(list.FindByAttribute("id", "\"118\""), nullptr);
  const CFieldNode* box = list.FindByAttribute("ID", "\"118\"");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->value(), "1234567890123");
}

TEST(FieldListFindByAttribute, BothTextsMustMatchAndTheWalkGoesOn) {
  CFieldList list;
  list.Add("CASILLA", "older", "ID", "\"7\"");
  list.Add("CASILLA", "blank before the name", " ID", "\"7\"");
  list.Add("CASILLA", "other box", "ID", "\"8\"");
  const CFieldNode* box = list.FindByAttribute("ID", "\"7\"");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->value(), "older");
}

TEST(FieldListClear, ListIsUsableAfterClear) {
  CFieldList list;
  list.Add("NIT", "1", "", "");
  list.Add("NIT", "2", "", "");
  list.Clear();
  EXPECT_TRUE(list.empty());
  EXPECT_EQ(list.Find("NIT"), nullptr);
  list.Add("NIT", "3", "", "");
  ASSERT_NE(list.Find("NIT"), nullptr);
  EXPECT_EQ(list.Find("NIT")->value(), "3");
  EXPECT_EQ(list.head()->next(), nullptr);
}

// A list this long would overflow the stack if nodes were freed recursively.
TEST(FieldListClear, LongListsAreClearedAndDestroyedWithoutRecursion) {
  constexpr int kNodes = 100000;
  CFieldList list;
  for (int i = 0; i < kNodes; ++i) list.Add("CASILLA", std::to_string(i), "ID", "\"1\"");
  EXPECT_EQ(list.FindByAttribute("ID", "\"1\"")->value(), std::to_string(kNodes - 1));
  list.Clear();
  EXPECT_TRUE(list.empty());
  {
    CFieldList destroyedWhole;
    for (int i = 0; i < kNodes; ++i) destroyedWhole.Add("CASILLA", "0", "", "");
    EXPECT_NE(destroyedWhole.Find("CASILLA"), nullptr);
  }  // the destructor frees the 100,000 nodes here
}

}  // namespace
}  // namespace f7301
