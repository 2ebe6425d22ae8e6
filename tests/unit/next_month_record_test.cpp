// The next month's form from a read declaration: the page record that the
// page puts back, built from declarations as the page writes them.
#include "next_month/next_month_record.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "formpage/field_model.h"
#include "tests/support/sample_declaration.h"
#include "xmlstore/xml_reader.h"

namespace f7301 {
namespace {

using nlohmann::json;

// The record of the next month after the declaration `d`, as JSON.
json RecordAfter(const testing::SampleDeclaration& d) {
  CXmlReader reader;
  const std::string xml = testing::DeclarationXml(d);
  reader.Parse(xml.data(), static_cast<long>(xml.size()));
  return json::parse(NextMonthRecord(reader.store()));
}

std::string Field(const json& record, const std::string& name) {
  const json& fields = record.at("campos");
  return fields.contains(name) ? fields.at(name).get<std::string>() : "(absent)";
}

TEST(NextPeriodTest, MonthsRunOnAndDecemberTurnsTheYear) {
  struct Case {
    Period from, next;
  };
  const std::vector<Case> cases = {
      {{2011, 3}, {2011, 4}},  {{2026, 11}, {2026, 12}}, {{2026, 12}, {2027, 1}},
      {{1999, 12}, {2000, 1}}, {{2024, 1}, {2024, 2}},
  };
  for (const Case& c : cases) EXPECT_EQ(NextPeriod(c.from), c.next) << c.from.year << c.from.month;
}

TEST(NextMonthRecordTest, PeriodIsTheMonthAfterTheDeclaredOne) {
  struct Case {
    const char* desde;
    const char* month;  // mes_ini of the record
    const char* year;   // anio_ini
  };
  const std::vector<Case> cases = {
      {"20110301", "04", "2011"},
      {"20261201", "01", "2027"},
      {"20260901", "10", "2026"},
      {"20260115", "02", "2026"},  // the month counts, whatever the day
      // Not a month's date: left for the user to type.
      {"20261301", "", ""},
      {"20260001", "", ""},
      {"2026121", "", ""},
      {"202612011", "", ""},
      {"2026-201", "", ""},
      {"00001201", "", ""},
      {"", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.desde);
    testing::SampleDeclaration d;
    d.desde = c.desde;
    const json record = RecordAfter(d);
    EXPECT_EQ(Field(record, "mes_ini"), c.month);
    EXPECT_EQ(Field(record, "anio_ini"), c.year);
    EXPECT_EQ(Field(record, "dia_ini"), "01");
    // The end of the period is the page's to work out.
    for (const char* name : {"dia_fin", "mes_fin", "anio_fin", "c4", "c5"}) {
      EXPECT_EQ(Field(record, name), "") << name;
    }
  }
}

TEST(NextMonthRecordTest, EachProductOpensWithItsClosingBalanceAndNothingElseIsKept) {
  testing::SampleDeclaration d = testing::FullSample(3);  // every box filled
  for (int row = 1; row <= kProductRowCount; ++row) {
    d.boxes[GridBox(row, kGridColumnCount)] = std::to_string(row * 1000 + 7) + ".25";
  }
  const json record = RecordAfter(d);
  for (int row = 1; row <= kProductRowCount; ++row) {
    EXPECT_EQ(Field(record, BoxFieldName(GridBox(row, 1))), std::to_string(row * 1000 + 7) + ".25")
        << row;
  }
  int kept = 0;
  for (int box = kFirstGridBox; box <= kLastGridBox; ++box) {
    const bool opening = (box - kFirstGridBox) % kGridColumnCount == 0 && box < GridBox(14, 1);
    if (opening) {
      ++kept;
      continue;
    }
    EXPECT_EQ(Field(record, BoxFieldName(box)), "") << box;
  }
  EXPECT_EQ(kept, kProductRowCount);
  for (int box : {kAnnexTotalBox, kRectifiedBox, kFineBox, kTotalToPayBox}) {
    EXPECT_EQ(Field(record, BoxFieldName(box)), "") << box;
  }
  EXPECT_EQ(Field(record, "c1"), "(absent)") << "the page numbers the new form";
  EXPECT_EQ(Field(record, "f11c1"), "(absent)") << "the annex starts blank";
  EXPECT_EQ(record.at("filas"), json::array({0, kBlankAnnexRows}));
  EXPECT_EQ(record.at("foco"), "c7");
}

TEST(NextMonthRecordTest, TaxpayerAndOddStoredValuesPassAsStoredForThePageToJudge) {
  struct Case {
    const char* what;
    std::string stored;  // Windows-1252, as in the declaration
    std::string record;  // UTF-8, as in the record
  };
  const std::vector<Case> balances = {
      {"an empty box is stored 0", "0", ""},
      {"zero with decimals", "0.00", "0.00"},
      {"negative", "-12.50", "-12.50"},
      {"not a number", "abc", "abc"},
      {"quotes and backslash", "1\"'\\", "1\"'\\"},
      {"Windows-1252 text", "\x80\xD1", "\xE2\x82\xAC\xC3\x91"},
      {"huge", std::string(5000, '9'), std::string(5000, '9')},
  };
  for (const Case& c : balances) {
    SCOPED_TRACE(c.what);
    testing::SampleDeclaration d;
    d.nit = "1234567-9";
    d.nombre =
        "ESTACI\xD3N \"EL \xD1"
        "AND\xDA\" & <HIJOS>";
    d.boxes[109] = c.stored;  // Asfaltos, the last product
    const json record = RecordAfter(d);
    EXPECT_EQ(Field(record, "c102"), c.record);
    EXPECT_EQ(Field(record, "c2"), "1234567-9");
    EXPECT_EQ(Field(record, "c3"),
              "ESTACI\xC3\x93N \"EL \xC3\x91"
              "AND\xC3\x9A\" & <HIJOS>");
  }
}

TEST(NextMonthRecordTest, DeclarationMissingPartsGivesEmptyFields) {
  CXmlReader reader;
  const std::string xml =
      "<FORMULARIO NUMERO=\"1\"><CASILLAS><CASILLA ID=\"13\">5</CASILLA>"
      "</CASILLAS></FORMULARIO>";
  reader.Parse(xml.data(), static_cast<long>(xml.size()));
  const json record = json::parse(NextMonthRecord(reader.store()));
  EXPECT_EQ(Field(record, "c2"), "");
  EXPECT_EQ(Field(record, "c3"), "");
  EXPECT_EQ(Field(record, "mes_ini"), "");
  EXPECT_EQ(Field(record, "c6"), "5");
  EXPECT_EQ(Field(record, "c14"), "");
}

}  // namespace
}  // namespace f7301
