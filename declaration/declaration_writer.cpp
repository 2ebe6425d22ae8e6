#include "declaration/declaration_writer.h"

#include <array>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "declaration/declaration_paths.h"
#include "declaration/durable_file.h"
#include "declaration/seal.h"

namespace f7301 {
namespace {

constexpr const char* kWriterCaption = "Formulario RTQ-7301";
constexpr const char* kDirectoryCaption = "Formulario7301";
constexpr const char* kSaveCaption = "Formulario 7301";

constexpr const char* kDirectoryMissing =
    "Error:\nEl Directorio Especificado no existe, \nCorrija ingresando un directorio existente";
constexpr const char* kCannotCreate = "Error:\nNo pudo crearse el archivo de la declaración.";
constexpr const char* kCannotWrite =
    "Error:\nNo pudo escribirse el archivo con los datos de su declaracion, verifique que tenga "
    "permisos de escritura.";
constexpr const char* kUnusableNit =
    "Error:\nEl NIT del contribuyente no puede usarse como nombre de carpeta (está vacío o "
    "contiene "
    "caracteres no permitidos). No se ha generado el archivo de la declaración.";
constexpr const char* kUnusableFormNumber =
    "Error:\nEl número de formulario no puede usarse como nombre de archivo (está vacío o contiene "
    "caracteres no permitidos). No se ha generado el archivo de la declaración.";
constexpr const char* kCannotSeal =
    "Error:\nNo pudo sellarse la declaración. No se ha generado el archivo de la declaración.";
constexpr const char* kNothingGenerated =
    "Error:\n No puede salvarse la información, antes debe de generarse presionando \n el boton "
    "Generar del Formulario";
constexpr const char* kCannotSaveCopy =
    "Error:\nNo pudo guardarse la copia htm de la declaración, verifique que tenga permisos de "
    "escritura.";

std::string GeneratedText(const std::filesystem::path& file) {
  return "Sr. Contribuyente:\nDel formulario que Ud. acaba de llenar, ha sido generado el archivo "
         "con los datos a presentar en su declaracion y este ha sido guardado con el siguiente "
         "nombre " +
         PathToUtf8(file) +
         ". Ahora Ud. puede presentarlo a través de Internet, o bien llevarlo en un diskette a una "
         "ventanilla o kiosko de autoservicio de su banco más cercano. Ahora puede salirse del "
         "formulario, crear uno nuevo o bien imprimir el actual, estas opciones se encuentra en el "
         "menu \"Archivo\" o bien en el toolbar.";
}

std::string SavedCopyText(const std::filesystem::path& copy) {
  return "Sr. Contribuyente:\nSe ha guardado una copia de la informacion que proporciono en el "
         "formulario que Ud. acaba de llenar, \nha sido guardado en formato htm, con el nombre " +
         PathToUtf8(copy) +
         " puede visualizarlo por medio de un browser. Ahora puede salir del formulario por medio "
         "del menu \"Archivo\" la opcion \"Salir\".";
}

// The copy's style block stands ahead of its head element, as the copy has
// always been written; browsers accept it. The copy names its encoding where
// a browser looks for it (the first 1,024 bytes), so the accents show
// whatever the browser's default. Its scripts are the page's, already run when
// the page was copied: blocked, so the form number they wrote is not written
// a second time.
constexpr std::string_view kCopyHead =
    "<html>\n"
    "<STYLE> TD.fondo{BACKGROUND-COLOR: #a3c9ff} P{FONT-FAMILY: Verdana;FONT-SIZE: "
    "10px;TEXT-ALIGN: "
    "center}"
    " TD.izq{ TEXT-ALIGN: left} TD.der{ TEXT-ALIGN: right} TD.fondoder{ BACKGROUND-COLOR: "
    "#a3c9ff;TEXT-ALIGN: right} "
    " P.izq{ FONT-FAMILY: Verdana; FONT-SIZE: 10px; TEXT-ALIGN: left } TD.particular{ FONT-FAMILY: "
    "Verdana } "
    " TD{BACKGROUND-COLOR: #ffffdc; FONT-FAMILY: Verdana; FONT-SIZE: 8pt; TEXT-ALIGN: center }"
    " TABLE{ FONT-FAMILY: Verdana; WIDTH: 100% } INPUT.lectura{ BACKGROUND-COLOR: #ffffdc; "
    "TEXT-ALIGN: right}"
    " INPUT.resaltado{BACKGROUND-COLOR: #ffffdc; FONT-FAMILY: Verdana; FONT-SIZE: 13pt; "
    "TEXT-ALIGN: "
    "right} INPUT.der{ TEXT-ALIGN: right} "
    " BODY { FONT-FAMILY: Verdana} TD.fondoizq{ BACKGROUND-COLOR: #a3c9ff; TEXT-ALIGN: left }"
    " DIV { FONT-FAMILY: Verdana; FONT-SIZE: 8pt} </STYLE>"
    "<head>\n"
    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">\n"
    "<meta http-equiv=\"Content-Security-Policy\" content=\"script-src 'none'\">\n"
    "<title>Formulario RTQ-No. 7301</title>\n"
    "</head>\n"
    "<body>\n";
constexpr std::string_view kCopyTail = "</body>\n</html>\n";

bool IsExistingDirectory(const std::filesystem::path& path) {
  std::error_code error;
  return std::filesystem::is_directory(path, error);
}

// The folders one generation made, innermost last: a failed write takes
// them away again, a successful one makes their names durable.
using MadeFolders = std::vector<std::filesystem::path>;

// A folder that cannot be made is not reported here: creating the file in
// it then fails, and that is what the user is told.
MadeFolders MakeFolders(const DeclarationPaths& paths) {
  MadeFolders made;
  for (const std::filesystem::path& folder : {paths.taxpayerFolder, paths.formFolder}) {
    std::error_code error;
    if (std::filesystem::create_directory(folder, error)) made.push_back(folder);
  }
  return made;
}

// Only empty folders go: anything another program put there meanwhile stays.
void RemoveFolders(const MadeFolders& made) {
  for (auto folder = made.rbegin(); folder != made.rend(); ++folder) {
    std::error_code ignored;
    std::filesystem::remove(*folder, ignored);
  }
}

// The file's own folder is flushed with the file; the folders above it that
// this generation made are flushed here.
bool SyncFolderNames(const MadeFolders& made) {
  bool synced = true;
  for (const std::filesystem::path& folder : made) {
    synced = SyncDirectory(folder.parent_path()) && synced;
  }
  return synced;
}

}  // namespace

DeclarationWriter::DeclarationWriter(UserPrompts& prompts, std::filesystem::path defaultDirectory)
    : DeclarationWriter(prompts, std::move(defaultDirectory), WriteChunk) {}

DeclarationWriter::DeclarationWriter(UserPrompts& prompts, std::filesystem::path defaultDirectory,
                                     ChunkWriter write)
    : m_prompts(prompts),
      m_defaultDirectory(std::move(defaultDirectory)),
      m_write(std::move(write)) {}

bool DeclarationWriter::GeneraArchivo(const std::string& xml, const std::string& formNumber,
                                      const std::string& html, const std::string& nit) {
  if (!NamesAreUsable(formNumber, nit)) return false;
  const std::optional<std::filesystem::path> directory = ChooseDirectory();
  if (!directory) return false;
  std::string sealed;
  if (!SealDeclaration(xml, sealed)) {
    m_prompts.ShowViewMessage(kCannotSeal, kWriterCaption);
    return false;
  }
  const DeclarationPaths paths = DeclarationPathsFor(*directory, nit, formNumber);
  const MadeFolders made = MakeFolders(paths);
  // Recorded before the file is written: Save copies the page of the last
  // attempt, the one the user is looking at.
  m_strArchivo = paths.file;
  m_strHtml = html;
  if (WriteDeclaration(paths.file, sealed, made)) return true;
  RemoveFolders(made);
  return false;
}

bool DeclarationWriter::NamesAreUsable(const std::string& formNumber, const std::string& nit) {
  if (!IsUsableFileName(nit)) {
    m_prompts.ShowViewMessage(kUnusableNit, kWriterCaption);
    return false;
  }
  if (!IsUsableFileName(formNumber)) {
    m_prompts.ShowViewMessage(kUnusableFormNumber, kWriterCaption);
    return false;
  }
  return true;
}

std::optional<std::filesystem::path> DeclarationWriter::ChooseDirectory() {
  const std::string proposal = PathToUtf8(m_defaultDirectory);
  const std::optional<std::string> chosen = m_prompts.ChooseDestinationDirectory(proposal);
  if (!chosen) return std::nullopt;
  if (*chosen == proposal) return m_defaultDirectory;
  std::filesystem::path directory = PathFromUtf8(*chosen);
  if (!IsExistingDirectory(directory)) {
    m_prompts.ShowViewMessage(kDirectoryMissing, kDirectoryCaption);
    return std::nullopt;
  }
  return directory;
}

bool DeclarationWriter::WriteDeclaration(const std::filesystem::path& file,
                                         const std::string& sealed,
                                         const std::vector<std::filesystem::path>& made) {
  const std::array<std::string_view, 1> content = {sealed};
  ReplaceResult result = ReplaceFileContents(file, content, m_write);
  if (result == ReplaceResult::kReplaced && !SyncFolderNames(made)) {
    result = ReplaceResult::kCannotWrite;
  }
  switch (result) {
    case ReplaceResult::kReplaced:
      m_prompts.ShowViewMessage(GeneratedText(file), kWriterCaption);
      return true;
    case ReplaceResult::kCannotCreate:
      m_prompts.ShowViewMessage(kCannotCreate, kWriterCaption);
      break;
    case ReplaceResult::kCannotWrite:
      m_prompts.ShowViewMessage(kCannotWrite, kWriterCaption);
      break;
  }
  return false;
}

int DeclarationWriter::SaveHtmlCopy() {
  if (m_strHtml.empty()) {
    m_prompts.ShowViewMessage(kNothingGenerated, kSaveCaption);
    return 0;
  }
  const std::filesystem::path copy = HtmlCopyPath(m_strArchivo);
  const std::array<std::string_view, 3> content = {kCopyHead, m_strHtml, kCopyTail};
  if (ReplaceFileContents(copy, content, m_write) != ReplaceResult::kReplaced) {
    m_prompts.ShowViewMessage(kCannotSaveCopy, kWriterCaption);
    return 0;
  }
  m_prompts.ShowViewMessage(SavedCopyText(copy), kWriterCaption);
  return 1;
}

}  // namespace f7301
