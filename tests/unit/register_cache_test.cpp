// The register's index on a real file system: a cache that is rebuilt from
// the files whatever happens to it, and that two programs can share.
#include "register/register_cache.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "tests/unit/declaration_test_support.h"

namespace f7301 {
namespace {

namespace fs = std::filesystem;

CachedReading Readable(const std::string& nit, std::int64_t mtime) {
  CachedReading r;
  r.identity = {FileKind::kRegular, 100, mtime, 7, 3, mtime + 5};
  DeclarationSummary s{nit,     "NOMBRE", 2024,         3,  "13051299", "",
                       "10.00", 2,        "05/04/2024", {}, {},         ""};
  for (int p = 0; p < kProductRowCount; ++p) {
    s.openings.push_back(std::to_string(p) + ".00");
    s.closings.push_back(p == 4 ? "" : std::to_string(100 + p) + ".50");
  }
  s.digest = std::string(64, 'a');
  r.summary = s;
  return r;
}

CachedReading Unreadable(const std::string& reason) {
  CachedReading r;
  r.identity = {FileKind::kRegular, 5, 9, 8, 3, 10};
  r.reason = reason;
  return r;
}

int Mode(const fs::path& path) {
  struct stat info {};
  EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path;
  return static_cast<int>(info.st_mode & 0777);
}

void Sql(const fs::path& file, const std::string& sql) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
  EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sql;
  sqlite3_close(db);
}

class RegisterCacheTest : public ::testing::Test {
 protected:
  std::unique_ptr<CRegisterCache> Open() {
    std::string problem;
    auto cache = CRegisterCache::Open(folder, problem);
    EXPECT_TRUE(cache) << problem;
    return cache;
  }
  // Two readings kept, as a first scan leaves them.
  void Fill() {
    auto cache = Open();
    ASSERT_TRUE(cache);
    ASSERT_TRUE(cache->Update({{"/d/a", Readable("900", 1)}, {"/d/b", Unreadable("No.")}}, {}));
  }

  testing::TemporaryDirectory temp;
  fs::path folder = temp.path() / "cache" / "Formulario7301";
  fs::path file = folder / kRegisterCacheFileName;
};

TEST_F(RegisterCacheTest, KeepsReadingsAndReasonsPrivately) {
  Fill();
  EXPECT_EQ(Mode(folder), 0700);
  EXPECT_EQ(Mode(file), 0600);
  auto cache = Open();
  const auto kept = cache->LoadAll();
  ASSERT_EQ(kept.size(), 2u);
  EXPECT_EQ(kept.at("/d/a").identity, Readable("900", 1).identity);
  EXPECT_EQ(kept.at("/d/a").summary, Readable("900", 1).summary);
  EXPECT_FALSE(kept.at("/d/b").summary);
  EXPECT_EQ(kept.at("/d/b").reason, "No.");
}

TEST_F(RegisterCacheTest, AChangedReadingReplacesTheOldAndAGoneOneLeaves) {
  Fill();
  auto cache = Open();
  ASSERT_TRUE(cache->Update({{"/d/a", Readable("800", 2)}}, {"/d/b"}));
  const auto kept = cache->LoadAll();
  ASSERT_EQ(kept.size(), 1u);
  EXPECT_EQ(kept.at("/d/a").identity.mtimeNs, 2);
  EXPECT_EQ(kept.at("/d/a").summary->nit, "800");
}

// Whatever the file holds, the index opens, empty, and works.
TEST_F(RegisterCacheTest, DamagedForeignAndOlderIndexesAreMadeAgain) {
  struct Case {
    const char* what;
    std::function<void()> spoil;
  };
  const std::vector<Case> cases = {
      {"not a database", [&] { testing::WriteBytes(file, std::string(8192, 'x')); }},
      {"an empty file", [&] { testing::WriteBytes(file, ""); }},
      {"its pages damaged",
       [&] {
         std::string bytes = testing::FileBytes(file);
         for (std::size_t i = 4096; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7);
         testing::WriteBytes(file, bytes);
       }},
      {"another program's database",
       [&] { Sql(file, "PRAGMA application_id=0; CREATE TABLE t(x); INSERT INTO t VALUES(1);"); }},
      {"an older layout", [&] { Sql(file, "PRAGMA user_version=0;"); }},
      {"a later layout", [&] { Sql(file, "PRAGMA user_version=99;"); }},
  };
  for (const Case& c : cases) {
    Fill();
    // Settle the journal into the file, as a closed program leaves it.
    Sql(file, "PRAGMA wal_checkpoint(TRUNCATE);");
    c.spoil();
    auto cache = Open();
    ASSERT_TRUE(cache) << c.what;
    EXPECT_TRUE(cache->LoadAll().empty()) << c.what;
    EXPECT_TRUE(cache->Update({{"/d/c", Readable("700", 3)}}, {})) << c.what;
    EXPECT_EQ(cache->LoadAll().size(), 1u) << c.what;
    cache.reset();
    fs::remove_all(folder);
  }
}

TEST_F(RegisterCacheTest, RowsThatMakeNoSenseAreReadAgain) {
  Fill();
  Sql(file, "UPDATE readings SET month = 13 WHERE path = CAST('/d/a' AS BLOB);");
  auto cache = Open();
  const auto kept = cache->LoadAll();
  EXPECT_FALSE(kept.contains("/d/a"));
  EXPECT_TRUE(kept.contains("/d/b"));
}

TEST_F(RegisterCacheTest, TwoProgramsShareTheIndex) {
  auto first = Open();
  auto second = Open();
  ASSERT_TRUE(first && second);
  ASSERT_TRUE(first->Update({{"/d/a", Readable("900", 1)}}, {}));
  ASSERT_TRUE(second->Update({{"/d/b", Readable("800", 1)}}, {}));
  EXPECT_EQ(first->LoadAll().size(), 2u);
  EXPECT_EQ(second->LoadAll().size(), 2u);
}

TEST_F(RegisterCacheTest, ALinkInPlaceOfTheFolderOrTheFileIsRefused) {
  fs::create_directories(temp.path() / "otra");
  fs::create_directories(folder.parent_path());
  fs::create_directory_symlink(temp.path() / "otra", folder);
  std::string problem;
  EXPECT_FALSE(CRegisterCache::Open(folder, problem));
  EXPECT_NE(problem.find("no es una carpeta propia de usted"), std::string::npos) << problem;
  EXPECT_TRUE(fs::is_empty(temp.path() / "otra"));

  fs::remove(folder);
  fs::create_directory(folder);
  testing::WriteBytes(temp.path() / "otra" / "x", "");
  fs::create_symlink(temp.path() / "otra" / "x", file);
  EXPECT_FALSE(CRegisterCache::Open(folder, problem));
  EXPECT_EQ(testing::FileBytes(temp.path() / "otra" / "x"), "");
}

TEST_F(RegisterCacheTest, LooseModesAreTightened) {
  Fill();
  fs::permissions(folder, fs::perms::all);
  fs::permissions(file, fs::perms::all);
  Open();
  EXPECT_EQ(Mode(folder), 0700);
  EXPECT_EQ(Mode(file), 0600);
}

TEST(RegisterCacheDir, FollowsXdgCacheHome) {
  const char* xdg = std::getenv("XDG_CACHE_HOME");
  const std::string saved = xdg ? xdg : "";
  const char* home = std::getenv("HOME");
  const std::string savedHome = home ? home : "";
  ::setenv("XDG_CACHE_HOME", "/x/cache", 1);
  EXPECT_EQ(DefaultRegisterCacheDir(), "/x/cache/Formulario7301");
  ::setenv("XDG_CACHE_HOME", "relativa", 1);
  ::setenv("HOME", "/home/ana", 1);
  EXPECT_EQ(DefaultRegisterCacheDir(), "/home/ana/.cache/Formulario7301");
  ::unsetenv("XDG_CACHE_HOME");
  EXPECT_EQ(DefaultRegisterCacheDir(), "/home/ana/.cache/Formulario7301");
  ::setenv("HOME", savedHome.c_str(), 1);
  if (xdg) ::setenv("XDG_CACHE_HOME", saved.c_str(), 1);
}

}  // namespace
}  // namespace f7301
