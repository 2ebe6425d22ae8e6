#pragma once
// Replacing a file so that a failed or interrupted write never leaves a
// truncated or emptied file where a good one stood: the new content goes to a
// temporary file in the same directory (unnamed where the system allows, so
// a killed program leaves nothing behind), which is flushed to disk and only
// then takes the target's name; the directory is flushed after it.
#include <cstdio>
#include <filesystem>
#include <functional>
#include <span>
#include <string_view>

namespace f7301 {

enum class ReplaceResult {
  kReplaced,  // the target now holds exactly the new content
  // No file could be made there (missing folder, no rights, a directory in
  // the way, a read-only file in the way); the target is as it was.
  kCannotCreate,
  // The content could not be written in full; the target is as it was. Also
  // when the new name could not be flushed to disk: the target may then hold
  // the new content, but it is not safe from a power cut.
  kCannotWrite,
};

// Writes `bytes` to `file`; true when all of them were written.
using ChunkWriter = std::function<bool(std::FILE* file, std::string_view bytes)>;

bool WriteChunk(std::FILE* file, std::string_view bytes);

// Makes `target` hold `pieces` joined, written one piece per call of `write`.
// A replaced file keeps its permissions; one that nobody may write to is not
// replaced. On any failure the temporary file is removed and the target is
// untouched.
ReplaceResult ReplaceFileContents(const std::filesystem::path& target,
                                  std::span<const std::string_view> pieces,
                                  const ChunkWriter& write = WriteChunk);

}  // namespace f7301
