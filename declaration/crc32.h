#pragma once
// The checksum of the declaration seal: CRC-32 with the parameters known as
// CRC-32/BZIP2 (polynomial 0x04C11DB7, most significant bit first, initial
// value and final mask 0xFFFFFFFF). Check value of "123456789": 0xFC891918.
#include <cstdint>
#include <string_view>

namespace f7301 {

std::uint32_t Crc32(std::string_view bytes);

}  // namespace f7301
