#pragma once
// A lock file that a running program holds for as long as it lives. The
// system drops the lock when the program ends, however it ends (a crash, a
// kill), so a lock that can be taken belongs to no running program.
#include <filesystem>

namespace f7301 {

class InstanceLock {
 public:
  InstanceLock() = default;
  InstanceLock(InstanceLock&& other) noexcept;
  InstanceLock& operator=(InstanceLock&& other) noexcept;
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;
  ~InstanceLock();

  // Takes the lock of `file` (made, mode 0600, if missing) without waiting;
  // false when another program holds it or the file cannot be made.
  bool TryLock(const std::filesystem::path& file);

  // Gives the lock up; with `removeFile` the lock file goes first, so no
  // program can take a lock on it once it has been let go.
  void Release(bool removeFile = false);

  bool held() const { return m_handle != kNone; }
  const std::filesystem::path& file() const { return m_file; }

 private:
#if defined(_WIN32)
  using Handle = void*;
  static constexpr Handle kNone = nullptr;
#else
  using Handle = int;
  static constexpr Handle kNone = -1;
#endif
  Handle m_handle = kNone;
  std::filesystem::path m_file;
};

}  // namespace f7301
