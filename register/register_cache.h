#pragma once
// The register's index: what was read of each declaration file, kept in
// SQLite so that the next scan reads only the files that changed. It is a
// cache, never the truth: anything wrong with it (damaged, another program's
// file, an older layout) and it is made again, empty, without a question.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "register/declaration_summary.h"
#include "register/file_identity.h"

struct sqlite3;

namespace f7301 {

// Bumped whenever what is stored, or how a file is read, changes: an index
// of another layout is then made again.
inline constexpr int kRegisterCacheVersion = 2;
inline constexpr const char* kRegisterCacheFileName = "registro.sqlite";

// The reading of one file, valid while the file keeps its identity.
struct CachedReading {
  FileIdentity identity;
  std::optional<DeclarationSummary> summary;
  std::string reason;  // why it did not read (no summary)
};

class CRegisterCache {
 public:
  // Opens the index in `folder` (made 0700 if missing; refused when it is a
  // symbolic link or someone else's), its file 0600. Null, with `problem`
  // telling why, when no index can be used there.
  static std::unique_ptr<CRegisterCache> Open(const std::filesystem::path& folder,
                                              std::string& problem);
  ~CRegisterCache();
  CRegisterCache(const CRegisterCache&) = delete;
  CRegisterCache& operator=(const CRegisterCache&) = delete;

  // Every reading kept, by the file's path (its native bytes). Rows that do
  // not make sense are left out, so their files are read again.
  std::unordered_map<std::string, CachedReading> LoadAll();

  // In one transaction: keeps `readings` (replacing what was kept for those
  // paths) and forgets `gone`. False when the index could not be written.
  // Only readings of a file's bytes belong here: a file that could not be
  // read is looked at again at every scan.
  bool Update(const std::vector<std::pair<std::filesystem::path, CachedReading>>& readings,
              const std::vector<std::string>& gone);

 private:
  explicit CRegisterCache(sqlite3* db) : m_db(db) {}
  sqlite3* m_db;
};

// $XDG_CACHE_HOME/Formulario7301, or ~/.cache/Formulario7301.
std::filesystem::path DefaultRegisterCacheDir();

}  // namespace f7301
