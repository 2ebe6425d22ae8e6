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
#include <unistd.h>
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

bool MakePrivateFolder(const fs::path& folder) {
  std::error_code error;
  fs::create_directories(folder, error);
  if (!fs::is_directory(folder, error)) return false;
  fs::permissions(folder, fs::perms::owner_all, fs::perm_options::replace, error);
  return !error;
}

DraftReading ReadDraftFile(const fs::path& file) {
  std::error_code error;
  const auto size = fs::file_size(file, error);
  if (!error && size > kMaxDraftFileSize) return {DraftProblem::kTooLarge, {}};
  std::ifstream in(file, std::ios::binary);
  if (error || !in) return {DraftProblem::kDamaged, {}};
  std::string text;
  text.reserve(static_cast<std::size_t>(size));
  text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (in.bad()) return {DraftProblem::kDamaged, {}};
  return ParseDraft(text);
}

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
  if (text.empty()) return false;
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
      DraftReading reading = ReadDraftFile(file);
      found.push_back({file, reading.problem, std::move(reading.draft)});
    }
    m_claims.emplace_back(program, std::move(claim));
  }
  std::stable_sort(found.begin(), found.end(),
                   [](const AbandonedDraft& a, const AbandonedDraft& b) {
                     return a.draft.savedAtMs < b.draft.savedAtMs;
                   });
  return found;
}

bool DraftStore::Adopt(const AbandonedDraft& found, int form) {
  std::error_code error;
  fs::rename(found.file, FileOf(form), error);
  return !error;
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
