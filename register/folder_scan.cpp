#include "register/folder_scan.h"

#include <system_error>

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
    std::error_code error;
    fs::directory_iterator it(folder, fs::directory_options::none, error);
    if (error) {
      if (isRoot) {
        m_result.folderMissed = true;
        m_result.problems.push_back("No pudo leerse la carpeta " + PathToUtf8(folder) + ".");
      } else {
        ++m_unreadable;
      }
      return Stop::kNo;
    }
    std::vector<fs::path> subfolders;
    for (; it != fs::directory_iterator(); it.increment(error)) {
      if (error) {
        ++m_unreadable;
        break;
      }
      if (const Stop stop = Count(); stop != Stop::kNo) return stop;
      const fs::directory_entry& entry = *it;
      const std::string name = FileNameText(entry.path());
      if (IsDeclarationFileName(name)) {
        m_result.files.push_back({entry.path(), IdentityOf(entry.path(), LinkPolicy::kRefuse)});
        continue;
      }
      // symlink_status: a link to a folder is not entered.
      if (depth < m_limits.maxDepth && !name.starts_with('.') &&
          entry.symlink_status(error).type() == fs::file_type::directory) {
        subfolders.push_back(entry.path());
      }
    }
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
