// The whole-file reader never waits on what is not a plain file, and reads
// through a link only when asked to.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <future>
#include <string>
#include <vector>

#include "declaration/whole_file.h"
#include "tests/unit/declaration_test_support.h"

namespace f7301 {
namespace {

namespace fs = std::filesystem;

// The read, or kCannotRead after a writer was let in when it waited on `fifo`.
ReadStatus ReadWithin5s(const fs::path& path, LinkPolicy links, const fs::path& fifo) {
  auto read = std::async(std::launch::async, [&] {
    std::string text;
    return ReadWholeFile(path, text, links);
  });
  if (read.wait_for(std::chrono::seconds(5)) == std::future_status::ready) return read.get();
  ADD_FAILURE() << path << " blocked the reader";
  const int writer = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
  if (writer >= 0) ::close(writer);
  read.wait();
  return ReadStatus::kCannotRead;
}

TEST(WholeFileKinds, OnlyPlainFilesAreReadAndNothingWaits) {
  testing::TemporaryDirectory temp;
  const fs::path file = temp.path() / "archivo";
  testing::WriteBytes(file, "texto");
  const fs::path fifo = temp.path() / "tuberia";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const fs::path toFile = temp.path() / "enlace";
  fs::create_symlink(file, toFile);
  const fs::path toFifo = temp.path() / "enlace-tuberia";
  fs::create_symlink(fifo, toFifo);
  const fs::path loop = temp.path() / "lazo";
  fs::create_symlink(loop, loop);

  struct Case {
    fs::path path;
    LinkPolicy links;
    ReadStatus status;
  };
  const std::vector<Case> cases = {
      {file, LinkPolicy::kRefuse, ReadStatus::kRead},
      {toFile, LinkPolicy::kFollow, ReadStatus::kRead},
      {toFile, LinkPolicy::kRefuse, ReadStatus::kCannotRead},
      {fifo, LinkPolicy::kFollow, ReadStatus::kCannotRead},
      {toFifo, LinkPolicy::kFollow, ReadStatus::kCannotRead},
      {loop, LinkPolicy::kFollow, ReadStatus::kCannotRead},
      {"/dev/zero", LinkPolicy::kFollow, ReadStatus::kCannotRead},
      {temp.path(), LinkPolicy::kFollow, ReadStatus::kCannotRead},
  };
  for (const Case& c : cases) EXPECT_EQ(ReadWithin5s(c.path, c.links, fifo), c.status) << c.path;

  std::string text;
  ASSERT_EQ(ReadWholeFile(toFile, text), ReadStatus::kRead);
  EXPECT_EQ(text, "texto");
}

}  // namespace
}  // namespace f7301
