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
  empty.page = R"({"filas":[0,3],"campos":{"f11c1":"","f1c1":"x","f1600c1":"x"}})";
  const DraftSummary none = Summarize(empty);
  EXPECT_EQ(none.nit, "");
  EXPECT_EQ(none.annexRows, 0);
}

}  // namespace
}  // namespace f7301
