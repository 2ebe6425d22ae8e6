#pragma once
// Declaration texts made to slow the XML reader down: each is the worst of
// its kind for a scan that is not linear in the size of its input.
#include <cstddef>
#include <string>
#include <string_view>

namespace f7301::testing {

// A little above the largest XML a declaration file under the program's read
// limit can hold, rounded as the figures quote it.
inline constexpr std::size_t kHostileXmlBytes = 8'300'000;

// The XML of a sealed declaration file of about 8.3 MB, just under the read
// limit: the largest hostile file the program opens.
inline constexpr std::size_t kHostileSealedXmlBytes = 6'200'000;

// One tag whose name is a long run of "</", then the rest of `bytes` filled
// with "</": every "<" after the tag starts a near-match of the closing tag
// that only fails at its last character.
std::string NearMatchesOfALongName(std::size_t bytes);

// Nothing but "</", `bytes` long.
std::string NestedClosingMarkers(std::size_t bytes);

// Elements nested as deep as the reader descends, around a content of "<"
// that fills `bytes`: each level scans the whole content again.
std::string DeepNestingAroundMarkers(std::size_t bytes, int levels);

}  // namespace f7301::testing
