#include "xmlstore/xml_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "tests/support/sample_declaration.h"
#include "xmlstore/xml_scanner.h"

namespace f7301 {
namespace {

// name, value, attribute name, attribute value
using Entry = std::tuple<std::string, std::string, std::string, std::string>;

bool Parse(CXmlReader& reader, const std::string& xml) {
  return reader.Parse(xml.c_str(), static_cast<long>(xml.size()));
}

// The store in the order the elements were read (the list holds it reversed).
std::vector<Entry> InReadingOrder(const CFieldList& store) {
  std::vector<Entry> entries;
  for (const CFieldNode* n = store.head(); n; n = n->next()) {
    entries.emplace_back(n->name(), n->value(), n->attributeName(), n->attributeValue());
  }
  std::reverse(entries.begin(), entries.end());
  return entries;
}

std::vector<Entry> Read(const std::string& xml) {
  CXmlReader reader;
  reader.SetTrace(nullptr);
  EXPECT_TRUE(Parse(reader, xml));
  return InReadingOrder(reader.store());
}

std::string Quoted(int n) { return "\"" + std::to_string(n) + "\""; }

// ---------------------------------------------------------------------------
// The declaration the form page writes

TEST(XmlReaderDeclaration, EveryElementGivesOneEntryAndCDataElementsTwo) {
  testing::SampleDeclaration d = testing::FullSample(3);
  d.annex[1].gallons.clear();  // the page leaves row 2 out but uses up 121 to 123
  const std::vector<Entry> entries = Read(testing::DeclarationXml(d));

  std::vector<Entry> expected = {
      {"FORMULARIO", "", "NUMERO", "\"10203045\""},
      {"SOURCE", "VELAROPC", "", ""},
      {"REALSOURCE", "VELAROLIGHT", "", ""},
      {"VERSION", "2.0", "", ""},
      {"CODIGO_FORMULARIO", "730", "", ""},
      {"NUMERO_VERSION", "1", "", ""},
      {"ID_CAMBIO", "2.2", "", ""},
      {"NIT", "12345679", "", ""},
      {"PERIODO_DESDE", "20110301", "", ""},
      {"PERIODO_HASTA", "20110331", "", ""},
      {"ANEXOS", "0", "", ""},
      {"NOMBRE", "", "", ""},
      {"NOMBRE", d.nombre, "", ""},
      {"DIRECCION", "", "", ""},
      {"CONTADOR", "0", "", ""},
      {"CASILLAS", "", "", ""},
  };
  for (int id = 6; id <= 117; ++id) expected.emplace_back("CASILLA", d.boxes[id], "ID", Quoted(id));
  for (int row : {0, 2}) {
    const int first = 118 + 3 * row;
    const testing::AnnexRow& r = d.annex[static_cast<std::size_t>(row)];
    expected.emplace_back("CASILLA", "", "ID", Quoted(first));
    expected.emplace_back("CASILLA", r.nit, "ID", Quoted(first));
    expected.emplace_back("CASILLA", r.gallons, "ID", Quoted(first + 1));
    expected.emplace_back("CASILLA", "", "ID", Quoted(first + 2));
    expected.emplace_back("CASILLA", r.product, "ID", Quoted(first + 2));
  }
  for (int id = 1618; id <= 1621; ++id) {
    expected.emplace_back("CASILLA", d.boxes[id], "ID", Quoted(id));
  }
  expected.emplace_back("CASILLA", "05/03/2011", "ID", "\"FECPRE\"");
  expected.emplace_back("CASILLA", "----------", "ID", "\"LUGPRE\"");
  expected.emplace_back("MONTO", "100.00", "", "");
  EXPECT_EQ(entries, expected);
}

TEST(XmlReaderDeclaration, LookupsFindTheTextsThePageWrote) {
  testing::SampleDeclaration d = testing::FullSample(2);
  d.nombre =
      "COMBUSTIBLES   DEL SUR \xD1"
      "ANDU";  // blanks and a Windows-1252 letter
  CXmlReader reader;
  reader.SetTrace(nullptr);
  ASSERT_TRUE(Parse(reader, testing::DeclarationXml(d)));
  const CFieldList& store = reader.store();

  ASSERT_NE(store.head(), nullptr);
  EXPECT_EQ(store.head()->name(), "MONTO");  // read last, so first in the list
  ASSERT_NE(store.Find("NOMBRE"), nullptr);
  EXPECT_EQ(store.Find("NOMBRE")->value(), d.nombre);
  EXPECT_EQ(store.Find("FORMULARIO")->attributeValue(), "\"10203045\"");
  EXPECT_EQ(store.Find("CODIGO_FORMULARIO")->value() + store.Find("NUMERO_VERSION")->value(),
            "7301");
  ASSERT_NE(store.FindByAttribute("ID", "\"118\""), nullptr);
  EXPECT_EQ(store.FindByAttribute("ID", "\"118\"")->value(), d.annex[0].nit);
  EXPECT_EQ(store.FindByAttribute("ID", "\"123\"")->value(), d.annex[1].product);
  EXPECT_EQ(store.FindByAttribute("ID", "\"124\""), nullptr);
  EXPECT_EQ(store.FindByAttribute("ID", "\"1621\"")->value(), "100.00");
}

TEST(XmlReaderDeclaration, ATruncatedDeclarationGivesNoEntries) {
  const std::string xml = testing::DeclarationXml(testing::SampleDeclaration{});
  const std::size_t closed = xml.rfind("</FORMULARIO>") + std::string("</FORMULARIO>").size();
  const std::size_t whole = Read(xml).size();
  ASSERT_GT(whole, 100u);
  for (std::size_t cut = 1; cut <= xml.size(); ++cut) {
    CXmlReader reader;
    reader.SetTrace(nullptr);
    ASSERT_TRUE(reader.Parse(xml.c_str(), static_cast<long>(cut)));
    const std::size_t read = InReadingOrder(reader.store()).size();
    ASSERT_EQ(read, cut < closed ? 0u : whole) << "cut at " << cut;
  }
}

// ---------------------------------------------------------------------------
// Element shapes

TEST(XmlReaderElements, LeafContainerAndEmptyElements) {
  EXPECT_EQ(
      Read("<A>1</A> <DIRECCION></DIRECCION> <P> <B>2</B> </P>"),
      (std::vector<Entry>{
          {"A", "1", "", ""}, {"DIRECCION", "", "", ""}, {"P", "", "", ""}, {"B", "2", "", ""}}));
  EXPECT_EQ(Read("<NIT>1</NIT><X ID=\"5\"/>"),
            (std::vector<Entry>{{"NIT", "1", "", ""}, {"X", "", "ID", "\"5\""}}));
  EXPECT_EQ(Read("<X/><Y />"), (std::vector<Entry>{{"X", "", "", ""}, {"Y", "", "", ""}}));
}

TEST(XmlReaderElements, CDataSectionIsTheElementText) {
  EXPECT_EQ(Read("<NOMBRE><![CDATA[JUAN  DE LA CRUZ ]]></NOMBRE>"),
            (std::vector<Entry>{{"NOMBRE", "", "", ""}, {"NOMBRE", "JUAN  DE LA CRUZ ", "", ""}}));
  EXPECT_EQ(Read("<NOMBRE><![CDATA[]]></NOMBRE>"),
            (std::vector<Entry>{{"NOMBRE", "", "", ""}, {"NOMBRE", "", "", ""}}));
  EXPECT_EQ(Read("<N><![cdata[x]]></N>"),
            (std::vector<Entry>{{"N", "", "", ""}, {"N", "x", "", ""}}));
  // Markup inside the section is text, not elements.
  EXPECT_EQ(Read("<N><![CDATA[<A>1</A> & <B/>]]></N>"),
            (std::vector<Entry>{{"N", "", "", ""}, {"N", "<A>1</A> & <B/>", "", ""}}));
  const std::string name(300, 'Q');
  EXPECT_EQ(Read("<NOMBRE><![CDATA[" + name + "]]></NOMBRE>").back(),
            Entry("NOMBRE", name, "", ""));
}

TEST(XmlReaderElements, CDataThatDoesNotFillTheContentGivesNoText) {
  // Not a garbled "A B]]" either: the section must end where the content ends.
  EXPECT_EQ(Read("<NOMBRE><![CDATA[A B]]> </NOMBRE><NIT>1</NIT>"),
            (std::vector<Entry>{{"NOMBRE", "", "", ""}, {"NIT", "1", "", ""}}));
  EXPECT_EQ(Read("<NOMBRE><![CDATA[]]</NOMBRE>"), (std::vector<Entry>{{"NOMBRE", "", "", ""}}));
}

TEST(XmlReaderElements, LongTextsAreKeptWhole) {
  const std::string value(5000, '7');
  const std::string name(120, 'E');
  const std::string attribute = "ID=\"" + std::string(80, '1') + "\"";
  EXPECT_EQ(Read("<" + name + " " + attribute + ">" + value + "</" + name + ">"),
            (std::vector<Entry>{{name, value, "ID", "\"" + std::string(80, '1') + "\""}}));
}

TEST(XmlReaderElements, ContainerEndingRightAfterItsLastChildDoesNotEndTheLevel) {
  const std::vector<Entry> expected = {
      {"CASILLAS", "", "", ""}, {"CASILLA", "1", "ID", "\"6\""}, {"MONTO", "5", "", ""}};
  EXPECT_EQ(Read("<CASILLAS><CASILLA ID=\"6\">1</CASILLA></CASILLAS><MONTO>5</MONTO>"), expected);
  EXPECT_EQ(Read(" <CASILLAS> <CASILLA ID=\"6\">1</CASILLA> </CASILLAS> <MONTO>5</MONTO> "),
            expected);
}

// ---------------------------------------------------------------------------
// Attributes

TEST(XmlReaderAttributes, SplitAtTheFirstEqualsSignAndKeptAsWritten) {
  EXPECT_EQ(Read("<C ID=\"118\">x</C>"), (std::vector<Entry>{{"C", "x", "ID", "\"118\""}}));
  EXPECT_EQ(Read("<C  ID=\"7\">x</C>"), (std::vector<Entry>{{"C", "x", " ID", "\"7\""}}));
  EXPECT_EQ(Read("<C ID=\"1\" B=\"a=b\">x</C>"),
            (std::vector<Entry>{{"C", "x", "ID", "\"1\" B=\"a=b\""}}));
  EXPECT_EQ(Read("<C ID= 'x' >x</C>"), (std::vector<Entry>{{"C", "x", "ID", " 'x' "}}));
  EXPECT_EQ(Read("<C =9>x</C>"), (std::vector<Entry>{{"C", "x", "", "9"}}));
}

TEST(XmlReaderAttributes, TextWithoutEqualsSignIsAllName) {
  EXPECT_EQ(Read("<C checked>x</C>"), (std::vector<Entry>{{"C", "x", "checked", ""}}));
  EXPECT_EQ(Read("<C  />"), (std::vector<Entry>{{"C", "", " ", ""}}));
}

// ---------------------------------------------------------------------------
// Text the scanner cannot read

TEST(XmlReaderUnreadable, XmlDeclarationGivesNoEntries) {
  CXmlReader reader;
  reader.SetTrace(nullptr);
  EXPECT_TRUE(
      Parse(reader, "<?xml version=\"1.0\"?><FORMULARIO NUMERO=\"1\"> <A>1</A> </FORMULARIO>"));
  EXPECT_TRUE(reader.store().empty());
}

TEST(XmlReaderUnreadable, UnclosedElementEndsOnlyItsOwnLevel) {
  EXPECT_EQ(Read("<A>1</A> <B>2 <C>3</C>"), (std::vector<Entry>{{"A", "1", "", ""}}));
  EXPECT_EQ(Read("<P> <A>1</A> <B>2 </P> <Q>3</Q>"),
            (std::vector<Entry>{{"P", "", "", ""}, {"A", "1", "", ""}, {"Q", "3", "", ""}}));
  EXPECT_EQ(Read("<A>1</A> <B"), (std::vector<Entry>{{"A", "1", "", ""}}));
  EXPECT_EQ(Read("text <A>1</A> between <B>2</B> after"),
            (std::vector<Entry>{{"A", "1", "", ""}, {"B", "2", "", ""}}));
}

// Elements E0 ... E(levels-1), each inside the one before, the last holding "leaf".
std::string Nest(int levels) {
  std::string xml;
  for (int i = 0; i < levels; ++i) xml += "<E" + std::to_string(i) + ">";
  xml += "leaf";
  for (int i = levels - 1; i >= 0; --i) xml += "</E" + std::to_string(i) + ">";
  return xml;
}

TEST(XmlReaderUnreadable, DeepNestingIsBoundedNotFatal) {
  constexpr auto kBound = static_cast<std::size_t>(CXmlScanner::kMaxDepth);
  const std::vector<Entry> upToTheBound = Read(Nest(CXmlScanner::kMaxDepth));
  ASSERT_EQ(upToTheBound.size(), kBound);
  EXPECT_EQ(upToTheBound.back(), Entry("E" + std::to_string(kBound - 1), "leaf", "", ""));

  const std::vector<Entry> hostile = Read(Nest(10000) + " <AFTER>1</AFTER>");
  ASSERT_EQ(hostile.size(), kBound + 1);
  EXPECT_EQ(hostile[kBound - 1], Entry("E" + std::to_string(kBound - 1), "", "", ""));
  EXPECT_EQ(hostile.back(), Entry("AFTER", "1", "", ""));
}

// ---------------------------------------------------------------------------
// Parse and the store

TEST(XmlReaderParse, RefusesNullAndEmptyInputAndTouchesNothing) {
  CXmlReader reader;
  reader.SetTrace(nullptr);
  ASSERT_TRUE(Parse(reader, "<A>1</A>"));
  EXPECT_FALSE(reader.Parse(nullptr, 10));
  EXPECT_FALSE(reader.Parse("<B>2</B>", 0));
  EXPECT_FALSE(reader.Parse("<B>2</B>", -5));
  EXPECT_EQ(reader.documentText(), "<A>1</A>");
  EXPECT_EQ(InReadingOrder(reader.store()), (std::vector<Entry>{{"A", "1", "", ""}}));
}

TEST(XmlReaderParse, ScansTheGivenLengthAndStopsAtANul) {
  CXmlReader reader;
  reader.SetTrace(nullptr);
  ASSERT_TRUE(reader.Parse("<A>1</A><B>2</B>", 8));
  EXPECT_EQ(reader.documentText(), "<A>1</A>");
  reader.ReplaceStore();
  std::string withNul = "<A>1</A>";
  withNul += '\0';
  withNul += "<B>2</B>";
  ASSERT_TRUE(Parse(reader, withNul));
  EXPECT_EQ(InReadingOrder(reader.store()), (std::vector<Entry>{{"A", "1", "", ""}}));
  reader.ReplaceStore();
  // A length beyond the text must not lead the scan past its terminator.
  ASSERT_TRUE(reader.Parse("<C>3</C>", 100000));
  EXPECT_EQ(InReadingOrder(reader.store()), (std::vector<Entry>{{"C", "3", "", ""}}));
}

TEST(XmlReaderParse, SecondParseAddsAndReplaceStoreEmpties) {
  CXmlReader reader;
  reader.SetTrace(nullptr);
  ASSERT_TRUE(Parse(reader, "<NIT>1</NIT>"));
  ASSERT_TRUE(Parse(reader, "<NIT>2</NIT>"));
  EXPECT_EQ(reader.documentText(), "<NIT>2</NIT>");
  EXPECT_EQ(InReadingOrder(reader.store()),
            (std::vector<Entry>{{"NIT", "1", "", ""}, {"NIT", "2", "", ""}}));
  EXPECT_EQ(reader.store().Find("NIT")->value(), "2");
  reader.ReplaceStore();
  EXPECT_TRUE(reader.store().empty());
  ASSERT_TRUE(Parse(reader, "<NIT>3</NIT>"));
  EXPECT_EQ(InReadingOrder(reader.store()), (std::vector<Entry>{{"NIT", "3", "", ""}}));
}

// ---------------------------------------------------------------------------
// Diagnostic trace

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST(XmlReaderTrace, WritesEveryStep) {
  const std::string xml = "<F N=\"1\"> <A>x</A> <B></B> </F>";
  std::ostringstream out;
  CXmlReader reader;
  reader.SetTrace(&out);
  ASSERT_TRUE(Parse(reader, xml));

  const std::vector<std::string> lines = Lines(out.str());
  ASSERT_EQ(lines.size(), 20u) << out.str();
  const std::string prefix = "parse node: ";
  ASSERT_EQ(lines[5].rfind(prefix, 0), 0u);
  const unsigned long top = std::stoul(lines[5].substr(prefix.size()));
  const std::vector<std::string> expected = {"----- parse document -----",
                                             xml,
                                             "",
                                             "----- start parsing -----",
                                             "",
                                             prefix + std::to_string(top),
                                             "",
                                             "Found Node: ",
                                             "name: F",
                                             "attributes: N=\"1\"",
                                             "",
                                             prefix + std::to_string(top + 1),
                                             "",
                                             "Found Element: ",
                                             "name: A",
                                             "value: x",
                                             "",
                                             "Found Element: ",
                                             "name: B",
                                             ""};
  EXPECT_EQ(lines, expected);
}

// The trace holds taxpayer data: standard output gets it only on request.
TEST(XmlReaderTrace, StandardOutputOnlyWhenTheEnvironmentAsks) {
  const char* kVariable = "FORMULARIO7301_TRACE";
  const char* previous = std::getenv(kVariable);
  const std::string saved = previous ? previous : "";

  auto captureParse = []() {
    std::ostringstream captured;
    std::streambuf* original = std::cout.rdbuf(captured.rdbuf());
    CXmlReader reader;
    const bool ok = reader.Parse("<NIT>98765</NIT>", 16);
    std::cout.rdbuf(original);
    EXPECT_TRUE(ok);
    return captured.str();
  };

  unsetenv(kVariable);
  EXPECT_EQ(captureParse(), "");
  setenv(kVariable, "1", 1);
  EXPECT_NE(captureParse().find("value: 98765"), std::string::npos);

  if (previous) {
    setenv(kVariable, saved.c_str(), 1);
  } else {
    unsetenv(kVariable);
  }
}

}  // namespace
}  // namespace f7301
