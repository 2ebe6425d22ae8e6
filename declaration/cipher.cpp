#include "declaration/cipher.h"

#include <cstddef>

namespace f7301 {
namespace {

unsigned char RotateLeft(unsigned char b, int bits) {
  return static_cast<unsigned char>((b << bits) | (b >> (8 - bits)));
}

unsigned char RotateRight(unsigned char b, int bits) {
  return static_cast<unsigned char>((b >> bits) | (b << (8 - bits)));
}

// Calls step(i, keyByte) for every data position, walking the key forwards
// and backwards in turn.
template <typename Step>
void WalkKey(std::size_t count, std::string_view key, KeyDirection start, Step step) {
  const std::size_t length = key.size();
  bool forwards = start == KeyDirection::kForwards;
  std::size_t p = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t index = forwards ? p : length - 1 - p;
    step(i, static_cast<unsigned char>(key[index]));
    if (++p == length) {
      p = 0;
      forwards = !forwards;
    }
  }
}

}  // namespace

int CipherRotation(std::string_view key) {
  unsigned sum = 0;
  for (char c : key) sum += static_cast<unsigned char>(c);
  const int rotation = static_cast<int>(sum % 8u);
  return rotation == 0 ? 7 : rotation;
}

std::string Encipher(std::string_view data, std::string_view key, KeyDirection start) {
  std::string out(data);
  if (key.empty()) return out;
  const int rotation = CipherRotation(key);
  WalkKey(data.size(), key, start, [&](std::size_t i, unsigned char k) {
    const auto c = static_cast<unsigned char>(k ^ static_cast<unsigned char>(data[i]));
    out[i] = static_cast<char>(RotateLeft(c, rotation));
  });
  return out;
}

std::string Decipher(std::string_view data, std::string_view key, KeyDirection start) {
  std::string out(data);
  if (key.empty()) return out;
  const int rotation = CipherRotation(key);
  WalkKey(data.size(), key, start, [&](std::size_t i, unsigned char k) {
    const auto c = RotateRight(static_cast<unsigned char>(data[i]), rotation);
    out[i] = static_cast<char>(k ^ c);
  });
  return out;
}

}  // namespace f7301
