// The boxes of a read declaration by number: only a key written as the
// program writes it names a box, and the node read last wins.
#include "formpage/stored_boxes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formpage/field_model.h"

namespace f7301 {
namespace {

TEST(StoredBoxes, FoundByTheNumberTheKeyWrites) {
  CFieldList store;
  const std::vector<std::pair<std::string, std::string>> nodes = {
      {"\"118\"", "old"},  {"\"118\"", "new"},       {"\"0119\"", "zero"},  {"\"+120\"", "plus"},
      {"\"-1\"", "minus"}, {"\"-0\"", "minus zero"}, {"\"12a\"", "letter"}, {"121", "unquoted"},
      {"\"\"", "empty"},   {"\"0\"", "zero box"}};
  for (const auto& [key, value] : nodes) store.Add("CASILLA", value, kBoxKeyName, key);
  store.Add("CASILLA", "other attribute", "NAME", "\"122\"");
  const CStoredBoxes boxes(store);
  const std::vector<std::pair<int, std::string>> expected = {
      {118, "new"}, {119, ""}, {120, ""}, {-1, "minus"}, {0, "zero box"},
      {12, ""},     {121, ""}, {122, ""}, {123, ""}};
  for (const auto& [box, value] : expected) {
    const CFieldNode* node = boxes.Find(box);
    EXPECT_EQ(node ? node->value() : "", value) << box;
  }
}

}  // namespace
}  // namespace f7301
