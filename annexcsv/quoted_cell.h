#pragma once
// A cell of the file as a message quotes it: in double quotes and, past 40
// characters, cut with "…", so that a long cell cannot fill the screen.
#include <string>
#include <string_view>

namespace f7301 {

inline constexpr std::size_t kQuotedCellLength = 40;

// `utf8` in quotes, cut after kQuotedCellLength characters (not bytes).
std::string QuotedCell(std::string_view utf8);

}  // namespace f7301
