#include "tests/support/hostile_xml.h"

namespace f7301::testing {
namespace {

void FillWith(std::string& text, std::string_view piece, std::size_t bytes) {
  while (text.size() + piece.size() <= bytes) text += piece;
  text.resize(bytes, '<');
}

}  // namespace

std::string NearMatchesOfALongName(std::size_t bytes) {
  // A name of a quarter of the text leaves the most near-matches of it.
  std::string text = "<";
  FillWith(text, "</", bytes / 4);
  text += "<>";
  FillWith(text, "</", bytes);
  return text;
}

std::string NestedClosingMarkers(std::size_t bytes) {
  std::string text;
  FillWith(text, "</", bytes);
  return text;
}

std::string DeepNestingAroundMarkers(std::size_t bytes, int levels) {
  std::string open;
  std::string close;
  for (int i = 0; i < levels; ++i) {
    const std::string name = "E" + std::to_string(i);
    open += "<" + name + ">";
    close = "</" + name + ">" + close;
  }
  std::string text = open;
  const std::size_t body =
      bytes > open.size() + close.size() ? bytes - open.size() - close.size() : 0;
  text.append(body, '<');
  return text + close;
}

}  // namespace f7301::testing
