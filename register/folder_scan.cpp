#include "register/folder_scan.h"

#include <system_error>

#if !defined(_WIN32)
#include <dirent.h>
#include <sys/stat.h>

#include <cerrno>
#endif

#include "declaration/declaration_paths.h"
#include "register/declaration_file_name.h"

namespace f7301 {
namespace {

namespace fs = std::filesystem;

// 100000 as "100.000".
std::string WithThousands(std::size_t n) {
  const std::string digits = std::to_string(n);
  std::string text;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) text += '.';
    text += digits[i];
  }
  return text;
}

// One folder's entries, "." and ".." left out. On POSIX straight from
// readdir: std::filesystem makes and parses a path for every entry, which
// was most of the walk of 12,000 files.
class FolderEntries {
 public:
#if defined(_WIN32)
  explicit FolderEntries(const fs::path& folder) : m_it(folder, m_error) {}
  bool opened() const { return !m_error; }
  bool Next() {
    if (m_started) m_it.increment(m_error);
    m_started = true;
    if (m_error || m_it == fs::directory_iterator()) return false;
    m_name = PathToUtf8(m_it->path().filename());
    return true;
  }
  bool failed() const { return static_cast<bool>(m_error); }
  const std::string& name() const { return m_name; }
  fs::path path() const { return m_it->path(); }
  bool IsFolderNotLink() const {
    std::error_code error;
    return m_it->symlink_status(error).type() == fs::file_type::directory;
  }

 private:
  std::error_code m_error;
  fs::directory_iterator m_it;
  bool m_started = false;
  std::string m_name;
#else
  explicit FolderEntries(const fs::path& folder)
      : m_dir(::opendir(folder.c_str())), m_prefix(folder.native()) {
    if (m_prefix.empty() || m_prefix.back() != '/') m_prefix += '/';
  }
  ~FolderEntries() {
    if (m_dir) ::closedir(m_dir);
  }
  FolderEntries(const FolderEntries&) = delete;
  FolderEntries& operator=(const FolderEntries&) = delete;
  bool opened() const { return m_dir != nullptr; }
  bool Next() {
    for (;;) {
      errno = 0;
      m_entry = ::readdir(m_dir);
      if (!m_entry) {
        m_failed = errno != 0;
        return false;
      }
      m_name = m_entry->d_name;
      if (m_name != "." && m_name != "..") return true;
    }
  }
  bool failed() const { return m_failed; }
  const std::string& name() const { return m_name; }
  fs::path path() const { return fs::path(m_prefix + m_name); }
  bool IsFolderNotLink() const {
    if (m_entry->d_type != DT_UNKNOWN) return m_entry->d_type == DT_DIR;
    struct stat info {};
    return ::lstat((m_prefix + m_name).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
  }

 private:
  DIR* m_dir;
  std::string m_prefix;
  const dirent* m_entry = nullptr;
  bool m_failed = false;
  std::string m_name;
#endif
};

class FolderWalk {
 public:
  FolderWalk(ScanResult& result, const std::atomic<bool>& cancel, const ScanLimits& limits)
      : m_result(result), m_cancel(cancel), m_limits(limits) {}

  // One chosen folder; false when the whole scan must stop.
  bool Walk(const fs::path& root) {
    m_unreadable = 0;
    m_entries = 0;
    m_root = &root;
    std::error_code error;
    // The chosen folder itself may be reached through a link: the user named it.
    if (!fs::is_directory(root, error)) {
      m_result.problems.push_back("No se encontró la carpeta " + PathToUtf8(root) + ".");
      m_result.folderMissed = true;
      return true;
    }
    const bool go = Read(root, 0, true) != Stop::kScan;
    if (m_unreadable > 0) {
      m_result.folderMissed = true;
      m_result.problems.push_back(
          "En la carpeta " + PathToUtf8(root) + ", " + WithThousands(m_unreadable) +
          (m_unreadable == 1 ? " carpeta no pudo leerse." : " carpetas no pudieron leerse."));
    }
    return go;
  }

 private:
  enum class Stop { kNo, kFolder, kScan };

  Stop Read(const fs::path& folder, int depth, bool isRoot) {
    FolderEntries entries(folder);
    if (!entries.opened()) {
      if (isRoot) {
        m_result.folderMissed = true;
        m_result.problems.push_back("No pudo leerse la carpeta " + PathToUtf8(folder) + ".");
      } else {
        ++m_unreadable;
      }
      return Stop::kNo;
    }
    std::vector<fs::path> subfolders;
    while (entries.Next()) {
      if (const Stop stop = Count(); stop != Stop::kNo) return stop;
      const std::string& name = entries.name();
      if (IsDeclarationFileName(name)) {
        fs::path file = entries.path();
        const FileIdentity identity = IdentityOf(file, LinkPolicy::kRefuse);
        m_result.files.push_back({std::move(file), identity});
        continue;
      }
      // A link to a folder is not entered.
      if (depth < m_limits.maxDepth && !name.starts_with('.') && entries.IsFolderNotLink()) {
        subfolders.push_back(entries.path());
      }
    }
    if (entries.failed()) ++m_unreadable;
    for (const fs::path& sub : subfolders) {
      if (const Stop stop = Read(sub, depth + 1, false); stop != Stop::kNo) return stop;
    }
    return Stop::kNo;
  }

  Stop Count() {
    if (m_cancel.load(std::memory_order_relaxed)) {
      m_result.cancelled = true;
      return Stop::kScan;
    }
    ++m_result.entries;
    if (++m_entries > m_limits.maxEntries) {
      m_result.stoppedAtLimit = true;
      m_result.problems.push_back(
          "La búsqueda se detuvo en la carpeta " + PathToUtf8(*m_root) + ": tiene más de " +
          WithThousands(m_limits.maxEntries) +
          " entradas. Quítela del registro y agregue las carpetas que guardan sus "
          "declaraciones.");
      return Stop::kFolder;
    }
    return Stop::kNo;
  }

  ScanResult& m_result;
  const std::atomic<bool>& m_cancel;
  const ScanLimits& m_limits;
  const fs::path* m_root = nullptr;
  std::size_t m_unreadable = 0;
  std::size_t m_entries = 0;  // below the chosen folder being walked
};

}  // namespace

ScanResult ScanFolders(const std::vector<fs::path>& folders, const std::atomic<bool>& cancel,
                       const ScanLimits& limits) {
  ScanResult result;
  FolderWalk walk(result, cancel, limits);
  for (const fs::path& folder : folders) {
    if (!walk.Walk(folder)) break;
  }
  return result;
}

}  // namespace f7301
