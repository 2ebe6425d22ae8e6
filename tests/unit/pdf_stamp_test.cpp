// Laying the running head and page numbers over the browser's printed pages.
// The pages are read back with poppler's pdftotext, as a reader of the PDF
// would find them.
#include "printout/pdf_stamp.h"

// qpdf's pointers are std::shared_ptr throughout, not its older holder.
#define POINTERHOLDER_TRANSITION 4

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>
#include <sstream>
#include <string>
#include <vector>

namespace f7301 {
namespace {

// One A4 page per content stream, Helvetica as /F1.
std::string PdfOfPages(const std::vector<std::string>& contents) {
  QPDF pdf;
  pdf.emptyPDF();
  QPDFObjectHandle font = pdf.makeIndirectObject(QPDFObjectHandle::parse(
      "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>"));
  QPDFPageDocumentHelper document(pdf);
  for (const std::string& content : contents) {
    QPDFObjectHandle page = pdf.makeIndirectObject(
        QPDFObjectHandle::parse("<< /Type /Page /MediaBox [0 0 595 842] >>"));
    QPDFObjectHandle resources = QPDFObjectHandle::parse("<< /Font << >> >>");
    resources.getKey("/Font").replaceKey("/F1", font);
    page.replaceKey("/Resources", resources);
    page.replaceKey("/Contents", QPDFObjectHandle::newStream(&pdf, content));
    document.addPage(QPDFPageObjectHelper(page), false);
  }
  QPDFWriter writer(pdf);
  writer.setOutputMemory();
  writer.write();
  auto buffer = writer.getBufferSharedPointer();
  return std::string(reinterpret_cast<const char*>(buffer->getBuffer()), buffer->getSize());
}

std::string TextAt(const std::string& text, int y) {
  return "BT /F1 12 Tf 72 " + std::to_string(y) + " Td (" + text + ") Tj ET\n";
}

class PdfStampTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_dir = std::filesystem::temp_directory_path() /
            ("f7301-stamp-" + std::to_string(::getpid()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(m_dir);
  }
  void TearDown() override { std::filesystem::remove_all(m_dir); }

  // The text pdftotext reads on `page` (from 1), within the top `height`
  // points of the page when `height` is given.
  std::string TextOf(const std::string& pdf, int page, int height = 0) {
    const auto file = m_dir / "read.pdf";
    std::ofstream(file, std::ios::binary) << pdf;
    std::string command =
        "pdftotext -q -f " + std::to_string(page) + " -l " + std::to_string(page) + " -r 72";
    if (height > 0) command += " -x 0 -y 0 -W 595 -H " + std::to_string(height);
    command += " '" + file.string() + "' -";
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return "(pdftotext did not start)";
    std::string text;
    char chunk[4096];
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) text.append(chunk, n);
    ::pclose(pipe);
    return text;
  }

  std::filesystem::path m_dir;
};

TEST_F(PdfStampTest, EachPageGetsItsOwnStampAndKeepsItsText) {
  const std::string printed =
      PdfOfPages({TextAt("NIT 111", 400), TextAt("NIT 222", 400), TextAt("NIT 333", 400)});
  const std::string stamps = PdfOfPages(
      {TextAt("Pagina 1 de 3", 800), TextAt("Pagina 2 de 3", 800), TextAt("Pagina 3 de 3", 800)});
  ASSERT_EQ(PdfPageCount(printed), 3);
  const std::optional<std::string> stamped = StampPages(printed, stamps);
  ASSERT_TRUE(stamped.has_value());
  EXPECT_EQ(PdfPageCount(*stamped), 3);
  const char* nits[] = {"NIT 111", "NIT 222", "NIT 333"};
  for (int page = 1; page <= 3; ++page) {
    const std::string text = TextOf(*stamped, page);
    EXPECT_NE(text.find(nits[page - 1]), std::string::npos) << text;
    EXPECT_NE(text.find("Pagina " + std::to_string(page) + " de 3"), std::string::npos) << text;
    EXPECT_EQ(text.find("Pagina " + std::to_string(page % 3 + 1) + " de 3"), std::string::npos);
  }
}

// A printed page that leaves its drawing state changed (here scaled to a
// tenth, never restored) must not carry the stamp off its place at the top.
TEST_F(PdfStampTest, StampStaysWhereItWasDrawn) {
  const std::string printed = PdfOfPages({"q 0.1 0 0 0.1 0 0 cm\n" + TextAt("Cuerpo", 4000)});
  const std::optional<std::string> stamped =
      StampPages(printed, PdfOfPages({TextAt("Encabezado", 800)}));
  ASSERT_TRUE(stamped.has_value());
  EXPECT_NE(TextOf(*stamped, 1, 100).find("Encabezado"), std::string::npos);
}

TEST_F(PdfStampTest, RefusesWhatItCannotMatch) {
  const std::string one = PdfOfPages({TextAt("uno", 400)});
  const std::string two = PdfOfPages({TextAt("uno", 400), TextAt("dos", 400)});
  EXPECT_FALSE(StampPages(one, two).has_value());
  EXPECT_FALSE(StampPages(two, one).has_value());
  EXPECT_FALSE(StampPages("no es un PDF", one).has_value());
  EXPECT_FALSE(StampPages(one, "").has_value());
  EXPECT_FALSE(StampPages(one.substr(0, one.size() / 3), one).has_value());
  EXPECT_FALSE(PdfPageCount("%PDF-1.4 basura").has_value());
  EXPECT_FALSE(PdfPageCount("").has_value());
}

}  // namespace
}  // namespace f7301
