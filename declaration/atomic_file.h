#pragma once
// Replacing a file so that a failed or interrupted write never leaves a
// truncated or emptied file where a good one stood: the new content goes to a
// temporary file in the same directory, which is flushed to disk, closed and
// only then renamed over the target.
#include <cstdio>
#include <filesystem>
#include <functional>
#include <span>
#include <string_view>

namespace f7301 {

enum class ReplaceResult {
  kReplaced,      // the target now holds exactly the new content
  kCannotCreate,  // no file could be made there (missing folder, no rights, a directory in the way)
  kCannotWrite,   // the content could not be written in full; the target is as it was
};

// Writes `bytes` to `file`; true when all of them were written.
using ChunkWriter = std::function<bool(std::FILE* file, std::string_view bytes)>;

bool WriteChunk(std::FILE* file, std::string_view bytes);

// Makes `target` hold `pieces` joined, written one piece per call of `write`.
// On any failure the temporary file is removed and the target is untouched.
ReplaceResult ReplaceFileContents(const std::filesystem::path& target,
                                  std::span<const std::string_view> pieces,
                                  const ChunkWriter& write = WriteChunk);

}  // namespace f7301
