// A declaration file read for the review from the command line: the page
// Modificar would show, or what Modificar would have said instead, from the
// application's box or the view's (an altered seal and a FIFO are run
// through the program itself in tests/app/review_command_test.cpp).
#include "file_review/review_reading.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/sample_declaration.h"
#include "tests/unit/declaration_test_support.h"

namespace f7301 {
namespace {

TEST(ReviewReadingTest, ReadsAsModificarAndKeepsWhatItWouldSay) {
  testing::TemporaryDirectory temp;
  const std::string xml = testing::DeclarationXml({});
  testing::WriteBytes(temp.path() / "good", testing::Sealed(xml));
  testing::WriteBytes(temp.path() / "other", testing::Sealed(testing::Replaced(
                                                 xml, "<NUMERO_VERSION>1<", "<NUMERO_VERSION>2<")));
  testing::WriteBytes(temp.path() / "no-code",
                      testing::Sealed(testing::Replaced(xml, "CODIGO_FORMULARIO>", "CODIGO>")));

  const ReviewReading good = ReadForReview(temp.path() / "good");
  EXPECT_EQ(good.refusal, "");
  ASSERT_TRUE(good.page);
  // The editable page, as Modificar shows it.
  EXPECT_NE(good.page->find("onload='inicial(); inicialanexo2();'"), std::string::npos);

  const ReviewReading other = ReadForReview(temp.path() / "other");
  EXPECT_FALSE(other.page);
  EXPECT_EQ(
      other.refusal,
      "Error:\nNo es posible abrir el documento, ya que no pertenece a un formulario RTQ-7301.");
  const ReviewReading noCode = ReadForReview(temp.path() / "no-code");
  EXPECT_FALSE(noCode.page);
  EXPECT_EQ(noCode.refusal,
            "El archivo que desea modificar es invalido, no pertenece a unda declaraci\xC3\xB3n");
}

}  // namespace
}  // namespace f7301
