// Finding declaration files in the register's folders, on a real file system.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <vector>

#include "register/folder_scan.h"
#include "tests/unit/declaration_test_support.h"

namespace f7301 {
namespace {

namespace fs = std::filesystem;

const std::string kName = "RTQ-123456797301240313051299";

std::vector<std::string> Relative(const ScanResult& scan, const fs::path& root) {
  std::vector<std::string> files;
  for (const FoundFile& f : scan.files) files.push_back(f.file.lexically_relative(root).string());
  std::sort(files.begin(), files.end());
  return files;
}

void Touch(const fs::path& file) {
  fs::create_directories(file.parent_path());
  testing::WriteBytes(file, "x");
}

TEST(RegisterScan, DepthLinksHiddenFoldersAndNames) {
  testing::TemporaryDirectory temp;
  const fs::path root = temp.path() / "declaraciones";
  Touch(root / kName);
  Touch(root / "12345679" / "7301" / kName);
  Touch(root / "1" / "2" / "3" / "4" / kName);
  Touch(root / "1" / "2" / "3" / "4" / "5" / kName);  // too deep
  Touch(root / ".oculta" / kName);
  Touch(root / "12345679" / "7301" / (kName + ".htm"));
  Touch(root / "12345679" / "7301" / "notas.txt");
  fs::create_directories(temp.path() / "fuera");
  Touch(temp.path() / "fuera" / kName);
  fs::create_directory_symlink(temp.path() / "fuera", root / "enlace");
  fs::create_directories(root / "a");
  fs::create_symlink(root / kName, root / "a" / "RTQ-123456797301240313051200");
  ASSERT_EQ(::mkfifo((root / "RTQ-123456797301240313051201").c_str(), 0600), 0);

  const std::atomic<bool> cancel{false};
  const ScanResult scan = ScanFolders({root}, cancel);
  EXPECT_EQ(Relative(scan, root),
            (std::vector<std::string>{"1/2/3/4/" + kName, "12345679/7301/" + kName,
                                      "RTQ-123456797301240313051201", kName,
                                      "a/RTQ-123456797301240313051200"}));
  // The link and the FIFO are found as what they are, never opened.
  for (const FoundFile& f : scan.files) {
    const std::string name = f.file.filename().string();
    const FileKind expected = name.ends_with("00")   ? FileKind::kSymlink
                              : name.ends_with("01") ? FileKind::kFifo
                                                     : FileKind::kRegular;
    EXPECT_EQ(f.identity.kind, expected) << f.file;
  }
  EXPECT_TRUE(scan.problems.empty());
  EXPECT_TRUE(scan.complete());
}

TEST(RegisterScan, AFolderGoneIsOneLineAndTheOthersAreStillRead) {
  testing::TemporaryDirectory temp;
  Touch(temp.path() / "b" / kName);
  Touch(temp.path() / "archivo");
  const std::atomic<bool> cancel{false};
  const ScanResult scan =
      ScanFolders({temp.path() / "borrada", temp.path() / "archivo", temp.path() / "b"}, cancel);
  EXPECT_EQ(scan.files.size(), 1u);
  EXPECT_EQ(scan.problems,
            (std::vector<std::string>{
                "No se encontró la carpeta " + (temp.path() / "borrada").string() + ".",
                "No se encontró la carpeta " + (temp.path() / "archivo").string() + "."}));
  EXPECT_FALSE(scan.complete());  // what the gone folder held is not known
}

TEST(RegisterScan, UnreadableSubfoldersAreCountedInOneLine) {
  if (::geteuid() == 0) GTEST_SKIP() << "root reads every folder";
  testing::TemporaryDirectory temp;
  for (const char* sub : {"x", "y"}) {
    Touch(temp.path() / sub / kName);
    fs::permissions(temp.path() / sub, fs::perms::none);
  }
  const std::atomic<bool> cancel{false};
  const ScanResult scan = ScanFolders({temp.path()}, cancel);
  for (const char* sub : {"x", "y"}) fs::permissions(temp.path() / sub, fs::perms::owner_all);
  EXPECT_EQ(scan.problems, (std::vector<std::string>{"En la carpeta " + temp.path().string() +
                                                     ", 2 carpetas no pudieron leerse."}));
}

TEST(RegisterScan, StopsPastTheLimitOfEntriesAndWhenCancelled) {
  testing::TemporaryDirectory temp;
  for (int i = 0; i < 30; ++i) Touch(temp.path() / std::to_string(i) / kName);
  const std::atomic<bool> go{false};
  const ScanResult full = ScanFolders({temp.path()}, go, {4, 60});
  EXPECT_TRUE(full.complete());
  EXPECT_EQ(full.files.size(), 30u);
  EXPECT_EQ(full.entries, 60u);

  const ScanResult stopped = ScanFolders({temp.path()}, go, {4, 59});
  EXPECT_TRUE(stopped.stoppedAtLimit);
  EXPECT_FALSE(stopped.complete());
  EXPECT_EQ(
      stopped.problems,
      (std::vector<std::string>{"La búsqueda se detuvo en la carpeta " + temp.path().string() +
                                ": tiene más de 59 entradas. Quítela del registro y agregue "
                                "las carpetas que guardan sus declaraciones."}));
  EXPECT_TRUE(ScanFolders({temp.path()}, go).problems.empty());

  const fs::path many = temp.path() / "muchos";
  fs::create_directory(many);
  for (int i = 0; i <= 1000; ++i) testing::WriteBytes(many / std::to_string(i), "");
  // The limit is each folder's: past it in one, the next is walked all the same.
  const fs::path few = temp.path() / "0";
  const ScanResult both = ScanFolders({many, few}, go, {4, 1000});
  EXPECT_EQ(
      both.problems,
      (std::vector<std::string>{"La búsqueda se detuvo en la carpeta " + many.string() +
                                ": tiene más de 1.000 entradas. Quítela del registro y agregue "
                                "las carpetas que guardan sus declaraciones."}));
  ASSERT_EQ(both.files.size(), 1u);
  EXPECT_EQ(both.files[0].file, few / kName);
  EXPECT_FALSE(both.complete());

  const std::atomic<bool> cancel{true};
  const ScanResult cancelled = ScanFolders({temp.path()}, cancel);
  EXPECT_TRUE(cancelled.cancelled);
  EXPECT_TRUE(cancelled.files.empty());
}

}  // namespace
}  // namespace f7301
