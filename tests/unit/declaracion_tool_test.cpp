// The support tool reads and writes files with the program's own care: no
// endless inputs, no blocking on pipes, no writing through planted links.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "declaration/seal.h"
#include "declaration/whole_file.h"
#include "tests/support/sample_declaration.h"
#include "tests/unit/declaration_test_support.h"

namespace f7301 {
namespace {

namespace fs = std::filesystem;

constexpr int kFileError = 5;
constexpr int kTimedOut = 124;  // timeout(1): the tool hung

std::string Quoted(const std::string& text) { return "'" + text + "'"; }

class DeclaracionToolTest : public ::testing::Test {
 protected:
  // Runs the tool with `arguments`, stopped after a generous bound; its
  // exit status, kTimedOut when it hung.
  int Run(const std::vector<std::string>& arguments) {
    std::string command = "timeout 20 " + Quoted(F7301_DECLARACION_TOOL);
    for (const std::string& argument : arguments) command += " " + Quoted(argument);
    command += " >" + Quoted((temp.path() / "stdout").string());
    command += " 2>" + Quoted((temp.path() / "stderr").string());
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::string Said() const { return testing::FileBytes(temp.path() / "stderr"); }
  std::string Printed() const { return testing::FileBytes(temp.path() / "stdout"); }

  testing::TemporaryDirectory temp;
  fs::path work = temp.path() / "work";
  std::string xml = testing::DeclarationXml(testing::SampleDeclaration{});
};

TEST_F(DeclaracionToolTest, UnsealReadsOnlyPlainFiles) {
  fs::create_directory(work);
  const fs::path fifo = work / "fifo";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  for (const std::string& input : {std::string("/dev/zero"), fifo.string(), work.string()}) {
    EXPECT_EQ(Run({"unseal", input}), kFileError) << input;
    EXPECT_NE(Said().find("no se puede leer " + input), std::string::npos) << Said();
  }
}

TEST_F(DeclaracionToolTest, UnsealRefusesAFileOverTheReadLimit) {
  fs::create_directory(work);
  const fs::path large = work / "large";
  testing::WriteBytes(large, "");
  fs::resize_file(large, kMaxDeclarationFileSize + 1);
  EXPECT_EQ(Run({"unseal", large.string()}), kFileError);
  EXPECT_NE(Said().find("demasiado grande"), std::string::npos) << Said();
}

TEST_F(DeclaracionToolTest, SealThenUnsealGivesTheXmlBack) {
  fs::create_directory(work);
  testing::WriteBytes(work / "in.xml", xml);
  ASSERT_EQ(Run({"seal", (work / "in.xml").string(), (work / "out").string()}), 0) << Said();
  ASSERT_EQ(Run({"unseal", (work / "out").string()}), 0) << Said();
  EXPECT_EQ(Printed(), xml);
  EXPECT_EQ(testing::Tree(work), (std::vector<std::string>{"in.xml", "out"}));
}

TEST_F(DeclaracionToolTest, SealNeverWritesThroughALinkPlantedBesideItsOutput) {
  fs::create_directory(work);
  testing::WriteBytes(work / "in.xml", xml);
  const fs::path victim = temp.path() / "victim";
  testing::WriteBytes(victim, "precious");
  // The name the tool used to write through before renaming.
  fs::create_symlink(victim, work / "out.tmp-declaracion");

  ASSERT_EQ(Run({"seal", (work / "in.xml").string(), (work / "out").string()}), 0) << Said();
  EXPECT_EQ(testing::FileBytes(victim), "precious");
  EXPECT_FALSE(fs::is_symlink(work / "out"));
  std::string block;
  EXPECT_EQ(CSeal().Unseal(testing::FileBytes(work / "out"), &block, nullptr),
            UnsealResult::kValid);
}

TEST_F(DeclaracionToolTest, SealReplacesAsTheProgramDoes) {
  fs::create_directory(work);
  testing::WriteBytes(work / "in.xml", xml);
  const fs::path out = work / "out";
  testing::WriteBytes(out, "old");
  fs::permissions(out, fs::perms::owner_read | fs::perms::owner_write);
  ASSERT_EQ(Run({"seal", (work / "in.xml").string(), out.string()}), 0) << Said();
  EXPECT_EQ(fs::status(out).permissions(), fs::perms::owner_read | fs::perms::owner_write);

  const std::string sealed = testing::FileBytes(out);
  fs::permissions(out, fs::perms::owner_read | fs::perms::group_read);
  EXPECT_EQ(Run({"seal", (work / "in.xml").string(), out.string()}), kFileError);
  EXPECT_EQ(testing::FileBytes(out), sealed);
  EXPECT_EQ(testing::Tree(work), (std::vector<std::string>{"in.xml", "out"}));
}

}  // namespace
}  // namespace f7301
