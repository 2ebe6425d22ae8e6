#include <gtest/gtest.h>

#include <string>

#include "declaration/cipher.h"

namespace f7301 {
namespace {

std::string Bytes(std::initializer_list<unsigned char> values) {
  std::string s;
  for (unsigned char v : values) s += static_cast<char>(v);
  return s;
}

TEST(SealCipher, RotationIsTheKeySumModuloEightNeverZero) {
  EXPECT_EQ(CipherRotation(Bytes({1, 2, 3})), 6);
  EXPECT_EQ(CipherRotation(Bytes({9})), 1);
  EXPECT_EQ(CipherRotation(Bytes({8})), 7);
  EXPECT_EQ(CipherRotation(Bytes({20, 20, 24})), 7);     // 64
  EXPECT_EQ(CipherRotation(Bytes({0xFF, 0xFF, 2})), 7);  // 512: bytes count unsigned
}

TEST(SealCipher, KeyIsWalkedForwardsBackwardsForwards) {
  // Zero data shows the key bytes themselves, rotated left by 6 (sum 6).
  const std::string key = Bytes({1, 2, 3});
  const std::string out = Encipher(std::string(10, '\0'), key);
  EXPECT_EQ(out, Bytes({0x40, 0x80, 0xC0, 0xC0, 0x80, 0x40, 0x40, 0x80, 0xC0, 0xC0}));

  const std::string backwards = Encipher(std::string(7, '\0'), key, KeyDirection::kBackwards);
  EXPECT_EQ(backwards, Bytes({0xC0, 0x80, 0x40, 0x40, 0x80, 0xC0, 0xC0}));
}

TEST(SealCipher, OneByteKeyAlternatesOnItself) {
  // Sum 8: rotation 7. 0x08 ^ 0x01 = 0x09, rotated left by 7 = 0x84.
  EXPECT_EQ(Encipher(Bytes({0x01, 0x00, 0xFF}), Bytes({8})), Bytes({0x84, 0x04, 0xFB}));
}

TEST(SealCipher, DecipherUndoesEncipherForEveryByteAndOffset) {
  std::string data;
  for (int b = 0; b < 256; ++b) data += static_cast<char>(b);
  data += data;
  for (const std::string& key : {Bytes({1}), Bytes({8}), Bytes({1, 2, 3}), std::string("V~9=C"),
                                 Bytes({32, 31, 1, 0xFE, 0x80})}) {
    const std::string sealed = Encipher(data, key);
    ASSERT_EQ(sealed.size(), data.size());
    EXPECT_NE(sealed, data);
    EXPECT_EQ(Decipher(sealed, key), data);
    EXPECT_EQ(
        Decipher(Encipher(data, key, KeyDirection::kBackwards), key, KeyDirection::kBackwards),
        data);
  }
}

TEST(SealCipher, EmptyInputsAreHarmless) {
  EXPECT_EQ(Encipher("", Bytes({1, 2})), "");
  EXPECT_EQ(Decipher("", Bytes({1, 2})), "");
  // No key, no cipher: nothing to walk, the data comes back as it was.
  EXPECT_EQ(Encipher("abc", ""), "abc");
  EXPECT_EQ(Decipher("abc", ""), "abc");
}

}  // namespace
}  // namespace f7301
