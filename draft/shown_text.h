#pragma once
// Text from a file name or a file's contents, made safe to show in a
// question the user answers: a control or bidirectional formatting character
// could otherwise reorder what the box shows (a path that reads as another)
// or start lines of its own. Each is shown as its code, "[U+202E]", and bytes
// that are not UTF-8 as U+FFFD.
#include <cstddef>
#include <string>
#include <string_view>

namespace f7301 {

std::string ShownSafely(std::string_view utf8);

// The same, cut after `most` characters with "…": a name or path of any
// length leaves a question's text and buttons on the screen.
std::string ShownShort(std::string_view utf8, std::size_t most = 40);

}  // namespace f7301
