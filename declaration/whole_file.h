#pragma once
// Reading a chosen declaration file whole, with a size limit that every file
// the program writes stays far below.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace f7301 {

// The largest declaration file the program reads: well above the largest
// file the writer can produce.
inline constexpr std::uintmax_t kMaxDeclarationFileSize = 8u * 1024u * 1024u;

enum class ReadStatus {
  kRead,        // the text holds the file up to its first zero byte
  kCannotRead,  // missing, not a plain file, no permission, or a short read
  kTooLarge,    // larger than kMaxDeclarationFileSize: not read at all, never cut short
};

// A file the user chose is read through a symbolic link; files found by
// walking folders are not, so a link placed among them reads nothing.
enum class LinkPolicy { kFollow, kRefuse };

// Only a plain file is read: the kind is taken from the opened file itself,
// and opening never waits, so a FIFO or a device put in its place between a
// check and the open is refused, not waited on. At most the size the file
// had when opened is read, even if it grows meanwhile.
ReadStatus ReadWholeFile(const std::filesystem::path& path, std::string& text,
                         LinkPolicy links = LinkPolicy::kFollow);

// The whole file as text, up to its first zero byte; nothing when it cannot
// be read. Files larger than `kMaxDeclarationFileSize` are not read.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path);

}  // namespace f7301
