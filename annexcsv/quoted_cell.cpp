#include "annexcsv/quoted_cell.h"

namespace f7301 {
namespace {

bool StartsCharacter(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) != 0x80; }

}  // namespace

std::string QuotedCell(std::string_view utf8) {
  std::size_t characters = 0;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    if (!StartsCharacter(utf8[i])) continue;
    if (characters++ == kQuotedCellLength) {
      return "\"" + std::string(utf8.substr(0, i)) + "\xE2\x80\xA6\"";
    }
  }
  return "\"" + std::string(utf8) + "\"";
}

}  // namespace f7301
