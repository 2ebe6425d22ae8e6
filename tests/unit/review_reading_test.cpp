// A declaration file read for the review from the command line: the page
// Modificar would show, or what Modificar would have said instead.
#include "file_review/review_reading.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "tests/support/sample_declaration.h"
#include "tests/unit/declaration_test_support.h"

namespace f7301 {
namespace {

namespace fs = std::filesystem;

TEST(ReviewReadingTest, ReadsAsModificarAndKeepsWhatItWouldSay) {
  testing::TemporaryDirectory temp;
  const std::string xml = testing::DeclarationXml({});
  std::string altered = testing::Sealed(xml);
  altered[100] = altered[100] == 'A' ? 'B' : 'A';
  testing::WriteBytes(temp.path() / "good", testing::Sealed(xml));
  testing::WriteBytes(temp.path() / "altered", altered);
  testing::WriteBytes(temp.path() / "other",
                      testing::Sealed(testing::Replaced(xml, "<CODIGO_FORMULARIO>730<",
                                                        "<CODIGO_FORMULARIO>731<")));
  ASSERT_EQ(::mkfifo((temp.path() / "fifo").c_str(), 0600), 0);
  const std::string fifo = (temp.path() / "fifo").string();

  const std::vector<std::pair<std::string, std::string>> cases = {
      {"good", ""},
      {"altered",
       "El archivo que intenta modificar es invalido, no pertenece a una declaraci\xC3\xB3n"},
      {"other",
       "Error:\nNo es posible abrir el documento, ya que no pertenece a un formulario RTQ-7301."},
      // Never waited on: nobody writes into it.
      {"fifo", "Error:\nNo pudo leerse el archivo " + fifo +
                   ", verifique que exista y que tenga permisos de lectura."},
  };
  for (const auto& [name, refusal] : cases) {
    const ReviewReading reading = ReadForReview(temp.path() / name);
    EXPECT_EQ(reading.refusal, refusal) << name;
    EXPECT_EQ(reading.page.has_value(), refusal.empty()) << name;
  }
  const ReviewReading good = ReadForReview(temp.path() / "good");
  ASSERT_TRUE(good.page);
  // The editable page: its boxes take typing.
  EXPECT_NE(good.page->find("onload='inicial(); inicialanexo2();'"), std::string::npos);
  EXPECT_NE(good.page->find("12345679"), std::string::npos);
}

}  // namespace
}  // namespace f7301
