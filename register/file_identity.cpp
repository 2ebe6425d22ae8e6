#include "register/file_identity.h"

#if !defined(_WIN32)
#include <sys/stat.h>
#endif

namespace f7301 {
namespace {

#if defined(_WIN32)

FileKind KindOf(const std::filesystem::file_status& status) {
  switch (status.type()) {
    case std::filesystem::file_type::regular:
      return FileKind::kRegular;
    case std::filesystem::file_type::directory:
      return FileKind::kDirectory;
    case std::filesystem::file_type::symlink:
      return FileKind::kSymlink;
    case std::filesystem::file_type::fifo:
      return FileKind::kFifo;
    case std::filesystem::file_type::block:
    case std::filesystem::file_type::character:
      return FileKind::kDevice;
    case std::filesystem::file_type::socket:
      return FileKind::kSocket;
    case std::filesystem::file_type::not_found:
    case std::filesystem::file_type::none:
      return FileKind::kMissing;
    default:
      return FileKind::kOther;
  }
}

#else

FileKind KindOf(mode_t mode) {
  if (S_ISREG(mode)) return FileKind::kRegular;
  if (S_ISDIR(mode)) return FileKind::kDirectory;
  if (S_ISLNK(mode)) return FileKind::kSymlink;
  if (S_ISFIFO(mode)) return FileKind::kFifo;
  if (S_ISCHR(mode) || S_ISBLK(mode)) return FileKind::kDevice;
  if (S_ISSOCK(mode)) return FileKind::kSocket;
  return FileKind::kOther;
}

#endif

}  // namespace

FileIdentity IdentityOf(const std::filesystem::path& path, LinkPolicy links) {
  FileIdentity identity;
#if defined(_WIN32)
  std::error_code error;
  const auto status = links == LinkPolicy::kFollow ? std::filesystem::status(path, error)
                                                   : std::filesystem::symlink_status(path, error);
  identity.kind = error ? FileKind::kMissing : KindOf(status);
  if (identity.kind != FileKind::kRegular) return identity;
  identity.size = static_cast<std::int64_t>(std::filesystem::file_size(path, error));
  const auto time = std::filesystem::last_write_time(path, error);
  identity.mtimeNs =
      std::chrono::duration_cast<std::chrono::nanoseconds>(time.time_since_epoch()).count();
#else
  struct stat info {};
  const int result =
      links == LinkPolicy::kFollow ? ::stat(path.c_str(), &info) : ::lstat(path.c_str(), &info);
  if (result != 0) return identity;
  identity.kind = KindOf(info.st_mode);
  identity.size = static_cast<std::int64_t>(info.st_size);
  identity.mtimeNs = static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 +
                     static_cast<std::int64_t>(info.st_mtim.tv_nsec);
  identity.ctimeNs = static_cast<std::int64_t>(info.st_ctim.tv_sec) * 1000000000 +
                     static_cast<std::int64_t>(info.st_ctim.tv_nsec);
  identity.inode = static_cast<std::uint64_t>(info.st_ino);
  identity.device = static_cast<std::uint64_t>(info.st_dev);
#endif
  return identity;
}

std::string KindReason(FileKind kind) {
  switch (kind) {
    case FileKind::kRegular:
      return "";
    case FileKind::kDirectory:
      return "Es una carpeta, no un archivo.";
    case FileKind::kSymlink:
      return "Es un enlace simbólico: el registro no sigue enlaces.";
    case FileKind::kFifo:
      return "Es una tubería (FIFO), no un archivo.";
    case FileKind::kDevice:
      return "Es un dispositivo, no un archivo.";
    case FileKind::kSocket:
      return "Es un socket, no un archivo.";
    case FileKind::kOther:
      return "No es un archivo común.";
    case FileKind::kMissing:
      return "No existe o no pudo consultarse.";
  }
  return "";
}

}  // namespace f7301
