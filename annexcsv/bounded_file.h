#pragma once
// Reading a file the user chose, whatever it turns out to be: only a regular
// file is read (a pipe or device is never opened for a read that could wait
// for ever) and never more of it than the limit, even while it grows.
#include <cstddef>
#include <filesystem>
#include <string>

namespace f7301 {

enum class BoundedRead {
  kRead,
  kNotAFile,    // a folder, pipe, device or socket
  kCannotRead,  // missing, no permission, a failed read
  kTooLarge,    // more than the limit: `bytes` is left empty
};

BoundedRead ReadBoundedFile(const std::filesystem::path& path, std::size_t limit,
                            std::string& bytes);

}  // namespace f7301
