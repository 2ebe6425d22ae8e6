// declaracion page readonly|editable FILE: prints the page that reopening
// FILE shows (Consultar or Modificar), Windows-1252 bytes as generated.
#include <cstdio>
#include <string>
#include <string_view>

#include "declaration/seal.h"
#include "formpage/page_builders.h"
#include "tools/declaracion/file_io.h"
#include "tools/declaracion/subcommands.h"
#include "xmlstore/xml_reader.h"

namespace f7301::tool {
namespace {

int PageUsage() {
  std::fprintf(stderr, "uso: declaracion page readonly|editable FILE\n");
  return kExitUsage;
}

// Only a declaration of this form is shown: its code and version read "7301".
bool IsThisForm(const CFieldList& store) {
  const CFieldNode* code = store.Find("CODIGO_FORMULARIO");
  const CFieldNode* version = store.Find("NUMERO_VERSION");
  return code && version && code->value() + version->value() == "7301";
}

bool BuildPage(std::string_view kind, std::string_view xml, std::string& page) {
  CXmlReader reader;
  if (!reader.Parse(xml.data(), static_cast<long>(xml.size()))) return false;
  if (!IsThisForm(reader.store())) return false;
  return kind == "readonly" ? BuildReadOnlyPage(reader.store(), page)
                            : BuildEditablePage(reader.store(), page);
}

}  // namespace

int RunPage(const Arguments& args) {
  if (args.size() != 2 || (args[0] != "readonly" && args[0] != "editable")) return PageUsage();
  const std::optional<std::string> text = ReadFileBytes(args[1]);
  if (!text) {
    std::fprintf(stderr, "declaracion: no se puede leer %s\n", args[1].c_str());
    return kExitFileError;
  }
  std::string block;
  const UnsealResult result = CSeal().Unseal(*text, &block, nullptr);
  if (result != UnsealResult::kValid) {
    std::fprintf(stderr, "declaracion: %s: resultado %d\n", args[1].c_str(),
                 static_cast<int>(result));
    return static_cast<int>(result);
  }
  std::string page;
  if (!BuildPage(args[0], XmlOfBlock(block), page)) {
    std::fprintf(stderr, "declaracion: %s no es una declaracion RTQ-7301 completa\n",
                 args[1].c_str());
    return kExitNotThisForm;
  }
  if (std::fwrite(page.data(), 1, page.size(), stdout) != page.size() || std::fflush(stdout) != 0) {
    std::fprintf(stderr, "declaracion: no se puede escribir la salida\n");
    return kExitFileError;
  }
  return 0;
}

}  // namespace f7301::tool
