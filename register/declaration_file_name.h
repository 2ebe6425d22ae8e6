#pragma once
// The names "Validar" gives declaration files: "RTQ-" + NIT + "7301" + the
// period's two-digit year and month + the 8-digit form number, without an
// extension ("RTQ-12345679" "7301" "1103" "10203045").
#include <filesystem>
#include <string>
#include <string_view>

namespace f7301 {

// Read from the end, in one pass: a NIT may hold any character a file name
// may, so only what follows it has a fixed shape.
bool IsDeclarationFileName(std::string_view name);

// The last part of `path` as UTF-8, the text the name rules read. On POSIX
// the bytes after the last separator, without parsing the path again: the
// register looks at the name of every entry of its folders.
std::string FileNameText(const std::filesystem::path& path);

}  // namespace f7301
