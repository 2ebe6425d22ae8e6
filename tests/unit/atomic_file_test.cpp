// Replacing a file: what the target and its folder hold after success,
// failure and a program killed half-way.
#include "declaration/atomic_file.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "declaration/durable_file.h"
#include "tests/unit/declaration_test_support.h"

namespace f7301 {
namespace {

namespace fs = std::filesystem;

ReplaceResult Replace(const fs::path& target, std::string_view content,
                      const ChunkWriter& write = WriteChunk) {
  const std::vector<std::string_view> pieces = {content};
  return ReplaceFileContents(target, pieces, write);
}

fs::perms ModeOf(const fs::path& path) { return fs::status(path).permissions(); }

class AtomicFileTest : public ::testing::Test {
 protected:
  AtomicFileTest() : target(temp.path() / "RTQ-1") {}

  // True when this folder has unnamed files, so a write shows no other name.
  bool HasUnnamedFiles() const {
    std::FILE* probe = OpenUnnamedFile(temp.path());
    if (probe) std::fclose(probe);
    return probe != nullptr;
  }

  testing::TemporaryDirectory temp;
  fs::path target;
};

// --- Permissions -------------------------------------------------------------

TEST_F(AtomicFileTest, ReplacedFileKeepsItsMode) {
  for (const fs::perms mode :
       {fs::perms::owner_read | fs::perms::owner_write,
        fs::perms::owner_all | fs::perms::group_read, fs::perms::owner_write}) {
    testing::WriteBytes(target, "old");
    fs::permissions(target, mode);
    ASSERT_EQ(Replace(target, "new"), ReplaceResult::kReplaced);
    EXPECT_EQ(ModeOf(target), mode);
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(testing::FileBytes(target), "new");
    fs::remove(target);
  }
}

TEST_F(AtomicFileTest, ReadOnlyFileIsNotReplaced) {
  testing::WriteBytes(target, "old");
  const fs::perms readOnly = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
  fs::permissions(target, readOnly);

  EXPECT_EQ(Replace(target, "new"), ReplaceResult::kCannotCreate);
  EXPECT_EQ(testing::FileBytes(target), "old");
  EXPECT_EQ(ModeOf(target), readOnly);
  EXPECT_EQ(testing::Tree(temp.path()), std::vector<std::string>{"RTQ-1"});
}

TEST_F(AtomicFileTest, NewFileGetsTheUsualModeAndReplacesALinkNotItsTarget) {
  ASSERT_EQ(Replace(target, "first"), ReplaceResult::kReplaced);
  testing::WriteBytes(temp.path() / "usual", "");
  EXPECT_EQ(ModeOf(target), ModeOf(temp.path() / "usual"));

  // A link where the file goes is replaced by the file; what it pointed to
  // is left alone.
  const fs::path elsewhere = temp.path() / "elsewhere";
  testing::WriteBytes(elsewhere, "untouched");
  fs::remove(target);
  fs::create_symlink(elsewhere, target);
  ASSERT_EQ(Replace(target, "second"), ReplaceResult::kReplaced);
  EXPECT_FALSE(fs::is_symlink(target));
  EXPECT_EQ(testing::FileBytes(target), "second");
  EXPECT_EQ(testing::FileBytes(elsewhere), "untouched");
}

// --- No other name, ever -----------------------------------------------------

TEST_F(AtomicFileTest, ContentBeingWrittenHasNoNameInTheFolder) {
  if (!HasUnnamedFiles()) GTEST_SKIP() << "this file system has no unnamed files";
  for (const bool replacing : {false, true}) {
    if (replacing) testing::WriteBytes(target, "old");
    const std::vector<std::string> before = testing::Tree(temp.path());
    std::vector<std::string> whileWriting;
    const ChunkWriter watch = [&](std::FILE* file, std::string_view bytes) {
      const bool written = WriteChunk(file, bytes);
      whileWriting = testing::Tree(temp.path());
      return written;
    };
    ASSERT_EQ(Replace(target, "new", watch), ReplaceResult::kReplaced);
    EXPECT_EQ(whileWriting, before);
    EXPECT_EQ(testing::Tree(temp.path()), std::vector<std::string>{"RTQ-1"});
    EXPECT_EQ(testing::FileBytes(target), "new");
  }
}

// The program killed once every byte is written, before the file takes its
// name: nothing of it may stay behind, under any name.
TEST_F(AtomicFileTest, ProgramKilledBeforeTheRenameLeavesNothingBehind) {
  if (!HasUnnamedFiles()) GTEST_SKIP() << "this file system has no unnamed files";
  for (const bool replacing : {false, true}) {
    if (replacing) testing::WriteBytes(target, "old");
    const std::vector<std::string> before = testing::Tree(temp.path());
    const ChunkWriter killedAfterWriting = [](std::FILE* file, std::string_view bytes) {
      WriteChunk(file, bytes);
      std::fflush(file);
      std::raise(SIGKILL);
      return true;
    };
    EXPECT_EXIT(Replace(target, "whole declaration", killedAfterWriting),
                ::testing::KilledBySignal(SIGKILL), "");
    EXPECT_EQ(testing::Tree(temp.path()), before);
    if (replacing) {
      EXPECT_EQ(testing::FileBytes(target), "old");
    }
  }
}

TEST_F(AtomicFileTest, FailedWriteLeavesTheFolderAsItWas) {
  const ChunkWriter failing = [](std::FILE* file, std::string_view bytes) {
    WriteChunk(file, bytes.substr(0, 2));
    return false;
  };
  EXPECT_EQ(Replace(target, "new", failing), ReplaceResult::kCannotWrite);
  EXPECT_TRUE(testing::Tree(temp.path()).empty());
  testing::WriteBytes(target, "old");
  EXPECT_EQ(Replace(target, "new", failing), ReplaceResult::kCannotWrite);
  EXPECT_EQ(testing::Tree(temp.path()), std::vector<std::string>{"RTQ-1"});
  EXPECT_EQ(testing::FileBytes(target), "old");
}

TEST_F(AtomicFileTest, MissingFolderCannotBeCreated) {
  EXPECT_EQ(Replace(temp.path() / "no" / "RTQ-1", "new"), ReplaceResult::kCannotCreate);
  EXPECT_TRUE(testing::Tree(temp.path()).empty());
}

// --- The durable steps -------------------------------------------------------

TEST(DurableFile, UnnamedFileTakesANameOnlyOnceAndNeverReplaces) {
  testing::TemporaryDirectory temp;
  std::FILE* file = OpenUnnamedFile(temp.path());
  if (file == nullptr) GTEST_SKIP() << "this file system has no unnamed files";
  ASSERT_TRUE(WriteChunk(file, "content"));
  ASSERT_TRUE(SyncFile(file));
  testing::WriteBytes(temp.path() / "taken", "kept");
  EXPECT_EQ(LinkUnnamedFile(file, temp.path() / "taken"), LinkResult::kNameTaken);
  EXPECT_EQ(LinkUnnamedFile(file, temp.path() / "named"), LinkResult::kLinked);
  std::fclose(file);
  EXPECT_EQ(testing::FileBytes(temp.path() / "taken"), "kept");
  EXPECT_EQ(testing::FileBytes(temp.path() / "named"), "content");
  EXPECT_TRUE(SyncDirectory(temp.path()));
  EXPECT_FALSE(SyncDirectory(temp.path() / "missing"));
}

}  // namespace
}  // namespace f7301
