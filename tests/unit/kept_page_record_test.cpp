// The program's own copy of the form, from which a draft is written when the
// page cannot answer: what the page gave, the values it reported since, and
// a refused write never passing silently.
#include "draft/kept_page_record.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "draft/draft_store.h"
#include "tests/unit/declaration_test_support.h"

namespace f7301 {
namespace {

struct Step {
  enum Kind { kPage, kAsk, kReport } kind;
  std::string a;       // the page's record, or the field reported
  std::string b = {};  // the value reported
};

TEST(KeptPageRecord, HoldsWhatThePageGaveAndEveryValueReportedSince) {
  const std::string page = R"({"filas":[0,3],"campos":{"c2":"","c3":"","f11c2":""},"foco":""})";
  const struct {
    const char* what;
    std::vector<Step> steps;
    std::string json;
  } cases[] = {
      {"nothing yet", {}, ""},
      {"the page's record as it gave it",
       {{Step::kPage, page}},
       R"({"filas":[0,3],"campos":{"c2":"","c3":"","f11c2":""},"foco":""})"},
      {"a NIT typed while a message held the page",
       {{Step::kPage, page}, {Step::kReport, "c2", "1234"}},
       R"({"filas":[0,3],"campos":{"c2":"1234","c3":"","f11c2":""},"foco":"c2"})"},
      {"reports before any record still make one",
       {{Step::kReport, "c3", "ANA"}, {Step::kReport, "c3", "ANA B"}},
       R"({"filas":[0,0],"campos":{"c3":"ANA B"},"foco":"c3"})"},
      {"a cell of a row added on the page adds the rows; one past the annex is none",
       {{Step::kPage, page}, {Step::kReport, "f17c3", "DIESEL"}, {Step::kReport, "f1501c1", "19"}},
       R"({"filas":[0,7],"campos":{"c2":"","c3":"","f11c2":"","f17c3":"DIESEL"},"foco":"f17c3"})"},
      {"a record asked before a value was typed keeps the value",
       {{Step::kAsk, ""}, {Step::kReport, "c3", "ANA"}, {Step::kPage, page}},
       R"({"filas":[0,3],"campos":{"c2":"","c3":"ANA","f11c2":""},"foco":"c3"})"},
      {"values reported before the record was asked are the page's",
       {{Step::kReport, "f11c2", "5"},
        {Step::kAsk, ""},
        {Step::kPage, R"({"filas":[0,3],"campos":{"f11c2":"5.00"}})"}},
       R"({"filas":[0,3],"campos":{"f11c2":"5.00"}})"},
      {"names that are no field, and a record that is none, change nothing",
       {{Step::kPage, page},
        {Step::kReport, "c 2", "x"},
        {Step::kReport, "", "x"},
        {Step::kReport, std::string(65, 'c'), "x"},
        {Step::kPage, "{\"filas\":[0,3]"}},
       R"({"filas":[0,3],"campos":{"c2":"","c3":"","f11c2":""},"foco":""})"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    KeptPageRecord kept;
    for (const Step& step : c.steps) {
      if (step.kind == Step::kPage) kept.Take(step.a);
      if (step.kind == Step::kAsk) kept.Asked();
      if (step.kind == Step::kReport) kept.Report(step.a, step.b);
    }
    EXPECT_EQ(kept.Json(), c.json);
  }
}

// A box without a length limit of its own: whatever it holds is kept, up to
// the size of a whole draft; past it the write is refused, never dropped
// unseen.
TEST(KeptPageRecord, AnyValueTheFormHoldsIsKeptUpToTheDraftsSize) {
  testing::TemporaryDirectory dir;
  DraftStore store(dir.path() / "borradores", "7.1");
  ASSERT_TRUE(store.Open());
  const struct {
    std::size_t nameLength;
    bool written;
  } cases[] = {{65537, true}, {kMaxDraftFileSize - 1024, true}, {kMaxDraftFileSize, false}};
  for (const auto& c : cases) {
    KeptPageRecord kept;
    kept.Take(R"({"filas":[0,3],"campos":{"c2":"19"}})");
    kept.Report("c3", std::string(c.nameLength, 'N'));
    kept.Report("mes_ini", "03");
    Draft draft;
    draft.page = kept.Json();
    EXPECT_EQ(store.Write(1, draft), c.written) << c.nameLength;
    if (c.written) {
      EXPECT_LE(std::filesystem::file_size(store.FileOf(1)), kMaxDraftFileSize);
      std::ifstream in(store.FileOf(1), std::ios::binary);
      const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
      const DraftReading back = ParseDraft(text);
      EXPECT_EQ(back.problem, DraftProblem::kNone);
      EXPECT_EQ(back.draft.page, draft.page);
    }
  }
}

}  // namespace
}  // namespace f7301
