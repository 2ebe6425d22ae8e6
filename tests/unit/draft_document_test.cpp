// The draft file's text: what is written is read back the same, and a file
// that is not one of ours is recognised as such.
#include "draft/draft_document.h"

#include <gtest/gtest.h>

#include <string>

namespace f7301 {
namespace {

const std::string kPage =
    R"({"filas":[0,4],"campos":{"c2":"19","c3":"ESTACIÓN \"ÑANDÚ\"","c6":"12.5x",)"
    R"("f11c1":"19","f11c2":"1.50","f11c3":"DIESEL","f12c1":"","f12c2":"","f12c3":"",)"
    R"("f13c1":"","f13c2":"7","f13c3":"","f14c1":"","f14c2":"","f14c3":""},"foco":"c6"})";

Draft SampleDraft() {
  Draft draft;
  draft.savedAtMs = 1'796'000'000'123;
  draft.reopened = true;
  draft.sourceFile = "/home/ana/declaraciones/19/7301/RTQ-19730111010001";
  draft.page = kPage;
  return draft;
}

TEST(DraftDocumentTest, ReadsBackWhatWasWritten) {
  const std::string text = DraftToJson(SampleDraft());
  ASSERT_FALSE(text.empty());
  const DraftReading reading = ParseDraft(text);
  ASSERT_EQ(reading.problem, DraftProblem::kNone);
  EXPECT_EQ(reading.draft.savedAtMs, 1'796'000'000'123);
  EXPECT_TRUE(reading.draft.reopened);
  EXPECT_EQ(reading.draft.sourceFile, SampleDraft().sourceFile);
  // The page gets back every value it gave, refused or odd ones included.
  EXPECT_EQ(reading.draft.page, kPage);
}

TEST(DraftDocumentTest, RefusesWhatItDidNotWrite) {
  const std::string good = DraftToJson(SampleDraft());
  std::string cut = good.substr(0, good.size() / 2);
  EXPECT_EQ(ParseDraft(cut).problem, DraftProblem::kDamaged);
  EXPECT_EQ(ParseDraft("").problem, DraftProblem::kDamaged);
  EXPECT_EQ(ParseDraft("[1,2,3]").problem, DraftProblem::kDamaged);
  EXPECT_EQ(ParseDraft(std::string("{\"formato\":\"otro\"}")).problem, DraftProblem::kDamaged);

  std::string otherVersion = good;
  otherVersion.replace(otherVersion.find("\"version\":1"), 11, "\"version\":2");
  EXPECT_EQ(ParseDraft(otherVersion).problem, DraftProblem::kOtherVersion);

  std::string numberAsValue = good;
  numberAsValue.replace(numberAsValue.find("\"c2\":\"19\""), 9, "\"c2\":19");
  EXPECT_EQ(ParseDraft(numberAsValue).problem, DraftProblem::kDamaged);

  std::string tooManyRows = good;
  tooManyRows.replace(tooManyRows.find("[0,4]"), 5, "[0,501]");
  EXPECT_EQ(ParseDraft(tooManyRows).problem, DraftProblem::kDamaged);

  std::string huge(kMaxDraftFileSize + 1, ' ');
  EXPECT_EQ(ParseDraft(huge).problem, DraftProblem::kTooLarge);
}

TEST(DraftDocumentTest, WritesOnlyPageRecords) {
  Draft draft = SampleDraft();
  for (const char* notARecord : {"", "{}", "{\"filas\":[0,3]}", "{\"filas\":[],\"campos\":{}}",
                                 "{\"filas\":[0,-1],\"campos\":{}}", "nonsense"}) {
    draft.page = notARecord;
    EXPECT_FALSE(IsPageRecord(notARecord)) << notARecord;
    EXPECT_EQ(DraftToJson(draft), "") << notARecord;
  }
  EXPECT_TRUE(IsPageRecord(kPage));
}

TEST(DraftDocumentTest, SummaryNamesTheTaxpayerAndCountsRowsHoldingAnything) {
  const DraftSummary summary = Summarize(SampleDraft());
  EXPECT_EQ(summary.nit, "19");
  EXPECT_EQ(summary.name, "ESTACIÓN \"ÑANDÚ\"");
  EXPECT_EQ(summary.annexRows, 2);  // row 1 complete, row 3 with gallons only

  Draft empty = SampleDraft();
  empty.page = R"({"filas":[0,3],"campos":{"f11c1":"","f1c1":"x","f1500c4":"x"}})";
  const DraftSummary none = Summarize(empty);
  EXPECT_EQ(none.nit, "");
  EXPECT_EQ(none.annexRows, 0);
  EXPECT_TRUE(summary.anyValue);
  EXPECT_TRUE(none.anyValue);
  empty.page = R"({"filas":[0,3],"campos":{"c2":"","f11c1":""}})";
  EXPECT_FALSE(Summarize(empty).anyValue);
}

// `good` with its first `from` replaced by `to`.
std::string Replaced(std::string good, const std::string& from, const std::string& to) {
  const auto at = good.find(from);
  if (at == std::string::npos) return "not found: " + from;
  return good.replace(at, from.size(), to);
}

std::string Repeated(const std::string& piece, std::size_t times) {
  std::string text;
  text.reserve(piece.size() * times);
  for (std::size_t i = 0; i < times; ++i) text += piece;
  return text;
}

// Files no program of ours wrote, among them those that once crashed or hung
// the program at every start: each is refused, none is half read.
TEST(DraftDocumentTest, EveryFileGoesThroughOneSchemaCheck) {
  const std::string good = DraftToJson(SampleDraft());
  const std::string deep = Repeated("[", 200'000) + Repeated("]", 200'000);
  const std::string digits(200'000, '7');
  const struct {
    const char* what;
    std::string text;
    DraftProblem problem;
  } cases[] = {
      {"format of another type", Replaced(good, "\"Formulario7301 borrador\"", "7"),
       DraftProblem::kDamaged},
      {"version as text", Replaced(good, "\"version\":1", "\"version\":\"1\""),
       DraftProblem::kDamaged},
      {"time as a fraction", Replaced(good, "\"guardado_ms\":1796000000123", "\"guardado_ms\":1.5"),
       DraftProblem::kDamaged},
      {"origin as a list", Replaced(good, "{\"modificar\"", "[{\"modificar\""),
       DraftProblem::kDamaged},
      {"reopened as text", Replaced(good, "\"modificar\":true", "\"modificar\":\"si\""),
       DraftProblem::kDamaged},
      {"unknown top key", Replaced(good, "{\"formato\"", "{\"otro\":1,\"formato\""),
       DraftProblem::kDamaged},
      {"key nested 200,000 deep", Replaced(good, "{\"formato\"", "{\"x\":" + deep + ",\"formato\""),
       DraftProblem::kDamaged},
      {"deep in a field", Replaced(good, "\"c2\":\"19\"", "\"c2\":" + deep),
       DraftProblem::kDamaged},
      {"field name of 200,000 digits",
       Replaced(good, "\"c2\":\"19\"", "\"f1" + digits + "c1\":\"x\",\"c2\":\"19\""),
       DraftProblem::kDamaged},
      {"field name with a space", Replaced(good, "\"c2\"", "\"c 2\""), DraftProblem::kDamaged},
      {"field twice", Replaced(good, "\"c2\":\"19\"", "\"c2\":\"19\",\"c2\":\"27\""),
       DraftProblem::kDamaged},
      // A value may be as long as a whole draft: one longer makes the file too large.
      {"value too long",
       Replaced(good, "\"c2\":\"19\"",
                "\"c2\":\"" + std::string(kMostDraftValueBytes + 1, '1') + "\""),
       DraftProblem::kTooLarge},
      {"unknown page key", Replaced(good, "\"foco\"", "\"otra\":\"\",\"foco\""),
       DraftProblem::kDamaged},
      {"focus as a number", Replaced(good, "\"foco\":\"c6\"", "\"foco\":6"),
       DraftProblem::kDamaged},
      {"rows nested", Replaced(good, "[0,4]", "[0,[4]]"), DraftProblem::kDamaged},
      {"rows empty", Replaced(good, "[0,4]", "[]"), DraftProblem::kDamaged},
      {"17 row counts", Replaced(good, "[0,4]", "[0,4" + Repeated(",0", 15) + "]"),
       DraftProblem::kDamaged},
      {"annex cell past row 500",
       Replaced(good, "\"c2\":\"19\"", "\"f1501c1\":\"x\",\"c2\":\"19\""), DraftProblem::kDamaged},
      {"annex cell of row 10,000",
       Replaced(good, "\"c2\":\"19\"", "\"f110000c3\":\"x\",\"c2\":\"19\""),
       DraftProblem::kDamaged},
      {"source file too long",
       Replaced(good, "\"archivo\":\"", "\"archivo\":\"" + std::string(kMostDraftPathBytes, 'a')),
       DraftProblem::kDamaged},
      {"no page", Replaced(good, ",\"pagina\"", "}" + std::string(",\"pagina\"")),
       DraftProblem::kDamaged},
      {"another version, other keys",
       R"({"formato":"Formulario7301 borrador","version":2,"hojas":[{"a":[1]}]})",
       DraftProblem::kOtherVersion},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseDraft(c.text).problem, c.problem) << c.what;
  }
  // What is refused is never summarised from half a record either.
  Draft crafted = SampleDraft();
  crafted.page = R"({"filas":[0,3],"campos":{"f1)" + digits + R"(c1":"x"}})";
  EXPECT_EQ(Summarize(crafted).annexRows, 0);
  EXPECT_FALSE(IsPageRecord(crafted.page));
}

// Accepted as the page writes it: no focus, many fields, any text.
TEST(DraftDocumentTest, AcceptsEveryRecordThePageWrites) {
  Draft draft = SampleDraft();
  // Escapes, a line separator (U+2028) and a control character.
  std::string fields = R"("c2":"\u0000\t\"\\ ñ )"
                       "\xE2\x80\xA8"
                       R"(\u001f")";
  for (int row = 1; row <= 500; ++row) fields += ",\"f1" + std::to_string(row) + "c3\":\"x\"";
  for (const std::string& page : {std::string(R"({"filas":[0,500],"campos":{)") + fields + "}}",
                                  std::string(R"({"filas":[0],"campos":{},"foco":""})")}) {
    draft.page = page;
    const DraftReading reading = ParseDraft(DraftToJson(draft));
    ASSERT_EQ(reading.problem, DraftProblem::kNone) << page.substr(0, 60);
    EXPECT_TRUE(reading.draft.page == page) << reading.draft.page.substr(0, 60);
  }
  EXPECT_EQ(Summarize(draft).annexRows, 0);
  draft.page = std::string(R"({"filas":[0,500],"campos":{)") + fields + "}}";
  EXPECT_EQ(Summarize(draft).annexRows, 500);
}

}  // namespace
}  // namespace f7301
