#include "annexcsv/bounded_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace f7301 {
namespace {

class Descriptor {
 public:
  explicit Descriptor(int fd) : m_fd(fd) {}
  ~Descriptor() {
    if (m_fd >= 0) ::close(m_fd);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return m_fd; }

 private:
  int m_fd;
};

// Reads up to `limit` + 1 bytes: one past the limit tells a file too large.
bool ReadUpTo(int fd, std::size_t limit, std::string& bytes) {
  constexpr std::size_t kChunk = 64 * 1024;
  std::size_t size = 0;
  while (size <= limit) {
    bytes.resize(std::min(size + kChunk, limit + 1));
    const ssize_t got = ::read(fd, bytes.data() + size, bytes.size() - size);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return false;
    if (got == 0) break;
    size += static_cast<std::size_t>(got);
  }
  bytes.resize(size);
  return true;
}

}  // namespace

BoundedRead ReadBoundedFile(const std::filesystem::path& path, std::size_t limit,
                            std::string& bytes) {
  bytes.clear();
  // The kind is known before the file is opened: opening a pipe for reading
  // waits for a writer. A link to a regular file is read as that file.
  struct stat before {};
  if (::stat(path.c_str(), &before) != 0) return BoundedRead::kCannotRead;
  if (!S_ISREG(before.st_mode)) return BoundedRead::kNotAFile;
  if (static_cast<std::uintmax_t>(before.st_size) > limit) return BoundedRead::kTooLarge;
  // Non-blocking and checked again once open, for a file swapped meanwhile.
  const Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (fd.get() < 0) return BoundedRead::kCannotRead;
  struct stat opened {};
  if (::fstat(fd.get(), &opened) != 0) return BoundedRead::kCannotRead;
  if (!S_ISREG(opened.st_mode)) return BoundedRead::kNotAFile;
  if (!ReadUpTo(fd.get(), limit, bytes)) {
    bytes.clear();
    return BoundedRead::kCannotRead;
  }
  if (bytes.size() > limit) {
    bytes.clear();
    return BoundedRead::kTooLarge;
  }
  return BoundedRead::kRead;
}

}  // namespace f7301
