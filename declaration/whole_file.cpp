#include "declaration/whole_file.h"

#include <system_error>

#if defined(_WIN32)
#include <fstream>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace f7301 {
namespace {

// The text of a file ends at its first zero byte.
void CutAtZeroByte(std::string& bytes) {
  const std::size_t zero = bytes.find('\0');
  if (zero != std::string::npos) bytes.resize(zero);
}

#if defined(_WIN32)

ReadStatus ReadBytes(const std::filesystem::path& path, std::string& bytes, LinkPolicy links) {
  std::error_code error;
  const std::filesystem::file_status status = links == LinkPolicy::kFollow
                                                  ? std::filesystem::status(path, error)
                                                  : std::filesystem::symlink_status(path, error);
  if (error || !std::filesystem::is_regular_file(status)) return ReadStatus::kCannotRead;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (error) return ReadStatus::kCannotRead;
  if (size > kMaxDeclarationFileSize) return ReadStatus::kTooLarge;
  std::ifstream in(path, std::ios::binary);
  if (!in) return ReadStatus::kCannotRead;
  bytes.assign(static_cast<std::size_t>(size), '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(size));
  return static_cast<std::uintmax_t>(in.gcount()) == size ? ReadStatus::kRead
                                                          : ReadStatus::kCannotRead;
}

#else

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : m_fd(fd) {}
  ~FileDescriptor() {
    if (m_fd >= 0) ::close(m_fd);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return m_fd; }

 private:
  int m_fd;
};

bool ReadExactly(int fd, std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    done += static_cast<std::size_t>(got);
  }
  return true;
}

ReadStatus ReadBytes(const std::filesystem::path& path, std::string& bytes, LinkPolicy links) {
  // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer
  // that may never come. The kind is then taken from the descriptor.
  int flags = O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY;
  if (links == LinkPolicy::kRefuse) flags |= O_NOFOLLOW;
  const FileDescriptor file(::open(path.c_str(), flags));
  if (file.get() < 0) return ReadStatus::kCannotRead;
  struct stat info {};
  if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) return ReadStatus::kCannotRead;
  const auto size = static_cast<std::uintmax_t>(info.st_size);
  if (size > kMaxDeclarationFileSize) return ReadStatus::kTooLarge;
  bytes.assign(static_cast<std::size_t>(size), '\0');
  return ReadExactly(file.get(), bytes) ? ReadStatus::kRead : ReadStatus::kCannotRead;
}

#endif

}  // namespace

ReadStatus ReadWholeFile(const std::filesystem::path& path, std::string& text, LinkPolicy links) {
  text.clear();
  std::string bytes;
  const ReadStatus status = ReadBytes(path, bytes, links);
  if (status != ReadStatus::kRead) return status;
  CutAtZeroByte(bytes);
  text = std::move(bytes);
  return ReadStatus::kRead;
}

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path) {
  std::string text;
  if (ReadWholeFile(path, text) != ReadStatus::kRead) return std::nullopt;
  return text;
}

}  // namespace f7301
