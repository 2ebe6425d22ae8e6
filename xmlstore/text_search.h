#pragma once
// Finding a text inside a larger one in time linear in both, whatever they
// hold. The standard library's search may compare the whole needle at every
// place its first character occurs; a file made of long near-matches then
// takes minutes to read.
#include <cstddef>
#include <string_view>

namespace f7301 {

// The first position at or after `from` where `needle` occurs in `text`, or
// std::string_view::npos. An empty needle is found at `from` when `from` is
// within the text (as std::string_view::find does).
std::size_t FindText(std::string_view text, std::string_view needle, std::size_t from = 0);

}  // namespace f7301
