#pragma once
// Consultar and Modificar: choose a declaration file (or take the one given),
// unseal and check it, read it into the store and show its page.
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
  // True when the page was shown.
  bool LoadDeclaration(LoadMode mode);

  // The same for a file chosen elsewhere: no dialog, the same reading,
  // messages and page.
  bool LoadDeclarationFile(LoadMode mode, const std::filesystem::path& file);

  // Reads `file` as `mode` does, up to the page it would show (returned),
  // leaving the declaration in the reader's store; nothing when the file is
  // refused (the user has been told why).
  std::optional<std::string> ReadDeclaration(LoadMode mode, const std::filesystem::path& file);

  // The file last read (chosen by the dialog or given); empty before and
  // after a cancelled dialog.
  const std::filesystem::path& currentFile() const { return m_currentFile; }

 private:
  // The file's text, or nothing when it could not be read (already told).
  std::optional<std::string> ReadFile(LoadMode mode);
  // The declaration XML of a sealed text, or nothing (already told).
  std::optional<std::string> UnsealedXml(const std::string& text, LoadMode mode);
  // True when the store holds a declaration of form 7301 (else already told).
  bool IsForm7301(LoadMode mode);

  UserPrompts& m_prompts;
  CXmlReader& m_reader;
  std::filesystem::path m_currentFile;
};

}  // namespace f7301
