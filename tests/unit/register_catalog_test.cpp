// The register's list from real folders and a real index: what a rescan
// reads again, and that the index changes nothing of what is shown.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <atomic>
#include <string>
#include <vector>

#include "register/catalog.h"
#include "register/register_cache.h"
#include "register/register_csv.h"
#include "tests/support/filed_declaration.h"
#include "tests/unit/declaration_test_support.h"

namespace f7301 {
namespace {

namespace fs = std::filesystem;
using testing::FileDeclaration;
using testing::MonthlySample;

class RegisterCatalogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Two taxpayers: one files January to April but March, and rectifies
    // February; the other files once. An altered file, a FIFO, a file that
    // is no declaration and an HTML copy lie among them.
    for (int month : {1, 2, 4}) {
      files.push_back(FileDeclaration(folder, MonthlySample("12345679", "EL PROGRESO", 2024, month,
                                                            "1000000" + std::to_string(month))));
    }
    files.push_back(FileDeclaration(
        folder, MonthlySample("12345679", "EL PROGRESO", 2024, 2, "20000002", "730110000002")));
    files.push_back(
        FileDeclaration(folder, MonthlySample("900123", "LA ESQUINA", 2023, 12, "30000001")));
    altered = folder / "900123" / "7301" / "RTQ-9001237301231200000099";
    testing::WriteBytes(altered, "esto no es una declaración");
    EXPECT_EQ(::mkfifo((folder / "RTQ-9001237301231200000098").c_str(), 0600), 0);
    testing::WriteBytes(folder / "RTQ-9001237301231200000097", std::string(3000, 'A'));
    testing::WriteBytes(HtmlOf(files[0]), "<html>");
    request.folders = {folder};
    request.cacheDir = temp.path() / "cache";
  }

  static fs::path HtmlOf(const fs::path& file) {
    fs::path html = file;
    html += ".htm";
    return html;
  }

  CatalogResult Build() {
    progressCalls = 0;
    return BuildCatalog(request, cancel, [this](std::size_t done, std::size_t total) {
      ++progressCalls;
      EXPECT_LE(done, total);
    });
  }

  testing::TemporaryDirectory temp;
  fs::path folder = temp.path() / "declaraciones";
  std::vector<fs::path> files;
  fs::path altered;
  CatalogRequest request;
  std::atomic<bool> cancel{false};
  int progressCalls = 0;
};

std::vector<std::string> States(const CatalogResult& result) {
  std::vector<std::string> states;
  for (const RegisterRow& row : result.rows) {
    states.push_back(row.summary.nit + " " + PeriodText(row.summary.year, row.summary.month) + " " +
                     std::string(FilingStateText(row.state)));
  }
  return states;
}

TEST_F(RegisterCatalogTest, FirstScanReadsEveryFileAndTheRescanNone) {
  const CatalogResult first = Build();
  EXPECT_TRUE(first.cacheProblem.empty()) << first.cacheProblem;
  EXPECT_EQ(first.filesFound, 8u);
  EXPECT_EQ(first.filesRead, 7u);  // all but the FIFO, which is never opened
  EXPECT_GT(progressCalls, 0);
  // NITs shorter first: numeric order for NITs of digits.
  EXPECT_EQ(States(first), (std::vector<std::string>{
                               "900123 12/2023 Vigente", "12345679 01/2024 Vigente",
                               "12345679 02/2024 Rectificada", "12345679 02/2024 Vigente",
                               "12345679 03/2024 Sin declaración", "12345679 04/2024 Vigente",
                               " 00/0000 Alterada o ilegible", " 00/0000 Alterada o ilegible",
                               " 00/0000 Alterada o ilegible"}));

  const CatalogResult again = Build();
  EXPECT_EQ(again.filesRead, 0u);
  EXPECT_EQ(again.filesFromCache, 8u);
  EXPECT_EQ(RegisterCsv(again.rows), RegisterCsv(first.rows));
}

TEST_F(RegisterCatalogTest, AChangedFileIsReadAgainAndARemovedOneLeaves) {
  const std::string before = RegisterCsv(Build().rows);
  // April's declaration becomes a February one (same path: written over).
  const auto april = fs::last_write_time(files[2]);
  testing::WriteBytes(altered, "otra cosa, más larga que antes");
  fs::remove(files[4]);
  const CatalogResult after = Build();
  EXPECT_EQ(after.filesRead, 1u);  // the altered file only
  EXPECT_EQ(after.filesFound, 7u);
  const std::string csv = RegisterCsv(after.rows);
  EXPECT_EQ(csv.find("900123;"), std::string::npos);
  EXPECT_NE(before, csv);
  EXPECT_EQ(fs::last_write_time(files[2]), april);

  std::string problem;
  auto cache = CRegisterCache::Open(request.cacheDir, problem);
  ASSERT_TRUE(cache);
  const auto kept = cache->LoadAll();
  EXPECT_FALSE(kept.contains(files[4].native()));
  EXPECT_TRUE(kept.contains(altered.native()));
}

TEST_F(RegisterCatalogTest, ARewrittenDeclarationShowsItsNewContent) {
  Build();
  testing::SampleDeclaration changed =
      MonthlySample("12345679", "NOMBRE NUEVO", 2024, 4, "10000004");
  ASSERT_EQ(FileDeclaration(folder, changed), files[2]);
  const CatalogResult after = Build();
  EXPECT_EQ(after.filesRead, 1u);
  EXPECT_NE(RegisterCsv(after.rows).find("NOMBRE NUEVO;04/2024"), std::string::npos);
}

TEST_F(RegisterCatalogTest, DeletingOrDamagingTheIndexChangesNothingShown) {
  const std::string first = RegisterCsv(Build().rows);
  fs::remove_all(request.cacheDir);
  const CatalogResult rebuilt = Build();
  EXPECT_EQ(rebuilt.filesRead, 7u);
  EXPECT_EQ(RegisterCsv(rebuilt.rows), first);

  testing::WriteBytes(request.cacheDir / kRegisterCacheFileName, std::string(5000, '\x01'));
  EXPECT_EQ(RegisterCsv(Build().rows), first);

  request.cacheDir.clear();  // no index at all
  EXPECT_EQ(RegisterCsv(Build().rows), first);
}

TEST_F(RegisterCatalogTest, FilesOpenedElsewhereJoinTheList) {
  const fs::path elsewhere = temp.path() / "otra" / "copia-de-enero";
  fs::create_directories(elsewhere.parent_path());
  fs::copy_file(files[0], elsewhere);
  request.extraFiles = {elsewhere, temp.path() / "borrado", files[1]};
  const CatalogResult result = Build();
  EXPECT_EQ(result.filesFound, 9u);  // the copy; not the missing one, not files[1] twice
  // The same bytes: a copy of the original, not a second filing.
  EXPECT_EQ(States(result)[1], "12345679 01/2024 Vigente");
  EXPECT_EQ(States(result)[2], "12345679 01/2024 Copia");
}

TEST_F(RegisterCatalogTest, ReadersOneOrTwoGiveTheSameList) {
  request.cacheDir.clear();
  request.readers = 1;
  const std::string one = RegisterCsv(Build().rows);
  request.readers = 2;
  EXPECT_EQ(RegisterCsv(Build().rows), one);
}

TEST_F(RegisterCatalogTest, CancelledBeforeItStartsShowsNothingAndKeepsNothing) {
  cancel = true;
  const CatalogResult result = Build();
  EXPECT_TRUE(result.cancelled);
  EXPECT_TRUE(result.rows.empty());
  cancel = false;
  EXPECT_EQ(Build().filesRead, 7u);
}

}  // namespace
}  // namespace f7301
