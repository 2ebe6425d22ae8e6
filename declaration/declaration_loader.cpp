#include "declaration/declaration_loader.h"

#include "declaration/declaration_paths.h"
#include "declaration/form_check.h"
#include "declaration/seal.h"
#include "formpage/page_builders.h"

namespace f7301 {
namespace {

// The two commands tell the user the same things in their own words; the
// wording is the one taxpayers and help desks know, typo included.
struct LoadMessages {
  const char* notSealed;     // not a sealed declaration, or altered
  const char* noFormCode;    // no CODIGO_FORMULARIO
  const char* noVersion;     // no NUMERO_VERSION
  const char* pageNotBuilt;  // a value the page needs is missing
};

constexpr LoadMessages kConsultar = {
    "El archivo que se intenta abrir es invalido, no pertenece a una declaración",
    "El archivo a abrir es invalido, no pertenece a una declaración.",
    "El archivo a abrir es invalido, no pertenece a una declaración",
    "El archivo a abrir no pertenece a una declaración RTQ-7301, verifique.",
};

constexpr LoadMessages kModificar = {
    "El archivo que intenta modificar es invalido, no pertenece a una declaración",
    "El archivo que desea modificar es invalido, no pertenece a unda declaración",
    "El archivo que desea modificar es invalido, no pertenece a una declaración",
    "El archivo a modificar no pertenece a una declaración RTQ-7301, verifique",
};

constexpr const char* kOtherForm =
    "Error:\nNo es posible abrir el documento, ya que no pertenece a un formulario RTQ-7301.";
constexpr const char* kOtherFormCaption = "Formulario7301";

const LoadMessages& MessagesFor(LoadMode mode) {
  return mode == LoadMode::Consultar ? kConsultar : kModificar;
}

std::string CannotReadText(const std::filesystem::path& file) {
  return "Error:\nNo pudo leerse el archivo " + PathToUtf8(file) +
         ", verifique que exista y que tenga permisos de lectura.";
}

bool BuildPage(LoadMode mode, const CFieldList& store, std::string& page) {
  return mode == LoadMode::Consultar ? BuildReadOnlyPage(store, page)
                                     : BuildEditablePage(store, page);
}

}  // namespace

DeclarationLoader::DeclarationLoader(UserPrompts& prompts, CXmlReader& reader)
    : m_prompts(prompts), m_reader(reader) {}

bool DeclarationLoader::LoadDeclaration(LoadMode mode) {
  m_currentFile.clear();
  const std::optional<std::string> chosen = m_prompts.ChooseDeclarationFile();
  if (!chosen || chosen->empty()) return false;
  return LoadDeclarationFile(mode, PathFromUtf8(*chosen));
}

bool DeclarationLoader::LoadDeclarationFile(LoadMode mode, const std::filesystem::path& file) {
  const std::optional<std::string> page = ReadDeclaration(mode, file);
  if (!page) return false;
  m_prompts.ShowGeneratedPage(*page);
  return true;
}

std::optional<std::string> DeclarationLoader::ReadDeclaration(LoadMode mode,
                                                              const std::filesystem::path& file) {
  m_currentFile = file;
  const std::optional<std::string> text = ReadFile(mode);
  if (!text) return std::nullopt;
  const std::optional<std::string> xml = UnsealedXml(*text, mode);
  if (!xml) return std::nullopt;

  m_reader.ReplaceStore();
  m_reader.Parse(xml->data(), static_cast<long>(xml->size()));
  if (!IsForm7301(mode)) return std::nullopt;

  std::string page;
  if (!BuildPage(mode, m_reader.store(), page)) {
    m_prompts.ShowAppMessage(MessagesFor(mode).pageNotBuilt);
    return std::nullopt;
  }
  return page;
}

std::optional<std::string> DeclarationLoader::ReadFile(LoadMode mode) {
  std::string text;
  switch (ReadWholeFile(m_currentFile, text)) {
    case ReadStatus::kRead:
      return text;
    case ReadStatus::kTooLarge:
      // Nothing the program writes comes near the limit.
      m_prompts.ShowAppMessage(MessagesFor(mode).notSealed);
      return std::nullopt;
    case ReadStatus::kCannotRead:
      m_prompts.ShowAppMessage(CannotReadText(m_currentFile));
      return std::nullopt;
  }
  return std::nullopt;
}

std::optional<std::string> DeclarationLoader::UnsealedXml(const std::string& text, LoadMode mode) {
  std::string block;
  if (CSeal().Unseal(text, &block, nullptr) != UnsealResult::kValid) {
    m_prompts.ShowAppMessage(MessagesFor(mode).notSealed);
    return std::nullopt;
  }
  return std::string(XmlOfBlock(block));
}

bool DeclarationLoader::IsForm7301(LoadMode mode) {
  switch (CheckForm7301(m_reader.store())) {
    case FormCheck::kForm7301:
      return true;
    case FormCheck::kNoFormCode:
      m_prompts.ShowAppMessage(MessagesFor(mode).noFormCode);
      return false;
    case FormCheck::kNoVersion:
      m_prompts.ShowAppMessage(MessagesFor(mode).noVersion);
      return false;
    case FormCheck::kOtherForm:
      m_prompts.ShowViewMessage(kOtherForm, kOtherFormCaption);
      return false;
  }
  return false;
}

}  // namespace f7301
