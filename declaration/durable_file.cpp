#include "declaration/durable_file.h"

#include <cerrno>
#include <string>
#include <utility>

#if defined(_WIN32)
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace f7301 {
namespace {

int SystemSync(int descriptor) {
#if defined(_WIN32)
  return _commit(descriptor);
#else
  return fsync(descriptor);
#endif
}

SyncCall& CurrentSyncCall() {
  static SyncCall call = SystemSync;
  return call;
}

#if !defined(_WIN32)
std::string DirectoryName(const std::filesystem::path& directory) {
  return directory.empty() ? std::string(".") : directory.string();
}
#endif

}  // namespace

std::FILE* OpenUnnamedFile(const std::filesystem::path& directory) {
#if defined(O_TMPFILE)
  const int fd = open(DirectoryName(directory).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
  if (fd < 0) return nullptr;
  std::FILE* file = fdopen(fd, "wb");
  if (file == nullptr) close(fd);
  return file;
#else
  (void)directory;
  return nullptr;
#endif
}

LinkResult LinkUnnamedFile(std::FILE* file, const std::filesystem::path& path) {
#if defined(O_TMPFILE)
  const int fd = fileno(file);
  // The descriptor's entry under /proc names the unnamed file for an ordinary
  // process; linking the descriptor itself needs a privileged one.
  const std::string byDescriptor = "/proc/self/fd/" + std::to_string(fd);
  if (linkat(AT_FDCWD, byDescriptor.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0) {
    return LinkResult::kLinked;
  }
  if (errno == EEXIST) return LinkResult::kNameTaken;
  if (linkat(fd, "", AT_FDCWD, path.c_str(), AT_EMPTY_PATH) == 0) return LinkResult::kLinked;
  return errno == EEXIST ? LinkResult::kNameTaken : LinkResult::kUnavailable;
#else
  (void)file;
  (void)path;
  return LinkResult::kUnavailable;
#endif
}

SyncCall ReplaceSyncCall(SyncCall call) {
  SyncCall previous = std::move(CurrentSyncCall());
  CurrentSyncCall() = call ? std::move(call) : SyncCall(SystemSync);
  return previous;
}

bool SyncFile(std::FILE* file) {
  if (std::fflush(file) != 0) return false;
#if defined(_WIN32)
  return CurrentSyncCall()(_fileno(file)) == 0;
#else
  return CurrentSyncCall()(fileno(file)) == 0;
#endif
}

bool SyncDirectory(const std::filesystem::path& directory) {
#if defined(_WIN32)
  (void)directory;
  return true;
#else
  const int fd = open(DirectoryName(directory).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  // Some file systems cannot sync a directory and say so; theirs are durable
  // without it.
  const bool synced = CurrentSyncCall()(fd) == 0 || errno == EINVAL;
  close(fd);
  return synced;
#endif
}

}  // namespace f7301
