#pragma once
// The SHA-256 of a file's bytes, as 64 lowercase hexadecimal digits: two
// files of one digest hold the same bytes, so a backup copy can be told from
// a second filing without comparing the files. A weaker sum would let
// someone who can write in a folder make a different declaration pass for a
// copy.
#include <string>
#include <string_view>

namespace f7301 {

std::string ContentDigest(std::string_view bytes);

// 64 lowercase hexadecimal digits, as ContentDigest writes them.
bool IsContentDigest(std::string_view text);

}  // namespace f7301
