// The folder of kept drafts: private modes, whole files whatever happens to
// the program writing them, and programs that never take each other's drafts.
#include "draft/draft_store.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
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
  EXPECT_EQ(found[1].draft.page, PageWith("19"));       // then the newest change
  EXPECT_EQ(found[2].draft.page, PageWith("35"));
  EXPECT_EQ(found[3].draft.page, PageWith("27"));

  const fs::path aside = store.SetAside(found[0]);
  EXPECT_EQ(aside.filename(), "borrador-100.1-4.json.apartado");
  store.Discard(found[3]);
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

// Whatever stands in the folder under a draft's name, the start never waits
// on it and never follows it: only a regular file is opened, and only once
// it is known to be one.
TEST_F(DraftStoreTest, OnlyRegularFilesAreReadAndOthersAreSetAsideAtOnce) {
  {
    DraftStore ended(folder, "100.1");
    ASSERT_TRUE(ended.Open());
    ASSERT_TRUE(ended.Write(1, DraftOf("19")));
  }
  const fs::path good = folder / "borrador-100.1-1.json";
  const fs::path fifo = folder / "borrador-100.1-2.json";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  fs::create_directory(folder / "borrador-100.1-3.json");
  fs::create_symlink(good, folder / "borrador-100.1-4.json");
  fs::create_symlink("/dev/zero", folder / "borrador-100.1-5.json");

  DraftStore store(folder, "200.2");
  ASSERT_TRUE(store.Open());
  auto claim = std::async(std::launch::async, [&] { return store.ClaimAbandoned(); });
  if (claim.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
    ::close(::open(fifo.c_str(), O_WRONLY | O_NONBLOCK));  // lets a blocked reader go
    FAIL() << "the start waits on a FIFO";
  }
  const auto found = claim.get();
  ASSERT_EQ(found.size(), 5u);
  for (const AbandonedDraft& draft : found) {
    const bool isGood = draft.file == good;
    EXPECT_EQ(draft.problem, isGood ? DraftProblem::kNone : DraftProblem::kDamaged) << draft.file;
    if (!isGood) {
      EXPECT_FALSE(store.SetAside(draft).empty()) << draft.file;
    }
  }
  store.ReleaseClaims();
  EXPECT_TRUE(fs::is_fifo(fs::symlink_status(folder / "borrador-100.1-2.json.apartado")));
  EXPECT_TRUE(fs::is_symlink(fs::symlink_status(folder / "borrador-100.1-4.json.apartado")));
  EXPECT_EQ(ParseDraft(ReadText(good)).draft.page, PageWith("19")) << "the link's target stays";
}

// An adopted draft is private at once; a draft another user owns is not
// offered; a link in place of the folder is not followed.
TEST_F(DraftStoreTest, AdoptedDraftsArePrivateAndOthersDraftsAndLinksAreLeftAlone) {
  {
    DraftStore ended(folder, "100.1");
    ASSERT_TRUE(ended.Open());
    ASSERT_TRUE(ended.Write(1, DraftOf("19", 2)));
    ASSERT_TRUE(ended.Write(2, DraftOf("27", 1)));
  }
  fs::permissions(folder / "borrador-100.1-1.json", fs::perms::owner_read | fs::perms::owner_write |
                                                        fs::perms::group_read |
                                                        fs::perms::others_read);
  const bool canGiveAway = ::chown((folder / "borrador-100.1-2.json").c_str(), 4242, 4242) == 0;
  DraftStore store(folder, "200.2");
  ASSERT_TRUE(store.Open());
  const auto found = store.ClaimAbandoned();
  ASSERT_EQ(found.size(), canGiveAway ? 1u : 2u);
  ASSERT_EQ(found[0].draft.page, PageWith("19"));
  ASSERT_TRUE(store.Adopt(found[0], 1));
  EXPECT_EQ(ModeOf(store.FileOf(1)), fs::perms::owner_read | fs::perms::owner_write);
  store.ReleaseClaims();
  if (canGiveAway) {
    EXPECT_TRUE(fs::exists(folder / "borrador-100.1-2.json")) << "left as it was";
  }

  const fs::path elsewhere = root.path() / "elsewhere";
  fs::create_directory(elsewhere);
  fs::permissions(elsewhere, fs::perms::all);
  const fs::path linked = root.path() / "linked";
  fs::create_directory_symlink(elsewhere, linked);
  DraftStore throughLink(linked, "300.3");
  EXPECT_FALSE(throughLink.Open());
  EXPECT_EQ(ModeOf(elsewhere), fs::perms::all);
  EXPECT_TRUE(fs::is_empty(elsewhere));
}

}  // namespace
}  // namespace f7301
