#include <gtest/gtest.h>

#include <string>

#include "declaration/crc32.h"

namespace f7301 {
namespace {

TEST(SealCrc32, KnownValuesOfCrc32Bzip2) {
  EXPECT_EQ(Crc32("123456789"), 0xFC891918u);  // the catalogue's check value
  EXPECT_EQ(Crc32(""), 0u);
  EXPECT_EQ(Crc32(std::string(1, '\0')), 0xB1F7404Bu);
  EXPECT_EQ(Crc32("a"), 0x19939B6Bu);
}

TEST(SealCrc32, BytesAboveAsciiCountUnsigned) {
  // 0xFF meets the top byte of the initial value and selects entry 0; read
  // as a signed char it would select another entry.
  EXPECT_EQ(Crc32("\xFF"), 0xFFu);
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(Crc32(all), 0xB6B5EE95u);
}

TEST(SealCrc32, EveryBitOfTheInputCounts) {
  const std::string text = "<FORMULARIO NUMERO=\"10203045\"> </FORMULARIO>";
  const std::uint32_t reference = Crc32(text);
  for (std::size_t i = 0; i < text.size(); ++i) {
    for (int bit = 0; bit < 8; ++bit) {
      std::string changed = text;
      changed[i] = static_cast<char>(changed[i] ^ (1 << bit));
      EXPECT_NE(Crc32(changed), reference) << "byte " << i << " bit " << bit;
    }
  }
}

}  // namespace
}  // namespace f7301
