#include "declaration/atomic_file.h"

#include <cerrno>
#include <random>
#include <string>
#include <system_error>

#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

namespace f7301 {
namespace {

// A name beside the target that no other file has: the directory is the
// target's, so the final rename never crosses file systems.
std::filesystem::path TemporaryName(const std::filesystem::path& target) {
  thread_local std::mt19937 random{std::random_device{}()};
  constexpr char kHex[] = "0123456789abcdef";
  std::string suffix = ".tmp-";
  for (int i = 0; i < 8; ++i) suffix += kHex[random() % 16];
  std::filesystem::path name = target;
  name += suffix;
  return name;
}

// Opens a new file for writing; fails when the name is already taken.
std::FILE* CreateExclusive(const std::filesystem::path& path) {
#if defined(_WIN32)
  return _wfopen(path.c_str(), L"wbx");
#else
  return std::fopen(path.c_str(), "wbx");
#endif
}

bool FlushToDisk(std::FILE* file) {
  if (std::fflush(file) != 0) return false;
#if defined(_WIN32)
  return _commit(_fileno(file)) == 0;
#else
  return fsync(fileno(file)) == 0;
#endif
}

std::FILE* CreateTemporary(const std::filesystem::path& target, std::filesystem::path& temporary) {
  for (int attempt = 0; attempt < 16; ++attempt) {
    temporary = TemporaryName(target);
    if (std::FILE* file = CreateExclusive(temporary)) return file;
    if (errno != EEXIST) return nullptr;
  }
  return nullptr;
}

bool WriteAndClose(std::FILE* file, std::span<const std::string_view> pieces,
                   const ChunkWriter& write) {
  bool ok = true;
  for (std::string_view piece : pieces) {
    if (!write(file, piece)) {
      ok = false;
      break;
    }
  }
  ok = ok && FlushToDisk(file);
  return std::fclose(file) == 0 && ok;
}

}  // namespace

bool WriteChunk(std::FILE* file, std::string_view bytes) {
  return std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
}

ReplaceResult ReplaceFileContents(const std::filesystem::path& target,
                                  std::span<const std::string_view> pieces,
                                  const ChunkWriter& write) {
  std::error_code ignored;
  if (std::filesystem::is_directory(target, ignored)) return ReplaceResult::kCannotCreate;
  std::filesystem::path temporary;
  std::FILE* file = CreateTemporary(target, temporary);
  if (file == nullptr) return ReplaceResult::kCannotCreate;
  if (!WriteAndClose(file, pieces, write)) {
    std::filesystem::remove(temporary, ignored);
    return ReplaceResult::kCannotWrite;
  }
  std::error_code renamed;
  std::filesystem::rename(temporary, target, renamed);
  if (renamed) {
    std::filesystem::remove(temporary, ignored);
    return ReplaceResult::kCannotCreate;
  }
  return ReplaceResult::kReplaced;
}

}  // namespace f7301
