#pragma once
// Consultar and Modificar: choose a declaration file, unseal and check it,
// read it into the store and show its page.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "declaration/user_prompts.h"
#include "xmlstore/xml_reader.h"

namespace f7301 {

enum class LoadMode { Consultar, Modificar };

// The whole file as text, up to its first zero byte; nothing when it cannot
// be read. Files larger than `kMaxDeclarationFileSize` are not read.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path);

// The largest declaration file the program reads: well above the largest
// file the writer can produce.
inline constexpr std::uintmax_t kMaxDeclarationFileSize = 8u * 1024u * 1024u;

class DeclarationLoader {
 public:
  DeclarationLoader(UserPrompts& prompts, CXmlReader& reader);

  // Runs one Consultar or Modificar from the file dialog to the shown page.
  void LoadDeclaration(LoadMode mode);

  // The path chosen by the last dialog; empty before and after a cancel.
  const std::filesystem::path& currentFile() const { return m_currentFile; }

 private:
  UserPrompts& m_prompts;
  CXmlReader& m_reader;
  std::filesystem::path m_currentFile;
};

}  // namespace f7301
