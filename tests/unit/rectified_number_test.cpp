// What box 1619 of a rectification holds, from the declaration it corrects.
#include "rectification/rectified_number.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/sample_declaration.h"
#include "xmlstore/xml_reader.h"

namespace f7301 {
namespace {

TEST(RectifiedNumberTest, FormCodeFollowedByTheStoredNumber) {
  struct Case {
    std::string numero;  // as the declaration stores it
    std::string number;  // StoredFormNumber
  };
  const std::vector<Case> cases = {
      {"10203045", "10203045"},
      {"00000001", "00000001"},
      {"235959", "235959"},  // a short one is typed as it is: the box's checks judge it
      {"", ""},
      {"12\xD1", "12\xC3\x91"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.numero);
    testing::SampleDeclaration d;
    d.numero = c.numero;
    CXmlReader reader;
    const std::string xml = testing::DeclarationXml(d);
    reader.Parse(xml.data(), static_cast<long>(xml.size()));
    EXPECT_EQ(StoredFormNumber(reader.store()), c.number);
    EXPECT_EQ(RectifiedNumber(reader.store()), "7301" + c.number);
  }
}

TEST(RectifiedNumberTest, DeclarationWithoutItsNumberGivesTheCodeAlone) {
  CXmlReader reader;
  for (const std::string xml : {"<FORMULARIO><NIT>1</NIT></FORMULARIO>", "<NIT>1</NIT>"}) {
    reader.ReplaceStore();
    reader.Parse(xml.data(), static_cast<long>(xml.size()));
    EXPECT_EQ(StoredFormNumber(reader.store()), "") << xml;
    EXPECT_EQ(RectifiedNumber(reader.store()), "7301") << xml;
  }
}

}  // namespace
}  // namespace f7301
