#pragma once
// Where a declaration is filed: <directory>/<NIT>/7301/RTQ-<form number>,
// and its HTML copy beside it with ".htm" added.
#include <filesystem>
#include <string>
#include <string_view>

namespace f7301 {

// True when `name` (Windows-1252) can name one folder or file inside the
// chosen directory on any file system the program runs on: not empty, not
// "." or "..", no path separator, no control character or zero byte, none of
// the characters Windows forbids in names (: * ? " < > |).
bool IsUsableFileName(std::string_view name);

struct DeclarationPaths {
  std::filesystem::path taxpayerFolder;  // <directory>/<NIT>
  std::filesystem::path formFolder;      // <directory>/<NIT>/7301
  std::filesystem::path file;            // <directory>/<NIT>/7301/RTQ-<form number>
};

// `nit` and `formNumber` are Windows-1252 and must be usable file names.
DeclarationPaths DeclarationPathsFor(const std::filesystem::path& directory, std::string_view nit,
                                     std::string_view formNumber);

std::filesystem::path HtmlCopyPath(const std::filesystem::path& declarationFile);

// Paths to and from the UTF-8 texts of dialogs and messages.
std::filesystem::path PathFromUtf8(std::string_view utf8);
std::string PathToUtf8(const std::filesystem::path& path);

}  // namespace f7301
