#include "draft/instance_lock.h"

#include <system_error>
#include <utility>

#if defined(_WIN32)
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace f7301 {

InstanceLock::InstanceLock(InstanceLock&& other) noexcept
    : m_handle(std::exchange(other.m_handle, kNone)), m_file(std::move(other.m_file)) {}

InstanceLock& InstanceLock::operator=(InstanceLock&& other) noexcept {
  if (this != &other) {
    Release();
    m_handle = std::exchange(other.m_handle, kNone);
    m_file = std::move(other.m_file);
  }
  return *this;
}

InstanceLock::~InstanceLock() { Release(); }

#if defined(_WIN32)

// A file opened with no sharing cannot be opened again until it is closed.
bool InstanceLock::TryLock(const std::filesystem::path& file) {
  Release();
  HANDLE handle = CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  m_handle = handle;
  m_file = file;
  return true;
}

void InstanceLock::Release(bool removeFile) {
  if (m_handle == kNone) return;
  CloseHandle(static_cast<HANDLE>(m_handle));
  m_handle = kNone;
  std::error_code ignored;
  if (removeFile) std::filesystem::remove(m_file, ignored);
}

#else

bool InstanceLock::TryLock(const std::filesystem::path& file) {
  Release();
  const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
  if (fd < 0) return false;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return false;
  }
  m_handle = fd;
  m_file = file;
  return true;
}

void InstanceLock::Release(bool removeFile) {
  if (m_handle == kNone) return;
  std::error_code ignored;
  if (removeFile) std::filesystem::remove(m_file, ignored);
  ::close(m_handle);
  m_handle = kNone;
}

#endif

}  // namespace f7301
