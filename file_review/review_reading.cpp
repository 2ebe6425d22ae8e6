#include "file_review/review_reading.h"

#include "declaration/declaration_loader.h"
#include "declaration/user_prompts.h"
#include "xmlstore/xml_reader.h"

namespace f7301 {
namespace {

// Nobody to ask: every question is cancelled, every message kept.
class KeptMessages : public UserPrompts {
 public:
  std::optional<std::string> ChooseDestinationDirectory(const std::string&) override {
    return std::nullopt;
  }
  std::optional<std::string> ChooseDeclarationFile() override { return std::nullopt; }
  void ShowAppMessage(const std::string& text) override { Keep(text); }
  void ShowViewMessage(const std::string& text, const std::string&) override { Keep(text); }
  void ShowGeneratedPage(const std::string&) override {}

  const std::string& first() const { return m_first; }

 private:
  // The reading stops at its first refusal; should it ever say more, the
  // first message is the one that tells why.
  void Keep(const std::string& text) {
    if (m_first.empty()) m_first = text;
  }
  std::string m_first;
};

}  // namespace

ReviewReading ReadForReview(const std::filesystem::path& file) {
  KeptMessages messages;
  CXmlReader reader;
  DeclarationLoader loader(messages, reader);
  ReviewReading reading;
  reading.page = loader.ReadDeclaration(LoadMode::Modificar, file);
  if (!reading.page) reading.refusal = messages.first();
  return reading;
}

}  // namespace f7301
