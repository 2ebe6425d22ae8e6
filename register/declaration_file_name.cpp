#include "register/declaration_file_name.h"

#include "declaration/declaration_paths.h"

namespace f7301 {
namespace {

constexpr std::string_view kPrefix = "RTQ-";
constexpr std::string_view kForm = "7301";
constexpr std::size_t kPeriodDigits = 4;  // YYMM
constexpr std::size_t kNumberDigits = 8;

bool AllDigits(std::string_view text) {
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

bool IsMonth(std::string_view twoDigits) {
  const int month = (twoDigits[0] - '0') * 10 + (twoDigits[1] - '0');
  return month >= 1 && month <= 12;
}

}  // namespace

bool IsDeclarationFileName(std::string_view name) {
  const std::size_t fixedTail = kForm.size() + kPeriodDigits + kNumberDigits;
  if (!name.starts_with(kPrefix) || name.size() <= kPrefix.size() + fixedTail) return false;
  if (!IsUsableFileName(name)) return false;
  const std::string_view tail = name.substr(name.size() - fixedTail);
  const std::string_view period = tail.substr(kForm.size(), kPeriodDigits);
  return tail.starts_with(kForm) && AllDigits(tail.substr(kForm.size())) &&
         IsMonth(period.substr(2));
}

std::string FileNameText(const std::filesystem::path& path) {
#if defined(_WIN32)
  return PathToUtf8(path.filename());
#else
  const std::string& native = path.native();
  const std::size_t slash = native.rfind('/');
  return slash == std::string::npos ? native : native.substr(slash + 1);
#endif
}

}  // namespace f7301
