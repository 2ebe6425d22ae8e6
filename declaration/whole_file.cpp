#include "declaration/whole_file.h"

#include <fstream>
#include <system_error>

namespace f7301 {

ReadStatus ReadWholeFile(const std::filesystem::path& path, std::string& text) {
  text.clear();
  std::error_code error;
  // Only plain files: a directory cannot be read, and a pipe or device
  // could block the window for ever.
  if (!std::filesystem::is_regular_file(path, error)) return ReadStatus::kCannotRead;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (error) return ReadStatus::kCannotRead;
  if (size > kMaxDeclarationFileSize) return ReadStatus::kTooLarge;

  std::ifstream in(path, std::ios::binary);
  if (!in) return ReadStatus::kCannotRead;
  std::string bytes(static_cast<std::size_t>(size), '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(size));
  if (static_cast<std::uintmax_t>(in.gcount()) != size) return ReadStatus::kCannotRead;

  // The text of a file ends at its first zero byte.
  bytes.resize(bytes.find('\0') == std::string::npos ? bytes.size() : bytes.find('\0'));
  text = std::move(bytes);
  return ReadStatus::kRead;
}

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path) {
  std::string text;
  if (ReadWholeFile(path, text) != ReadStatus::kRead) return std::nullopt;
  return text;
}

}  // namespace f7301
