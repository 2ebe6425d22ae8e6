#pragma once
// Writes the declaration file that the page hands over ("Validar"), and on
// request its HTML copy beside it.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "declaration/atomic_file.h"
#include "declaration/user_prompts.h"

namespace f7301 {

class DeclarationWriter {
 public:
  // `defaultDirectory` is the destination proposed in the dialog: the user's
  // home directory here ("C:\" on Windows); kept unchanged it is not tested
  // for existence.
  DeclarationWriter(UserPrompts& prompts, std::filesystem::path defaultDirectory);
  // The same, writing the files' bytes through `write` (tests make it fail).
  DeclarationWriter(UserPrompts& prompts, std::filesystem::path defaultDirectory,
                    ChunkWriter write);

  // The page's call. The four texts are Windows-1252, as the page's
  // strings are converted at the browser boundary: the declaration XML, the
  // form number, the page body's HTML and the taxpayer's NIT. True when the
  // declaration file was written.
  bool GeneraArchivo(const std::string& xml, const std::string& formNumber, const std::string& html,
                     const std::string& nit);

  // Ctrl+S: writes the HTML copy of the last generation. 1 when written.
  int SaveHtmlCopy();

  // Path of the declaration file last generated, and that generation's
  // page HTML; both empty until a generation gets as far as naming its file.
  const std::filesystem::path& archivo() const { return m_strArchivo; }
  const std::string& html() const { return m_strHtml; }

 private:
  // The folder the declaration goes under, or nothing when the user
  // cancelled or chose a directory that does not exist (already told).
  std::optional<std::filesystem::path> ChooseDirectory();
  bool NamesAreUsable(const std::string& formNumber, const std::string& nit);
  // True when written; `madeFolders` are the folders this generation made.
  bool WriteDeclaration(const std::filesystem::path& file, const std::string& sealed,
                        const std::vector<std::filesystem::path>& madeFolders);

  UserPrompts& m_prompts;
  std::filesystem::path m_defaultDirectory;
  ChunkWriter m_write;
  std::filesystem::path m_strArchivo;
  std::string m_strHtml;
};

}  // namespace f7301
