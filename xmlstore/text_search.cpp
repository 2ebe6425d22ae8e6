#include "xmlstore/text_search.h"

#include <cstring>
#include <vector>

namespace f7301 {
namespace {

// The first `c` at or after `at`. Looked at directly first: a text made of
// the character would otherwise cost a call per character.
std::size_t NextPlaceOf(std::string_view text, std::size_t at, char c) {
  if (text[at] == c) return at;
  const void* found = std::memchr(text.data() + at, c, text.size() - at);
  if (found == nullptr) return std::string_view::npos;
  return static_cast<std::size_t>(static_cast<const char*>(found) - text.data());
}

// For a needle whose last character occurs nowhere else in it, as every
// closing tag "</name>" (a name holds no ">"). Only the places of that
// character are visited, with memchr; an occurrence ending at one lies wholly
// after the one before, so the comparisons never cover a character twice.
std::size_t FindByLastCharacter(std::string_view text, std::string_view needle, std::size_t from) {
  const std::size_t rest = needle.size() - 1;
  const char* const begin = text.data();
  std::size_t at = from + rest;  // the first place the last character can be
  while (at < text.size()) {
    const std::size_t end = NextPlaceOf(text, at, needle.back());
    if (end == std::string_view::npos) break;
    const char* const start = begin + end - rest;
    if (start[0] == needle[0] && std::memcmp(start, needle.data(), rest) == 0) return end - rest;
    at = end + needle.size();
  }
  return std::string_view::npos;
}

// For each prefix of `needle`, the length of its longest proper prefix that
// is also its suffix (Knuth, Morris and Pratt): where a partial match resumes
// after a mismatch, so no character of the text is looked at twice.
std::vector<std::size_t> FallbackTable(std::string_view needle) {
  std::vector<std::size_t> fallback(needle.size(), 0);
  std::size_t matched = 0;
  for (std::size_t i = 1; i < needle.size(); ++i) {
    while (matched > 0 && needle[i] != needle[matched]) matched = fallback[matched - 1];
    if (needle[i] == needle[matched]) ++matched;
    fallback[i] = matched;
  }
  return fallback;
}

std::size_t FindWithFallbacks(std::string_view text, std::string_view needle, std::size_t from) {
  const std::vector<std::size_t> fallback = FallbackTable(needle);
  std::size_t matched = 0;
  for (std::size_t i = from; i < text.size(); ++i) {
    while (matched > 0 && text[i] != needle[matched]) matched = fallback[matched - 1];
    if (text[i] == needle[matched]) ++matched;
    if (matched == needle.size()) return i + 1 - needle.size();
  }
  return std::string_view::npos;
}

}  // namespace

std::size_t FindText(std::string_view text, std::string_view needle, std::size_t from) {
  if (from > text.size()) return std::string_view::npos;
  if (needle.empty()) return from;
  if (needle.size() > text.size() - from) return std::string_view::npos;
  if (needle.find(needle.back()) == needle.size() - 1) {
    return FindByLastCharacter(text, needle, from);
  }
  return FindWithFallbacks(text, needle, from);
}

}  // namespace f7301
