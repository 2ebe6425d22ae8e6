#pragma once
// The keyed byte cipher of the declaration seal. Each data byte is XORed with
// one key byte and rotated left within its 8 bits. The key is walked
// forwards, then backwards, then forwards again (k0 .. kL-1, kL-1 .. k0, k0 ..)
// so that neighbouring blocks of data never meet the key in the same order.
#include <string>
#include <string_view>

namespace f7301 {

enum class KeyDirection { kForwards = 0, kBackwards = 1 };

// The rotation for a key: the sum of its bytes (unsigned) modulo 8, or 7 when
// that is 0, so a byte is always rotated by 1 to 7 bits.
int CipherRotation(std::string_view key);

// Both return exactly data.size() bytes. An empty key cannot encipher
// anything: the data comes back unchanged.
std::string Encipher(std::string_view data, std::string_view key,
                     KeyDirection start = KeyDirection::kForwards);
std::string Decipher(std::string_view data, std::string_view key,
                     KeyDirection start = KeyDirection::kForwards);

}  // namespace f7301
