#include "printout/pdf_stamp.h"

// qpdf's pointers are std::shared_ptr throughout, not its older holder.
#define POINTERHOLDER_TRANSITION 4

#include <exception>
#include <memory>
#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>
#include <qpdf/QPDFWriter.hh>
#include <vector>

namespace f7301 {
namespace {

void Read(QPDF& pdf, const char* description, std::string_view bytes) {
  pdf.setSuppressWarnings(true);
  pdf.processMemoryFile(description, bytes.data(), bytes.size());
}

// The stamp's content goes after the page's own, which is wrapped in q ... Q
// so that whatever state it leaves cannot move or hide the stamp.
void LayOver(QPDF& pdf, QPDFPageObjectHelper& page, QPDFObjectHandle form) {
  QPDFObjectHandle resources = page.getAttribute("/Resources", true);
  if (!resources.isDictionary()) {
    resources = QPDFObjectHandle::newDictionary();
    page.getObjectHandle().replaceKey("/Resources", resources);
  }
  if (!resources.getKey("/XObject").isDictionary()) {
    resources.replaceKey("/XObject", QPDFObjectHandle::newDictionary());
  }
  int suffix = 1;
  const std::string name = resources.getUniqueResourceName("/Fx", suffix);
  resources.getKey("/XObject").replaceKey(name, form);
  const QPDFObjectHandle::Rectangle box = page.getTrimBox().getArrayAsRectangle();
  const std::string placed = page.placeFormXObject(form, name, box, true, true, true);
  page.addPageContents(QPDFObjectHandle::newStream(&pdf, "q\n"), true);
  page.addPageContents(QPDFObjectHandle::newStream(&pdf, "\nQ\nq\n" + placed + "\nQ\n"), false);
}

std::string Written(QPDF& pdf) {
  QPDFWriter writer(pdf);
  writer.setOutputMemory();
  writer.setObjectStreamMode(qpdf_o_generate);
  writer.write();
  const std::shared_ptr<Buffer> buffer = writer.getBufferSharedPointer();
  return std::string(reinterpret_cast<const char*>(buffer->getBuffer()), buffer->getSize());
}

}  // namespace

std::optional<int> PdfPageCount(std::string_view pdf) {
  try {
    QPDF document;
    Read(document, "printed form", pdf);
    return static_cast<int>(document.getAllPages().size());
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

std::optional<std::string> StampPages(std::string_view printed, std::string_view stamps) {
  try {
    QPDF out;
    Read(out, "printed form", printed);
    QPDF over;
    Read(over, "page stamps", stamps);
    QPDFPageDocumentHelper outDocument(out);
    outDocument.pushInheritedAttributesToPage();
    std::vector<QPDFPageObjectHelper> pages = outDocument.getAllPages();
    std::vector<QPDFPageObjectHelper> stampPages = QPDFPageDocumentHelper(over).getAllPages();
    if (pages.size() != stampPages.size()) return std::nullopt;
    for (std::size_t i = 0; i < pages.size(); ++i) {
      LayOver(out, pages[i], out.copyForeignObject(stampPages[i].getFormXObjectForPage()));
    }
    return Written(out);
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

}  // namespace f7301
