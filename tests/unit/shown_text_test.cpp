// Texts shown in a question: nothing in a file name can reorder the box or
// start a line of its own.
#include "draft/shown_text.h"

#include <gtest/gtest.h>

namespace f7301 {
namespace {

TEST(ShownTextTest, ControlAndDirectionCharactersAreShownAsTheirCodes) {
  const struct {
    std::string text;
    std::string shown;
  } cases[] = {
      {"/home/ana/RTQ-19730111010001", "/home/ana/RTQ-19730111010001"},
      {"/home/añá/€ 𝄞", "/home/añá/€ 𝄞"},
      {"/tmp/\xE2\x80\xAE"
       "fdp.exe",
       "/tmp/[U+202E]fdp.exe"},  // right-to-left override
      {"a\xE2\x81\xA6"
       "b\xE2\x81\xA9"
       "c",
       "a[U+2066]b[U+2069]c"},
      {"a\xE2\x80\x8F\xD8\x9C"
       "b",
       "a[U+200F][U+061C]b"},
      {"x\nNIT: 19\r\t", "x[U+000A]NIT: 19[U+000D][U+0009]"},
      {"x\xE2\x80\xA8y\xC2\x85z\x7F", "x[U+2028]y[U+0085]z[U+007F]"},
      {std::string("a\0b", 3), "a[U+0000]b"},
      {"bad \xFF \xC3 \xE2\x80 \xC0\xAF \xED\xA0\x80",
       "bad \xEF\xBF\xBD \xEF\xBF\xBD "
       "\xEF\xBF\xBD\xEF\xBF\xBD \xEF\xBF\xBD\xEF\xBF\xBD "
       "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
  };
  for (const auto& c : cases) EXPECT_EQ(ShownSafely(c.text), c.shown) << c.text;
}

TEST(ShownTextTest, LongTextsAreCutAtFortyCharactersShown) {
  const std::string forty(40, 'n');
  const struct {
    std::string text;
    std::string shown;
  } cases[] = {
      {forty, forty},
      {forty + "x", forty + "\xE2\x80\xA6"},
      {std::string(54 * 1024, 'n'), forty + "\xE2\x80\xA6"},
      {std::string(39, 'a') + "\xC3\xB1\xC3\xB1", std::string(39, 'a') + "\xC3\xB1\xE2\x80\xA6"},
      {std::string(36, 'a') + "\xE2\x80\xAE"
                              "b",
       std::string(36, 'a') + "[U+2\xE2\x80\xA6"},
  };
  for (const auto& c : cases) EXPECT_EQ(ShownShort(c.text), c.shown) << c.text.substr(0, 60);
}

}  // namespace
}  // namespace f7301
