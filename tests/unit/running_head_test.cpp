// The running head and foot of the printed form.
#include "printout/running_head.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/sample_declaration.h"
#include "xmlstore/xml_reader.h"

namespace f7301 {
namespace {

std::string Repeat(const std::string& text, int times) {
  std::string repeated;
  for (int i = 0; i < times; ++i) repeated += text;
  return repeated;
}

TEST(RunningHeadTest, NamesTheDeclarationOnOneLine) {
  struct Case {
    PrintedIdentity identity;
    std::string head;
  };
  const std::string longNit(50, '7');
  const std::vector<Case> cases = {
      {{"12345679", "03", "2011", "10203045"},
       "Formulario RTQ-7301 \u00B7 NIT 12345679 \u00B7 Periodo 03/2011 \u00B7 No. 10203045"},
      // A form not filled yet names what it has.
      {{"", "", "", "55"}, "Formulario RTQ-7301 \u00B7 NIT  \u00B7 Periodo  \u00B7 No. 55"},
      {{"", "", "2026", ""}, "Formulario RTQ-7301 \u00B7 NIT  \u00B7 Periodo /2026 \u00B7 No. "},
      // A line break or tab typed into a box does not break the head.
      {{"12\n34\t5\x7F", "0\r3", "2011", "1"},
       "Formulario RTQ-7301 \u00B7 NIT 12345 \u00B7 Periodo 03/2011 \u00B7 No. 1"},
      // A long part is cut, counted in characters, not bytes.
      {{longNit, "03", "2011", "1"},
       "Formulario RTQ-7301 \u00B7 NIT " + longNit.substr(0, kHeadPartLimit) +
           " \u00B7 Periodo 03/2011 \u00B7 No. 1"},
      {{std::string(30, 'a') + Repeat("\u00D1", 15), "", "", ""},
       "Formulario RTQ-7301 \u00B7 NIT " + std::string(30, 'a') + Repeat("\u00D1", 10) +
           " \u00B7 Periodo  \u00B7 No. "},
  };
  for (const Case& c : cases) EXPECT_EQ(RunningHead(c.identity), c.head) << c.identity.nit;
}

TEST(RunningHeadTest, FootCountsThePages) {
  EXPECT_EQ(PageFoot(1, 1), "P\u00E1gina 1 de 1");
  EXPECT_EQ(PageFoot(12, 13), "P\u00E1gina 12 de 13");
}

TEST(RunningHeadTest, IdentityOfAReadDeclaration) {
  testing::SampleDeclaration d;
  d.nit = "9876543-K";
  d.desde = "20261101";
  d.numero = "7301000123";
  CXmlReader reader;
  const std::string xml = testing::DeclarationXml(d);
  reader.Parse(xml.data(), static_cast<long>(xml.size()));
  const PrintedIdentity identity = IdentityOfDeclaration(reader.store());
  EXPECT_EQ(identity.nit, "9876543-K");
  EXPECT_EQ(identity.month, "11");
  EXPECT_EQ(identity.year, "2026");
  EXPECT_EQ(identity.number, "7301000123");

  CXmlReader empty;
  const PrintedIdentity none = IdentityOfDeclaration(empty.store());
  EXPECT_EQ(RunningHead(none), "Formulario RTQ-7301 \u00B7 NIT  \u00B7 Periodo  \u00B7 No. ");
}

}  // namespace
}  // namespace f7301
