#include "draft/draft_store.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <regex>
#include <string_view>
#include <system_error>

#include "declaration/atomic_file.h"

#if defined(_WIN32)
#include <process.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace f7301 {
namespace {

namespace fs = std::filesystem;

constexpr const char* kPrefix = "borrador-";
constexpr const char* kSetAsideSuffix = ".apartado";

// "borrador-<program>-<form>.json"; program names are digits and dots.
const std::regex& DraftName() {
  static const std::regex name("borrador-([0-9.]+)-([0-9]+)\\.json");
  return name;
}

std::optional<std::string> ProgramOf(const fs::path& file) {
  std::smatch match;
  const std::string name = file.filename().string();
  if (!std::regex_match(name, match, DraftName())) return std::nullopt;
  return match[1].str();
}

// The program a draft or a lock file belongs to.
std::optional<std::string> OwnerOf(const fs::path& file) {
  static const std::regex lock("borrador-([0-9.]+)\\.lock");
  std::smatch match;
  const std::string name = file.filename().string();
  if (std::regex_match(name, match, lock)) return match[1].str();
  return ProgramOf(file);
}

// A link standing for the folder is refused: following it would make some
// other folder private and keep drafts there.
bool MakePrivateFolder(const fs::path& folder) {
  std::error_code error;
  if (fs::is_symlink(fs::symlink_status(folder, error))) return false;
  fs::create_directories(folder, error);
  if (!fs::is_directory(fs::symlink_status(folder, error))) return false;
  fs::permissions(folder, fs::perms::owner_all, fs::perm_options::replace, error);
  return !error;
}

DraftReading Damaged() { return {DraftProblem::kDamaged, {}}; }

#if defined(_WIN32)

std::optional<DraftReading> ReadDraftFile(const fs::path& file) {
  std::error_code error;
  if (!fs::is_regular_file(fs::symlink_status(file, error))) return Damaged();
  const auto size = fs::file_size(file, error);
  if (!error && size > kMaxDraftFileSize) return DraftReading{DraftProblem::kTooLarge, {}};
  std::ifstream in(file, std::ios::binary);
  if (error || !in) return Damaged();
  std::string text(kMaxDraftFileSize + 1, '\0');
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  if (in.bad()) return Damaged();
  text.resize(static_cast<std::size_t>(in.gcount()));
  return ParseDraft(text);
}

#else

// Reads at most one byte more than a draft may have.
bool ReadBounded(int fd, std::string& text) {
  text.resize(kMaxDraftFileSize + 1);
  std::size_t filled = 0;
  while (filled < text.size()) {
    const ssize_t got = ::read(fd, text.data() + filled, text.size() - filled);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return false;
    if (got == 0) break;
    filled += static_cast<std::size_t>(got);
  }
  text.resize(filled);
  return true;
}

// Only a regular file of this user is opened, and only once it is known to
// be one: a FIFO, a device, a folder or a link under a draft's name is
// damaged (set aside unopened); another user's file is no draft of ours and
// is left where it is.
std::optional<DraftReading> ReadDraftFile(const fs::path& file) {
  struct stat named {};
  if (::lstat(file.c_str(), &named) != 0 || !S_ISREG(named.st_mode)) return Damaged();
  if (named.st_uid != ::geteuid()) return std::nullopt;
  if (static_cast<std::uintmax_t>(named.st_size) > kMaxDraftFileSize) {
    return DraftReading{DraftProblem::kTooLarge, {}};
  }
  const int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return Damaged();
  struct stat opened {};
  std::string text;
  const bool same = ::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) &&
                    opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
  const bool read = same && ReadBounded(fd, text);
  ::close(fd);
  if (!read) return Damaged();
  return ParseDraft(text);
}

#endif

}  // namespace

fs::path DefaultDraftFolder() {
  const char* data = std::getenv("XDG_DATA_HOME");
  if (data != nullptr && fs::path(data).is_absolute()) return fs::path(data) / "Formulario7301";
  const char* home = std::getenv("HOME");
  if (home == nullptr || *home == '\0') return {};
  return fs::path(home) / ".local" / "share" / "Formulario7301";
}

std::string UniqueProgramName() {
#if defined(_WIN32)
  const long process = static_cast<long>(_getpid());
#else
  const long process = static_cast<long>(getpid());
#endif
  const auto started = std::chrono::duration_cast<std::chrono::microseconds>(
                           std::chrono::system_clock::now().time_since_epoch())
                           .count();
  return std::to_string(process) + "." + std::to_string(started);
}

DraftStore::DraftStore(fs::path folder, std::string programName)
    : m_folder(std::move(folder)), m_program(std::move(programName)) {}

DraftStore::~DraftStore() {
  ReleaseClaims();
  if (isOpen()) m_lock.Release(DraftsOf(m_program).empty());
}

bool DraftStore::Open() {
  if (m_folder.empty() || !MakePrivateFolder(m_folder)) return false;
  return m_lock.TryLock(LockOf(m_program));
}

fs::path DraftStore::LockOf(const std::string& program) const {
  return m_folder / (kPrefix + program + ".lock");
}

fs::path DraftStore::FileOf(int form) const {
  return m_folder / (kPrefix + m_program + "-" + std::to_string(form) + ".json");
}

bool DraftStore::Write(int form, const Draft& draft) {
  if (!isOpen()) return false;
  const std::string text = DraftToJson(draft);
  // A file larger than a draft may be would not be read back.
  if (text.empty() || text.size() > kMaxDraftFileSize) return false;
  const fs::path file = FileOf(form);
  const std::string_view pieces[] = {text};
  if (ReplaceFileContents(file, pieces) != ReplaceResult::kReplaced) return false;
  // The folder already keeps others out; the file says so too.
  std::error_code error;
  fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::replace,
                  error);
  return !error;
}

void DraftStore::Remove(int form) {
  std::error_code ignored;
  fs::remove(FileOf(form), ignored);
}

std::vector<fs::path> DraftStore::DraftsOf(const std::string& program) const {
  std::vector<fs::path> files;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(m_folder, error)) {
    if (ProgramOf(entry.path()) == program) files.push_back(entry.path());
  }
  return files;
}

void DraftStore::RemoveTemporaries(const std::string& program) const {
  const std::string start = kPrefix + program + "-";
  std::error_code error;
  std::vector<fs::path> leftovers;
  for (const auto& entry : fs::directory_iterator(m_folder, error)) {
    const std::string name = entry.path().filename().string();
    if (name.starts_with(start) && name.find(".json.tmp") != std::string::npos) {
      leftovers.push_back(entry.path());
    }
  }
  for (const fs::path& file : leftovers) fs::remove(file, error);
}

std::vector<AbandonedDraft> DraftStore::ClaimAbandoned() {
  std::vector<AbandonedDraft> found;
  if (!isOpen()) return found;
  std::vector<std::string> programs;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(m_folder, error)) {
    const auto program = OwnerOf(entry.path());
    if (program && *program != m_program &&
        std::find(programs.begin(), programs.end(), *program) == programs.end()) {
      programs.push_back(*program);
    }
  }
  for (const std::string& program : programs) {
    InstanceLock claim;
    if (!claim.TryLock(LockOf(program))) continue;  // that program is still running
    RemoveTemporaries(program);
    for (const fs::path& file : DraftsOf(program)) {
      std::optional<DraftReading> reading = ReadDraftFile(file);
      if (reading) found.push_back({file, reading->problem, std::move(reading->draft)});
    }
    m_claims.emplace_back(program, std::move(claim));
  }
  // Those that cannot be read first (they are only set aside), then the
  // newest change: the form most likely wanted back is the first offered.
  std::stable_sort(found.begin(), found.end(),
                   [](const AbandonedDraft& a, const AbandonedDraft& b) {
                     const bool aReadable = a.problem == DraftProblem::kNone;
                     const bool bReadable = b.problem == DraftProblem::kNone;
                     if (aReadable != bReadable) return !aReadable;
                     return a.draft.savedAtMs > b.draft.savedAtMs;
                   });
  return found;
}

bool DraftStore::Adopt(const AbandonedDraft& found, int form) {
  std::error_code error;
  fs::rename(found.file, FileOf(form), error);
  if (error) return false;
  // Whatever mode it was left with, it is this user's alone from now on.
  fs::permissions(FileOf(form), fs::perms::owner_read | fs::perms::owner_write,
                  fs::perm_options::replace, error);
  return true;
}

void DraftStore::Discard(const AbandonedDraft& found) {
  std::error_code ignored;
  fs::remove(found.file, ignored);
}

fs::path DraftStore::SetAside(const AbandonedDraft& found) {
  fs::path aside = found.file;
  aside += kSetAsideSuffix;
  std::error_code error;
  fs::rename(found.file, aside, error);
  if (!error) return aside;
  fs::remove(found.file, error);
  return {};
}

void DraftStore::ReleaseClaims() {
  for (auto& [program, claim] : m_claims) claim.Release(DraftsOf(program).empty());
  m_claims.clear();
}

}  // namespace f7301
