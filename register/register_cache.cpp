#include "register/register_cache.h"

#include <sqlite3.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <string_view>
#include <system_error>

#if !defined(_WIN32)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "declaration/declaration_paths.h"
#include "register/content_digest.h"

namespace f7301 {
namespace {

namespace fs = std::filesystem;

// "F730" in the file's header: a database that lacks it is not this index.
constexpr int kApplicationId = 0x46373330;
constexpr int kBusyTimeoutMs = 5000;

constexpr const char* kSchema =
    "CREATE TABLE readings("
    " path BLOB PRIMARY KEY, size INTEGER NOT NULL, mtime_ns INTEGER NOT NULL,"
    " inode INTEGER NOT NULL, device INTEGER NOT NULL, readable INTEGER NOT NULL,"
    " nit TEXT, name TEXT, year INTEGER, month INTEGER, form_number TEXT, rectifies TEXT,"
    " total_to_pay TEXT, annex_rows INTEGER, generated TEXT, reason TEXT,"
    " ctime_ns INTEGER NOT NULL, balances TEXT, digest TEXT) WITHOUT ROWID;";

// The 13 opening then the 13 closing balances in one text, a line feed
// between them: the texts kept hold no control characters.
constexpr char kBalanceSeparator = '\n';

class Statement {
 public:
  Statement(sqlite3* db, const char* sql) {
    if (sqlite3_prepare_v2(db, sql, -1, &m_statement, nullptr) != SQLITE_OK) m_statement = nullptr;
  }
  ~Statement() { sqlite3_finalize(m_statement); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  sqlite3_stmt* get() const { return m_statement; }
  explicit operator bool() const { return m_statement != nullptr; }

 private:
  sqlite3_stmt* m_statement = nullptr;
};

bool Exec(sqlite3* db, const char* sql) {
  return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

std::optional<std::int64_t> PragmaNumber(sqlite3* db, const char* sql) {
  Statement s(db, sql);
  if (!s || sqlite3_step(s.get()) != SQLITE_ROW) return std::nullopt;
  return sqlite3_column_int64(s.get(), 0);
}

std::optional<std::string> PragmaText(sqlite3* db, const char* sql) {
  Statement s(db, sql);
  if (!s || sqlite3_step(s.get()) != SQLITE_ROW) return std::nullopt;
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(s.get(), 0));
  return std::string(text ? text : "");
}

#if !defined(_WIN32)
// The folder holds taxpayer data: ours alone, and never reached through a
// link someone put in its place.
bool PrepareFolder(const fs::path& folder, std::string& problem) {
  std::error_code error;
  fs::create_directories(folder.parent_path(), error);
  if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
    problem = "No pudo crearse la carpeta del índice " + PathToUtf8(folder) + ".";
    return false;
  }
  struct stat info {};
  if (::lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::geteuid()) {
    problem = "La carpeta del índice " + PathToUtf8(folder) +
              " no es una carpeta propia de usted (o es un enlace): no se usa.";
    return false;
  }
  if ((info.st_mode & 0777) != 0700) ::chmod(folder.c_str(), 0700);
  return true;
}

// Made 0600 before SQLite opens it: SQLite gives its journal files the mode
// of the database file.
bool PrepareFile(const fs::path& file) {
  const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, 0600);
  if (fd < 0) return false;
  struct stat info {};
  const bool ours = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::geteuid();
  if (ours && (info.st_mode & 0777) != 0600) ::fchmod(fd, 0600);
  ::close(fd);
  return ours;
}
#else
bool PrepareFolder(const fs::path& folder, std::string& problem) {
  std::error_code error;
  fs::create_directories(folder, error);
  if (fs::is_directory(fs::symlink_status(folder, error))) return true;
  problem = "No pudo crearse la carpeta del índice " + PathToUtf8(folder) + ".";
  return false;
}
bool PrepareFile(const fs::path&) { return true; }
#endif

void RemoveIndexFiles(const fs::path& file) {
  std::error_code ignored;
  for (const char* suffix : {"", "-wal", "-shm", "-journal"}) {
    fs::path f = file;
    f += suffix;
    fs::remove(f, ignored);
  }
}

enum class IndexState { kCurrent, kEmpty, kReplace };

IndexState StateOf(sqlite3* db) {
  const auto id = PragmaNumber(db, "PRAGMA application_id");
  const auto version = PragmaNumber(db, "PRAGMA user_version");
  const auto tables = PragmaNumber(db, "SELECT count(*) FROM sqlite_master");
  if (!id || !version || !tables) return IndexState::kReplace;  // not a database, or damaged
  if (*id == 0 && *version == 0 && *tables == 0) return IndexState::kEmpty;
  if (*id != kApplicationId || *version != kRegisterCacheVersion) return IndexState::kReplace;
  return PragmaText(db, "PRAGMA quick_check") == "ok" ? IndexState::kCurrent : IndexState::kReplace;
}

bool CreateSchema(sqlite3* db) {
  if (!Exec(db, "BEGIN IMMEDIATE")) return false;
  // Another program may have made it meanwhile.
  if (StateOf(db) == IndexState::kCurrent) return Exec(db, "COMMIT");
  const std::string pragmas = "PRAGMA application_id=" + std::to_string(kApplicationId) +
                              "; PRAGMA user_version=" + std::to_string(kRegisterCacheVersion) +
                              ";";
  if (Exec(db, kSchema) && Exec(db, pragmas.c_str()) && Exec(db, "COMMIT")) return true;
  Exec(db, "ROLLBACK");
  return false;
}

sqlite3* OpenFile(const fs::path& file) {
  if (!PrepareFile(file)) return nullptr;
  sqlite3* db = nullptr;
  // One thread at a time uses a connection: no lock around every call.
  const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOFOLLOW | SQLITE_OPEN_NOMUTEX;
  if (sqlite3_open_v2(file.c_str(), &db, flags, nullptr) != SQLITE_OK) {
    sqlite3_close(db);
    return nullptr;
  }
  sqlite3_busy_timeout(db, kBusyTimeoutMs);
  return db;
}

// The index ready to use, or null.
sqlite3* OpenCurrentIndex(const fs::path& file) {
  for (int attempt = 0; attempt < 2; ++attempt) {
    sqlite3* db = OpenFile(file);
    if (!db) return nullptr;
    IndexState state = StateOf(db);
    // Two programs share the index: WAL lets one read while the other writes.
    if (state != IndexState::kReplace && !Exec(db, "PRAGMA journal_mode=WAL")) {
      state = IndexState::kReplace;
    }
    // A cache: a commit lost to a power cut is read again from the files, so
    // a commit need not wait for the disk.
    Exec(db, "PRAGMA synchronous=NORMAL");
    if (state == IndexState::kEmpty && !CreateSchema(db)) state = IndexState::kReplace;
    if (state != IndexState::kReplace) return db;
    sqlite3_close(db);
    RemoveIndexFiles(file);
  }
  return nullptr;
}

std::string ColumnText(sqlite3_stmt* s, int column) {
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(s, column));
  return text ? std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(s, column))) : "";
}

void BindText(sqlite3_stmt* s, int index, const std::string& text) {
  sqlite3_bind_text(s, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

std::string JoinedBalances(const DeclarationSummary& d) {
  std::string text;
  for (const auto* balances : {&d.openings, &d.closings}) {
    for (const std::string& balance : *balances) {
      if (!text.empty()) text += kBalanceSeparator;
      text += balance;
    }
  }
  return text;
}

bool SplitBalances(std::string_view text, DeclarationSummary& d) {
  d.openings.resize(kProductRowCount);
  d.closings.resize(kProductRowCount);
  std::size_t at = 0;
  for (auto* balances : {&d.openings, &d.closings}) {
    for (std::string& balance : *balances) {
      if (at > text.size()) return false;
      const std::size_t end = std::min(text.find(kBalanceSeparator, at), text.size());
      balance = text.substr(at, end - at);
      at = end + 1;
    }
  }
  return at == text.size() + 1;
}

bool Sensible(const DeclarationSummary& s) {
  const std::size_t longest = 4 * kMaxSummaryTextLength;
  for (const std::string* text :
       {&s.nit, &s.name, &s.formNumber, &s.rectifies, &s.totalToPay, &s.generated}) {
    if (text->size() > longest) return false;
  }
  for (const auto* balances : {&s.openings, &s.closings}) {
    for (const std::string& balance : *balances) {
      if (balance.size() > longest) return false;
    }
  }
  return IsContentDigest(s.digest) && s.year >= 1 && s.year <= 9999 && s.month >= 1 &&
         s.month <= 12 && s.annexRows >= 0 && s.annexRows <= 500;
}

std::optional<CachedReading> ReadingOf(sqlite3_stmt* s) {
  CachedReading r;
  r.identity.kind = FileKind::kRegular;
  r.identity.size = sqlite3_column_int64(s, 1);
  r.identity.mtimeNs = sqlite3_column_int64(s, 2);
  r.identity.inode = static_cast<std::uint64_t>(sqlite3_column_int64(s, 3));
  r.identity.device = static_cast<std::uint64_t>(sqlite3_column_int64(s, 4));
  r.identity.ctimeNs = sqlite3_column_int64(s, 16);
  if (sqlite3_column_int(s, 5) == 0) {
    r.reason = ColumnText(s, 15);
    if (r.reason.empty()) return std::nullopt;
    return r;
  }
  DeclarationSummary d;
  d.nit = ColumnText(s, 6);
  d.name = ColumnText(s, 7);
  d.year = sqlite3_column_int(s, 8);
  d.month = sqlite3_column_int(s, 9);
  d.formNumber = ColumnText(s, 10);
  d.rectifies = ColumnText(s, 11);
  d.totalToPay = ColumnText(s, 12);
  d.annexRows = sqlite3_column_int(s, 13);
  d.generated = ColumnText(s, 14);
  d.digest = ColumnText(s, 18);
  if (!SplitBalances(ColumnText(s, 17), d) || !Sensible(d)) return std::nullopt;
  r.summary = std::move(d);
  return r;
}

void BindReading(sqlite3_stmt* s, const fs::path& path, const CachedReading& r) {
  const std::string& key = path.native();
  sqlite3_bind_blob(s, 1, key.data(), static_cast<int>(key.size()), SQLITE_TRANSIENT);
  sqlite3_bind_int64(s, 2, r.identity.size);
  sqlite3_bind_int64(s, 3, r.identity.mtimeNs);
  sqlite3_bind_int64(s, 4, static_cast<sqlite3_int64>(r.identity.inode));
  sqlite3_bind_int64(s, 5, static_cast<sqlite3_int64>(r.identity.device));
  sqlite3_bind_int(s, 6, r.summary ? 1 : 0);
  if (r.summary) {
    const DeclarationSummary& d = *r.summary;
    BindText(s, 7, d.nit);
    BindText(s, 8, d.name);
    sqlite3_bind_int(s, 9, d.year);
    sqlite3_bind_int(s, 10, d.month);
    BindText(s, 11, d.formNumber);
    BindText(s, 12, d.rectifies);
    BindText(s, 13, d.totalToPay);
    sqlite3_bind_int(s, 14, d.annexRows);
    BindText(s, 15, d.generated);
    BindText(s, 18, JoinedBalances(d));
    BindText(s, 19, d.digest);
  }
  BindText(s, 16, r.reason);
  sqlite3_bind_int64(s, 17, r.identity.ctimeNs);
}

}  // namespace

std::unique_ptr<CRegisterCache> CRegisterCache::Open(const fs::path& folder, std::string& problem) {
  problem.clear();
  if (!PrepareFolder(folder, problem)) return nullptr;
  sqlite3* db = OpenCurrentIndex(folder / kRegisterCacheFileName);
  if (!db) {
    problem = "No pudo usarse el índice de declaraciones en " + PathToUtf8(folder) +
              ": se leen todos los archivos.";
    return nullptr;
  }
  return std::unique_ptr<CRegisterCache>(new CRegisterCache(db));
}

CRegisterCache::~CRegisterCache() { sqlite3_close(m_db); }

std::unordered_map<std::string, CachedReading> CRegisterCache::LoadAll() {
  std::unordered_map<std::string, CachedReading> readings;
  Statement s(m_db,
              "SELECT path, size, mtime_ns, inode, device, readable, nit, name, year, month,"
              " form_number, rectifies, total_to_pay, annex_rows, generated, reason, ctime_ns,"
              " balances, digest FROM readings");
  if (!s) return readings;
  while (sqlite3_step(s.get()) == SQLITE_ROW) {
    std::optional<CachedReading> reading = ReadingOf(s.get());
    if (!reading) continue;
    const auto* key = static_cast<const char*>(sqlite3_column_blob(s.get(), 0));
    const auto size = static_cast<std::size_t>(sqlite3_column_bytes(s.get(), 0));
    readings.emplace(std::string(key ? key : "", key ? size : 0), std::move(*reading));
  }
  return readings;
}

bool CRegisterCache::Update(const std::vector<std::pair<fs::path, CachedReading>>& readings,
                            const std::vector<std::string>& gone) {
  if (readings.empty() && gone.empty()) return true;
  if (!Exec(m_db, "BEGIN IMMEDIATE")) return false;
  Statement put(m_db,
                "INSERT OR REPLACE INTO readings VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)");
  Statement forget(m_db, "DELETE FROM readings WHERE path = ?");
  bool ok = put && forget;
  for (std::size_t i = 0; ok && i < readings.size(); ++i) {
    BindReading(put.get(), readings[i].first, readings[i].second);
    ok = sqlite3_step(put.get()) == SQLITE_DONE;
    sqlite3_reset(put.get());
    sqlite3_clear_bindings(put.get());
  }
  for (std::size_t i = 0; ok && i < gone.size(); ++i) {
    sqlite3_bind_blob(forget.get(), 1, gone[i].data(), static_cast<int>(gone[i].size()),
                      SQLITE_TRANSIENT);
    ok = sqlite3_step(forget.get()) == SQLITE_DONE;
    sqlite3_reset(forget.get());
  }
  if (ok && Exec(m_db, "COMMIT")) return true;
  Exec(m_db, "ROLLBACK");
  return false;
}

fs::path DefaultRegisterCacheDir() {
  const char* xdg = std::getenv("XDG_CACHE_HOME");
  // The XDG rules ignore a relative value.
  if (xdg != nullptr && xdg[0] == '/') return fs::path(xdg) / "Formulario7301";
  const char* home = std::getenv("HOME");
  const fs::path base =
      home != nullptr && home[0] != '\0' ? fs::path(home) : fs::temp_directory_path();
  return base / ".cache" / "Formulario7301";
}

}  // namespace f7301
