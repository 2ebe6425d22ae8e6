#include "declaration/atomic_file.h"

#include <cerrno>
#include <optional>
#include <random>
#include <string>
#include <system_error>

#include "declaration/durable_file.h"

#if !defined(_WIN32)
#include <sys/stat.h>
#endif

namespace fs = std::filesystem;

namespace f7301 {
namespace {

constexpr int kNameAttempts = 16;

// A name beside the target that no other file has: the directory is the
// target's, so the final rename never crosses file systems.
fs::path TemporaryName(const fs::path& target) {
  thread_local std::mt19937 random{std::random_device{}()};
  constexpr char kHex[] = "0123456789abcdef";
  std::string suffix = ".tmp-";
  for (int i = 0; i < 8; ++i) suffix += kHex[random() % 16];
  fs::path name = target;
  name += suffix;
  return name;
}

// Opens a new file for writing; fails when the name is already taken, also
// by a symbolic link, which is never followed.
std::FILE* CreateExclusive(const fs::path& path) {
#if defined(_WIN32)
  return _wfopen(path.c_str(), L"wbx");
#else
  return std::fopen(path.c_str(), "wbx");
#endif
}

// The file the new content is written to before it takes the target's place:
// unnamed where the system has such files (a killed program then leaves
// nothing behind), else under a fresh name beside the target.
struct Temporary {
  std::FILE* file = nullptr;
  fs::path name;  // empty while the file is unnamed
};

Temporary CreateNamed(const fs::path& target) {
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    Temporary temporary{nullptr, TemporaryName(target)};
    temporary.file = CreateExclusive(temporary.name);
    if (temporary.file) return temporary;
    if (errno != EEXIST) break;
  }
  return {};
}

// Drops an unfinished temporary file: closed, and removed when it has a name.
void Discard(Temporary& temporary) {
  if (temporary.file) std::fclose(temporary.file);
  temporary.file = nullptr;
  std::error_code ignored;
  if (!temporary.name.empty()) fs::remove(temporary.name, ignored);
}

// A file nobody may write to is not replaced, as creating it over the old
// one would fail; the caller's rights do not matter (the superuser's neither).
bool IsReadOnly(fs::perms mode) {
  constexpr fs::perms kWrite =
      fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
  return (mode & kWrite) == fs::perms::none;
}

bool SetMode(const Temporary& temporary, fs::perms mode) {
#if defined(_WIN32)
  std::error_code error;
  fs::permissions(temporary.name, mode, error);
  return !error;
#else
  return fchmod(fileno(temporary.file), static_cast<mode_t>(mode)) == 0;
#endif
}

bool WriteDurably(Temporary& temporary, std::span<const std::string_view> pieces,
                  const ChunkWriter& write, std::optional<fs::perms> mode) {
  for (std::string_view piece : pieces) {
    if (!write(temporary.file, piece)) return false;
  }
  if (mode && !SetMode(temporary, *mode)) return false;
  return SyncFile(temporary.file);
}

bool Close(Temporary& temporary) {
  const bool closed = std::fclose(temporary.file) == 0;
  temporary.file = nullptr;
  return closed;
}

// Moves a complete named temporary over the target.
bool RenameOver(Temporary& temporary, const fs::path& target) {
  if (!Close(temporary)) return false;
  std::error_code error;
  fs::rename(temporary.name, target, error);
  return !error;
}

// Names a complete unnamed temporary as the target. A new target gets its
// name directly; an existing one is replaced by a rename, as links never
// replace, so only between those two calls the content has another name.
LinkResult NameAsTarget(Temporary& temporary, const fs::path& target) {
  const LinkResult direct = LinkUnnamedFile(temporary.file, target);
  if (direct != LinkResult::kNameTaken) return direct;
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    const fs::path name = TemporaryName(target);
    const LinkResult linked = LinkUnnamedFile(temporary.file, name);
    if (linked == LinkResult::kNameTaken) continue;
    if (linked == LinkResult::kUnavailable) return linked;
    temporary.name = name;
    return RenameOver(temporary, target) ? LinkResult::kLinked : LinkResult::kUnavailable;
  }
  return LinkResult::kUnavailable;
}

enum class Outcome { kReplaced, kCannotCreate, kCannotWrite, kCannotName };

Outcome Replace(Temporary& temporary, const fs::path& target,
                std::span<const std::string_view> pieces, const ChunkWriter& write,
                std::optional<fs::perms> mode) {
  if (!WriteDurably(temporary, pieces, write, mode)) return Outcome::kCannotWrite;
  if (temporary.name.empty()) {
    const LinkResult linked = NameAsTarget(temporary, target);
    if (linked == LinkResult::kUnavailable) {
      return temporary.name.empty() ? Outcome::kCannotName : Outcome::kCannotCreate;
    }
    if (temporary.file && !Close(temporary)) return Outcome::kCannotWrite;
  } else if (!RenameOver(temporary, target)) {
    return Outcome::kCannotCreate;
  }
  temporary.name.clear();
  return SyncDirectory(target.parent_path()) ? Outcome::kReplaced : Outcome::kCannotWrite;
}

ReplaceResult ResultOf(Outcome outcome) {
  switch (outcome) {
    case Outcome::kReplaced:
      return ReplaceResult::kReplaced;
    case Outcome::kCannotWrite:
      return ReplaceResult::kCannotWrite;
    case Outcome::kCannotCreate:
    case Outcome::kCannotName:
      break;
  }
  return ReplaceResult::kCannotCreate;
}

}  // namespace

bool WriteChunk(std::FILE* file, std::string_view bytes) {
  return std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
}

ReplaceResult ReplaceFileContents(const fs::path& target, std::span<const std::string_view> pieces,
                                  const ChunkWriter& write) {
  std::error_code ignored;
  const fs::file_status existing = fs::status(target, ignored);
  if (fs::is_directory(existing)) return ReplaceResult::kCannotCreate;
  std::optional<fs::perms> mode;
  if (fs::is_regular_file(existing)) {
    if (IsReadOnly(existing.permissions())) return ReplaceResult::kCannotCreate;
    mode = existing.permissions();
  }

  Temporary temporary{OpenUnnamedFile(target.parent_path()), {}};
  if (temporary.file) {
    const Outcome outcome = Replace(temporary, target, pieces, write, mode);
    Discard(temporary);
    // Written in full but impossible to name here: written again the
    // portable way.
    if (outcome != Outcome::kCannotName) return ResultOf(outcome);
  }
  temporary = CreateNamed(target);
  if (!temporary.file) return ReplaceResult::kCannotCreate;
  const Outcome outcome = Replace(temporary, target, pieces, write, mode);
  Discard(temporary);
  return ResultOf(outcome);
}

}  // namespace f7301
