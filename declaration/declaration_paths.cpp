#include "declaration/declaration_paths.h"

#include "declaration/cp1252.h"

namespace f7301 {
namespace {

bool IsForbiddenInName(unsigned char c) {
  if (c < 0x20 || c == 0x7F) return true;
  switch (c) {
    case '/':
    case '\\':
    case ':':
    case '*':
    case '?':
    case '"':
    case '<':
    case '>':
    case '|':
      return true;
    default:
      return false;
  }
}

}  // namespace

bool IsUsableFileName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  for (char c : name) {
    if (IsForbiddenInName(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

DeclarationPaths DeclarationPathsFor(const std::filesystem::path& directory, std::string_view nit,
                                     std::string_view formNumber) {
  DeclarationPaths paths;
  paths.taxpayerFolder = directory / PathFromUtf8(Cp1252ToUtf8(nit));
  paths.formFolder = paths.taxpayerFolder / "7301";
  paths.file = paths.formFolder / PathFromUtf8(Cp1252ToUtf8("RTQ-" + std::string(formNumber)));
  return paths;
}

std::filesystem::path HtmlCopyPath(const std::filesystem::path& declarationFile) {
  std::filesystem::path copy = declarationFile;
  copy += ".htm";
  return copy;
}

std::filesystem::path PathFromUtf8(std::string_view utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string PathToUtf8(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace f7301
