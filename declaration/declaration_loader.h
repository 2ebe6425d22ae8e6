#pragma once
// Consultar and Modificar: choose a declaration file, unseal and check it,
// read it into the store and show its page.
#include <filesystem>
#include <optional>
#include <string>

#include "declaration/user_prompts.h"
#include "declaration/whole_file.h"
#include "xmlstore/xml_reader.h"

namespace f7301 {

enum class LoadMode { Consultar, Modificar };

class DeclarationLoader {
 public:
  DeclarationLoader(UserPrompts& prompts, CXmlReader& reader);

  // Runs one Consultar or Modificar from the file dialog to the shown page.
  void LoadDeclaration(LoadMode mode);

  // The path chosen by the last dialog; empty before and after a cancel.
  const std::filesystem::path& currentFile() const { return m_currentFile; }

 private:
  // The file's text, or nothing when it could not be read (already told).
  std::optional<std::string> ReadChosenFile(LoadMode mode);
  // The declaration XML of a sealed text, or nothing (already told).
  std::optional<std::string> UnsealedXml(const std::string& text, LoadMode mode);
  // True when the store holds a declaration of form 7301 (else already told).
  bool IsForm7301(LoadMode mode);

  UserPrompts& m_prompts;
  CXmlReader& m_reader;
  std::filesystem::path m_currentFile;
};

}  // namespace f7301
