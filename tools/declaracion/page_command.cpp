// declaracion page readonly|editable FILE: prints the page that reopening
// FILE shows (Consultar or Modificar), Windows-1252 bytes as generated. It runs
// the program's own reopening, answered as if FILE had been chosen, so the
// tool and the program cannot disagree on what a file shows.
#include <cstdio>
#include <optional>
#include <string>
#include <utility>

#include "declaration/declaration_loader.h"
#include "tools/declaracion/subcommands.h"
#include "xmlstore/xml_reader.h"

namespace f7301::tool {
namespace {

class ChosenFilePrompts final : public UserPrompts {
 public:
  explicit ChosenFilePrompts(std::string file) : m_file(std::move(file)) {}

  std::optional<std::string> ChooseDestinationDirectory(const std::string&) override {
    return std::nullopt;
  }
  std::optional<std::string> ChooseDeclarationFile() override { return m_file; }
  void ShowAppMessage(const std::string& text) override { m_message = text; }
  void ShowViewMessage(const std::string& text, const std::string&) override { m_message = text; }
  void ShowGeneratedPage(const std::string& page) override { m_page = page; }

  const std::optional<std::string>& page() const { return m_page; }
  const std::string& message() const { return m_message; }

 private:
  std::string m_file;
  std::string m_message;
  std::optional<std::string> m_page;
};

int PageUsage() {
  std::fprintf(stderr, "uso: declaracion page readonly|editable FILE\n");
  return kExitUsage;
}

}  // namespace

int RunPage(const Arguments& args) {
  if (args.size() != 2 || (args[0] != "readonly" && args[0] != "editable")) return PageUsage();
  ChosenFilePrompts prompts(args[1]);
  CXmlReader reader;
  DeclarationLoader(prompts, reader)
      .LoadDeclaration(args[0] == "readonly" ? LoadMode::Consultar : LoadMode::Modificar);
  if (!prompts.page()) {
    std::fprintf(stderr, "declaracion: %s: %s\n", args[1].c_str(), prompts.message().c_str());
    return kExitNotShown;
  }
  const std::string& page = *prompts.page();
  if (std::fwrite(page.data(), 1, page.size(), stdout) != page.size() || std::fflush(stdout) != 0) {
    std::fprintf(stderr, "declaracion: no se puede escribir la salida\n");
    return kExitFileError;
  }
  return 0;
}

}  // namespace f7301::tool
