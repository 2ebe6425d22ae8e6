// The folder of kept drafts: private modes, whole files whatever happens to
// the program writing them, and programs that never take each other's drafts.
#include "draft/draft_store.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "tests/unit/declaration_test_support.h"

namespace f7301 {
namespace {

namespace fs = std::filesystem;
using testing::TemporaryDirectory;

std::string PageWith(const std::string& nit, int rows = 3) {
  std::string page =
      R"({"filas":[0,)" + std::to_string(rows) + R"(],"campos":{"c2":")" + nit + "\"";
  for (int row = 1; row <= rows; ++row) {
    page += ",\"f1" + std::to_string(row) + "c2\":\"" + std::to_string(row) + ".00\"";
  }
  return page + "}}";
}

Draft DraftOf(const std::string& nit, std::int64_t savedAtMs = 1, int rows = 3) {
  Draft draft;
  draft.savedAtMs = savedAtMs;
  draft.page = PageWith(nit, rows);
  return draft;
}

std::string ReadText(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

fs::perms ModeOf(const fs::path& path) { return fs::status(path).permissions() & fs::perms::mask; }

std::vector<std::string> Names(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

class DraftStoreTest : public ::testing::Test {
 protected:
  TemporaryDirectory root;
  fs::path folder = root.path() / "share" / "Formulario7301";
};

TEST_F(DraftStoreTest, FolderAndFilesAreTheUsersAlone) {
  DraftStore store(folder, "1.1");
  ASSERT_TRUE(store.Open());
  EXPECT_EQ(ModeOf(folder), fs::perms::owner_all);
  ASSERT_TRUE(store.Write(1, DraftOf("19")));
  EXPECT_EQ(ModeOf(store.FileOf(1)), fs::perms::owner_read | fs::perms::owner_write);
  // A second write replaces the file, and it stays private.
  ASSERT_TRUE(store.Write(1, DraftOf("27")));
  EXPECT_EQ(ModeOf(store.FileOf(1)), fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(ParseDraft(ReadText(store.FileOf(1))).draft.page, PageWith("27"));
}

TEST_F(DraftStoreTest, AnOpenFolderIsClosedToOthers) {
  fs::create_directories(folder);
  fs::permissions(folder, fs::perms::all);
  DraftStore store(folder, "1.1");
  ASSERT_TRUE(store.Open());
  EXPECT_EQ(ModeOf(folder), fs::perms::owner_all);
}

TEST_F(DraftStoreTest, NoFolderMeansNoDrafts) {
  std::ofstream(root.path() / "share") << "a file where the folder would go";
  DraftStore store(folder, "1.1");
  EXPECT_FALSE(store.Open());
  EXPECT_FALSE(store.Write(1, DraftOf("19")));
  DraftStore nowhere("", "1.1");
  EXPECT_FALSE(nowhere.Open());
}

TEST_F(DraftStoreTest, FolderFollowsXdgDataHome) {
  const char* saved = std::getenv("XDG_DATA_HOME");
  const std::string before = saved ? saved : "";
  setenv("XDG_DATA_HOME", "/datos/ana", 1);
  EXPECT_EQ(DefaultDraftFolder(), fs::path("/datos/ana/Formulario7301"));
  setenv("XDG_DATA_HOME", "relativo", 1);  // not absolute: ignored, as the standard says
  const fs::path home = std::getenv("HOME");
  EXPECT_EQ(DefaultDraftFolder(), home / ".local/share/Formulario7301");
  unsetenv("XDG_DATA_HOME");
  EXPECT_EQ(DefaultDraftFolder(), home / ".local/share/Formulario7301");
  if (saved) setenv("XDG_DATA_HOME", before.c_str(), 1);
}

TEST_F(DraftStoreTest, TwoProgramsKeepTheirOwnDraftsAndNeverOfferALiveOnesDrafts) {
  auto first = std::make_unique<DraftStore>(folder, "100.1");
  DraftStore second(folder, "200.2");
  ASSERT_TRUE(first->Open());
  ASSERT_TRUE(second.Open());
  ASSERT_TRUE(first->Write(1, DraftOf("19")));
  ASSERT_TRUE(second.Write(1, DraftOf("27")));
  EXPECT_NE(first->FileOf(1), second.FileOf(1));
  EXPECT_TRUE(second.ClaimAbandoned().empty()) << "the first program is still running";
  second.ReleaseClaims();

  first.reset();  // the first program ends and leaves its draft
  auto found = second.ClaimAbandoned();
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].problem, DraftProblem::kNone);
  EXPECT_EQ(found[0].draft.page, PageWith("19"));

  // While the second program has it on offer, a third does not see it.
  DraftStore third(folder, "300.3");
  ASSERT_TRUE(third.Open());
  EXPECT_TRUE(third.ClaimAbandoned().empty());
  third.ReleaseClaims();

  second.ReleaseClaims();
  EXPECT_EQ(third.ClaimAbandoned().size(), 1u);
}

TEST_F(DraftStoreTest, OfferedDraftsAreAdoptedDiscardedOrSetAside) {
  {
    DraftStore earlier(folder, "100.1");
    ASSERT_TRUE(earlier.Open());
    ASSERT_TRUE(earlier.Write(1, DraftOf("19", 3000)));
    ASSERT_TRUE(earlier.Write(2, DraftOf("27", 1000)));
    ASSERT_TRUE(earlier.Write(3, DraftOf("35", 2000)));
  }
  std::ofstream(folder / "borrador-100.1-4.json") << "{\"formato\": \"Formulario7301 borr";
  std::ofstream(folder / "otra-cosa.json") << "not ours";

  DraftStore store(folder, "200.2");
  ASSERT_TRUE(store.Open());
  auto found = store.ClaimAbandoned();
  ASSERT_EQ(found.size(), 4u);
  EXPECT_EQ(found[0].problem, DraftProblem::kDamaged);  // no time known: first
  EXPECT_EQ(found[1].draft.page, PageWith("27"));       // then the oldest change
  EXPECT_EQ(found[2].draft.page, PageWith("35"));
  EXPECT_EQ(found[3].draft.page, PageWith("19"));

  const fs::path aside = store.SetAside(found[0]);
  EXPECT_EQ(aside.filename(), "borrador-100.1-4.json.apartado");
  store.Discard(found[1]);
  ASSERT_TRUE(store.Adopt(found[2], 1));
  EXPECT_EQ(ParseDraft(ReadText(store.FileOf(1))).draft.page, PageWith("35"));
  store.ReleaseClaims();
  // The draft left alone is still offered; the others are gone for good.
  EXPECT_EQ(Names(folder),
            (std::vector<std::string>{"borrador-100.1-1.json", "borrador-100.1-4.json.apartado",
                                      "borrador-100.1.lock", "borrador-200.2-1.json",
                                      "borrador-200.2.lock", "otra-cosa.json"}));
  store.Discard(store.ClaimAbandoned().at(0));
  store.ReleaseClaims();
  EXPECT_FALSE(fs::exists(folder / "borrador-100.1.lock")) << "a program with no drafts left";
}

TEST_F(DraftStoreTest, AProgramThatEndsWithoutDraftsLeavesNothing) {
  {
    DraftStore store(folder, "100.1");
    ASSERT_TRUE(store.Open());
    ASSERT_TRUE(store.Write(1, DraftOf("19")));
    store.Remove(1);
  }
  EXPECT_TRUE(Names(folder).empty());
}

// A program killed at any moment while it writes its draft leaves the
// previous draft or the new one, whole; its leftovers are cleared by the
// next program.
TEST_F(DraftStoreTest, AKillDuringAWriteLeavesAWholeDraft) {
  const Draft small = DraftOf("19", 1, 3);
  const Draft large = DraftOf("27", 2, 500);
  for (int round = 0; round < 12; ++round) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      DraftStore store(folder, "900." + std::to_string(round));
      if (!store.Open() || !store.Write(1, small)) _exit(3);
      std::ofstream(folder / ("ready-" + std::to_string(round))) << "";
      for (int i = 0;; ++i) store.Write(1, i % 2 ? small : large);
    }
    const fs::path ready = folder / ("ready-" + std::to_string(round));
    for (int wait = 0; wait < 2000 && !fs::exists(ready); ++wait) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_TRUE(fs::exists(ready));
    std::this_thread::sleep_for(std::chrono::microseconds(1500 * round));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    fs::remove(ready);
  }

  DraftStore next(folder, "999.1");
  ASSERT_TRUE(next.Open());
  const auto found = next.ClaimAbandoned();
  ASSERT_EQ(found.size(), 12u);
  for (const AbandonedDraft& draft : found) {
    EXPECT_EQ(draft.problem, DraftProblem::kNone) << draft.file;
    EXPECT_TRUE(draft.draft.page == small.page || draft.draft.page == large.page) << draft.file;
  }
  for (const std::string& name : Names(folder)) {
    EXPECT_EQ(name.find(".tmp"), std::string::npos) << name << " left behind";
  }
}

}  // namespace
}  // namespace f7301
