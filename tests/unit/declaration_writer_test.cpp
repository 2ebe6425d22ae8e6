// Generating the declaration file and its HTML copy on a real directory.
#include "declaration/declaration_writer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "declaration/seal.h"
#include "tests/support/sample_declaration.h"
#include "tests/unit/declaration_test_support.h"

namespace f7301 {
namespace {

namespace fs = std::filesystem;
using testing::ShownMessage;

const std::string kNit = "12345679";
const std::string kForm = "123456797301110301";
const std::string kHtml = "<form name='C'><input name='c2' value='12345679'></form>";

std::string Utf8(const fs::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

fs::path HtmlCopyPathOf(const DeclarationWriter& writer) {
  fs::path copy = writer.archivo();
  copy += ".htm";
  return copy;
}

std::string ConfirmationFor(const fs::path& file) {
  return "Sr. Contribuyente:\nDel formulario que Ud. acaba de llenar, ha sido generado el archivo "
         "con los datos a presentar en su declaracion y este ha sido guardado con el siguiente "
         "nombre " +
         Utf8(file) +
         ". Ahora Ud. puede presentarlo a trav\xC3\xA9s de Internet, o bien llevarlo en un "
         "diskette a una ventanilla o kiosko de autoservicio de su banco m\xC3\xA1s cercano. "
         "Ahora puede salirse del formulario, crear uno nuevo o bien imprimir el actual, estas "
         "opciones se encuentra en el menu \"Archivo\" o bien en el toolbar.";
}

std::string UnsealedXml(const fs::path& file) {
  std::string block;
  const UnsealResult result = CSeal().Unseal(testing::FileBytes(file), &block, nullptr);
  EXPECT_EQ(result, UnsealResult::kValid) << file;
  return std::string(XmlOfBlock(block));
}

class WriterTest : public ::testing::Test {
 protected:
  WriterTest() : home(temp.path() / "home"), xml(testing::DeclarationXml({})) {
    fs::create_directory(home);
  }

  fs::path DeclarationIn(const fs::path& directory, const std::string& form = kForm) const {
    return directory / kNit / "7301" / ("RTQ-" + form);
  }
  // Generates with the directory dialog answered by `answer`; true when the
  // writer says the file was written.
  bool Generate(DeclarationWriter& writer, std::optional<std::string> answer,
                const std::string& form = kForm, const std::string& declarationXml = "") {
    prompts.directoryAnswers.push_back(std::move(answer));
    return writer.GeneraArchivo(declarationXml.empty() ? xml : declarationXml, form, kHtml, kNit);
  }
  bool KeepProposal(DeclarationWriter& writer, const std::string& form = kForm,
                    const std::string& declarationXml = "") {
    return Generate(writer, Utf8(home), form, declarationXml);
  }

  testing::TemporaryDirectory temp;
  fs::path home;
  std::string xml;
  testing::ScriptedPrompts prompts;
};

// --- Where the file goes -------------------------------------------------

TEST_F(WriterTest, KeptProposalGetsBothFoldersAndTheSealedFile) {
  DeclarationWriter writer(prompts, home);
  KeepProposal(writer);

  ASSERT_EQ(prompts.proposals, std::vector<std::string>{Utf8(home)});
  const fs::path file = DeclarationIn(home);
  EXPECT_EQ(testing::Tree(home),
            (std::vector<std::string>{kNit, kNit + "/7301", kNit + "/7301/RTQ-" + kForm}));
  EXPECT_EQ(UnsealedXml(file), xml);
  const ShownMessage shown = prompts.OnlyMessage();
  EXPECT_EQ(shown.box, ShownMessage::Box::kView);
  EXPECT_EQ(shown.text, ConfirmationFor(file));
  EXPECT_EQ(shown.caption, "Formulario RTQ-7301");
  EXPECT_EQ(writer.archivo(), file);
  EXPECT_EQ(writer.html(), kHtml);
}

TEST_F(WriterTest, KeptProposalIsNotTestedForExistence) {
  // A proposal that is not there is not refused as a missing directory: the
  // folders cannot be made in it, and that is what the user hears.
  const fs::path gone = temp.path() / "gone";
  DeclarationWriter writer(prompts, gone);
  Generate(writer, Utf8(gone));

  EXPECT_EQ(prompts.OnlyMessage().text,
            "Error:\nNo pudo crearse el archivo de la declaraci\xC3\xB3n.");
  EXPECT_EQ(prompts.OnlyMessage().caption, "Formulario RTQ-7301");
  EXPECT_FALSE(fs::exists(gone));
}

TEST_F(WriterTest, ChosenExistingDirectoryIsUsed) {
  const fs::path other = temp.path() / "Datos";
  fs::create_directory(other);
  DeclarationWriter writer(prompts, home);
  Generate(writer, Utf8(other));

  EXPECT_EQ(UnsealedXml(DeclarationIn(other)), xml);
  EXPECT_EQ(prompts.OnlyMessage().text, ConfirmationFor(DeclarationIn(other)));
  EXPECT_TRUE(testing::Tree(home).empty());
}

TEST_F(WriterTest, ChosenMissingDirectoryIsRefusedAndNothingIsWritten) {
  DeclarationWriter writer(prompts, home);
  Generate(writer, Utf8(temp.path() / "no-such-folder"));
  Generate(writer, "");  // the field emptied

  ASSERT_EQ(prompts.messages.size(), 2u);
  for (const ShownMessage& shown : prompts.messages) {
    EXPECT_EQ(shown.text,
              "Error:\nEl Directorio Especificado no existe, \nCorrija ingresando un directorio "
              "existente");
    EXPECT_EQ(shown.caption, "Formulario7301");
    EXPECT_EQ(shown.box, ShownMessage::Box::kView);
  }
  EXPECT_EQ(testing::Tree(temp.path()), std::vector<std::string>{"home"});
  EXPECT_TRUE(writer.archivo().empty());
  EXPECT_TRUE(writer.html().empty());
}

TEST_F(WriterTest, ExistingFoldersAreUsedAsTheyAre) {
  DeclarationWriter writer(prompts, home);
  fs::create_directory(home / kNit);
  testing::WriteBytes(home / kNit / "other.txt", "kept");
  KeepProposal(writer, "1");  // taxpayer folder there, form folder missing

  fs::create_directory(home / kNit / "7301" / "sub");
  KeepProposal(writer, "2");  // both there

  EXPECT_EQ(
      testing::Tree(home),
      (std::vector<std::string>{kNit, kNit + "/7301", kNit + "/7301/RTQ-1", kNit + "/7301/RTQ-2",
                                kNit + "/7301/sub", kNit + "/other.txt"}));
  EXPECT_EQ(testing::FileBytes(home / kNit / "other.txt"), "kept");
  EXPECT_EQ(UnsealedXml(DeclarationIn(home, "1")), xml);
  EXPECT_EQ(UnsealedXml(DeclarationIn(home, "2")), xml);
}

TEST_F(WriterTest, FolderAndFileNamesKeepTheirAccentedLetters) {
  // The NIT and form number arrive as Windows-1252; the file system gets
  // the same letters, not the raw bytes.
  DeclarationWriter writer(prompts, home);
  prompts.directoryAnswers.push_back(Utf8(home));
  writer.GeneraArchivo(xml, "N\xD1", kHtml,
                       "\xD1"
                       "1");

  const fs::path file = home /
                        "\xC3\x91"
                        "1" /
                        "7301" / "RTQ-N\xC3\x91";
  EXPECT_EQ(UnsealedXml(file), xml);
  EXPECT_EQ(prompts.OnlyMessage().text, ConfirmationFor(file));
}

// --- Replacing a declaration ----------------------------------------------

TEST_F(WriterTest, SameFormNumberTwiceReplacesTheFile) {
  DeclarationWriter writer(prompts, home);
  testing::SampleDeclaration changed;
  changed.nombre = "OTRO NOMBRE";
  const std::string second = testing::DeclarationXml(changed);
  KeepProposal(writer);
  KeepProposal(writer, kForm, second);

  EXPECT_EQ(UnsealedXml(DeclarationIn(home)), second);
  EXPECT_EQ(testing::Tree(home / kNit / "7301"), std::vector<std::string>{"RTQ-" + kForm});
  ASSERT_EQ(prompts.messages.size(), 2u);
  EXPECT_EQ(prompts.messages[1].text, ConfirmationFor(DeclarationIn(home)));
}

TEST_F(WriterTest, WriteFailingPartWayLeavesTheOldFileWhole) {
  bool fail = false;
  DeclarationWriter writer(prompts, home, [&fail](std::FILE* file, std::string_view bytes) {
    if (!fail) return WriteChunk(file, bytes);
    WriteChunk(file, bytes.substr(0, bytes.size() / 2));  // half of it reaches the disk
    return false;
  });
  EXPECT_TRUE(KeepProposal(writer));
  const std::string before = testing::FileBytes(DeclarationIn(home));

  fail = true;
  testing::SampleDeclaration changed;
  changed.nombre = "OTRO NOMBRE";
  EXPECT_FALSE(KeepProposal(writer, kForm, testing::DeclarationXml(changed)));

  EXPECT_EQ(testing::FileBytes(DeclarationIn(home)), before);
  EXPECT_EQ(testing::Tree(home / kNit / "7301"), std::vector<std::string>{"RTQ-" + kForm});
  ASSERT_EQ(prompts.messages.size(), 2u);
  EXPECT_EQ(prompts.messages[1].text,
            "Error:\nNo pudo escribirse el archivo con los datos de su declaracion, verifique que "
            "tenga permisos de escritura.");
  EXPECT_EQ(prompts.messages[1].caption, "Formulario RTQ-7301");
}

TEST_F(WriterTest, FileThatCannotBeCreatedIsReported) {
  DeclarationWriter writer(prompts, home);
  fs::create_directories(DeclarationIn(home));  // a folder where the file should go
  EXPECT_FALSE(KeepProposal(writer));

  EXPECT_EQ(prompts.OnlyMessage().text,
            "Error:\nNo pudo crearse el archivo de la declaraci\xC3\xB3n.");
  EXPECT_TRUE(fs::is_directory(DeclarationIn(home)));
  EXPECT_EQ(testing::Tree(home / kNit / "7301"), std::vector<std::string>{"RTQ-" + kForm});
}

// --- What is refused before anything is written ------------------------------

TEST_F(WriterTest, NamesThatWouldLeaveTheFolderAreRefused) {
  const std::vector<std::string> bad = {"../x",
                                        "a/b",
                                        "a\\b",
                                        "",
                                        std::string("\x01"),
                                        "..",
                                        ".",
                                        "1:2",
                                        std::string("12\0"
                                                    "3",
                                                    4)};
  DeclarationWriter writer(prompts, home);
  for (const std::string& name : bad) {
    prompts.directoryAnswers.push_back(Utf8(home));
    writer.GeneraArchivo(xml, kForm, kHtml, name);
    prompts.directoryAnswers.push_back(Utf8(home));
    writer.GeneraArchivo(xml, name, kHtml, kNit);
  }

  ASSERT_EQ(prompts.messages.size(), 2 * bad.size());
  for (std::size_t i = 0; i < prompts.messages.size(); ++i) {
    const ShownMessage& shown = prompts.messages[i];
    const std::string expected =
        i % 2 == 0
            ? "Error:\nEl NIT del contribuyente no puede usarse como nombre de carpeta"
            : "Error:\nEl n\xC3\xBAmero de formulario no puede usarse como nombre de archivo";
    EXPECT_EQ(shown.text.substr(0, expected.size()), expected) << "case " << i / 2;
    EXPECT_EQ(shown.caption, "Formulario RTQ-7301");
  }
  EXPECT_TRUE(prompts.proposals.empty());
  EXPECT_EQ(testing::Tree(temp.path()), std::vector<std::string>{"home"});
  EXPECT_TRUE(writer.archivo().empty());
}

TEST_F(WriterTest, XmlThatCannotBeSealedWritesNothing) {
  DeclarationWriter writer(prompts, home);
  prompts.directoryAnswers.push_back(Utf8(home));
  writer.GeneraArchivo("", kForm, kHtml, kNit);

  const ShownMessage shown = prompts.OnlyMessage();
  EXPECT_EQ(shown.text.substr(0, 7), "Error:\n");
  EXPECT_NE(shown.text.find("sellarse"), std::string::npos) << shown.text;
  EXPECT_EQ(shown.caption, "Formulario RTQ-7301");
  EXPECT_TRUE(testing::Tree(home).empty());
  EXPECT_TRUE(writer.archivo().empty());
}

TEST_F(WriterTest, CancelWritesNothingAndSaysNothing) {
  DeclarationWriter writer(prompts, home);
  EXPECT_FALSE(Generate(writer, std::nullopt));

  EXPECT_EQ(prompts.proposals.size(), 1u);
  EXPECT_TRUE(prompts.messages.empty());
  EXPECT_TRUE(testing::Tree(home).empty());
  EXPECT_TRUE(writer.archivo().empty());
}

TEST_F(WriterTest, LargestDeclarationIsWrittenWhole) {
  // 500 annex rows with buyer NITs of the 50 characters the page allows, and
  // a long name (its field has no length limit): far over any fixed buffer.
  testing::SampleDeclaration largest = testing::FullSample(500);
  for (testing::AnnexRow& row : largest.annex) row.nit = std::string(50, '7');
  largest.nombre = std::string(40000, 'N');
  const std::string largestXml = testing::DeclarationXml(largest);
  DeclarationWriter writer(prompts, home);
  KeepProposal(writer, kForm, largestXml);

  EXPECT_GT(fs::file_size(DeclarationIn(home)), 175000u);
  EXPECT_EQ(UnsealedXml(DeclarationIn(home)), largestXml);
}

// --- The HTML copy ----------------------------------------------------------

const std::string kCopyHead =
    "<html>\n"
    "<STYLE> TD.fondo{BACKGROUND-COLOR: #a3c9ff} P{FONT-FAMILY: Verdana;FONT-SIZE: 10px;"
    "TEXT-ALIGN: center}"
    " TD.izq{ TEXT-ALIGN: left} TD.der{ TEXT-ALIGN: right} TD.fondoder{ BACKGROUND-COLOR: "
    "#a3c9ff;TEXT-ALIGN: right} "
    " P.izq{ FONT-FAMILY: Verdana; FONT-SIZE: 10px; TEXT-ALIGN: left } TD.particular{ "
    "FONT-FAMILY: Verdana } "
    " TD{BACKGROUND-COLOR: #ffffdc; FONT-FAMILY: Verdana; FONT-SIZE: 8pt; TEXT-ALIGN: center }"
    " TABLE{ FONT-FAMILY: Verdana; WIDTH: 100% } INPUT.lectura{ BACKGROUND-COLOR: #ffffdc; "
    "TEXT-ALIGN: right}"
    " INPUT.resaltado{BACKGROUND-COLOR: #ffffdc; FONT-FAMILY: Verdana; FONT-SIZE: 13pt; "
    "TEXT-ALIGN: right} INPUT.der{ TEXT-ALIGN: right} "
    " BODY { FONT-FAMILY: Verdana} TD.fondoizq{ BACKGROUND-COLOR: #a3c9ff; TEXT-ALIGN: left }"
    " DIV { FONT-FAMILY: Verdana; FONT-SIZE: 8pt} </STYLE>"
    "<head>\n"
    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">\n"
    "<meta http-equiv=\"Content-Security-Policy\" content=\"script-src 'none'\">\n"
    "<title>Formulario RTQ-No. 7301</title>\n</head>\n<body>\n";

std::string SavedText(const fs::path& copy) {
  return "Sr. Contribuyente:\nSe ha guardado una copia de la informacion que proporciono en el "
         "formulario que Ud. acaba de llenar, \nha sido guardado en formato htm, con el nombre " +
         Utf8(copy) +
         " puede visualizarlo por medio de un browser. Ahora puede salir del formulario por medio "
         "del menu \"Archivo\" la opcion \"Salir\".";
}

TEST_F(WriterTest, CopyIsWrittenBesideTheDeclaration) {
  DeclarationWriter writer(prompts, home);
  KeepProposal(writer);
  prompts.messages.clear();

  EXPECT_EQ(writer.SaveHtmlCopy(), 1);

  const fs::path copy = home / kNit / "7301" / ("RTQ-" + kForm + ".htm");
  EXPECT_EQ(testing::FileBytes(copy), kCopyHead + kHtml + "</body>\n</html>\n");
  EXPECT_EQ(prompts.OnlyMessage().text, SavedText(copy));
  EXPECT_EQ(prompts.OnlyMessage().caption, "Formulario RTQ-7301");
}

TEST_F(WriterTest, CopyKeepsThePageBytesAsReceived) {
  DeclarationWriter writer(prompts, home);
  const std::string page = "<b>A\xD1O \xE9</b>\r\n<i>\x80</i>";
  prompts.directoryAnswers.push_back(Utf8(home));
  writer.GeneraArchivo(xml, kForm, page, kNit);
  ASSERT_EQ(writer.SaveHtmlCopy(), 1);

  const std::string copied = testing::FileBytes(HtmlCopyPathOf(writer));
  EXPECT_EQ(copied.substr(kCopyHead.size(), page.size()), page);
}

TEST_F(WriterTest, SaveBeforeAnyGenerationIsRefused) {
  DeclarationWriter writer(prompts, home);
  EXPECT_EQ(writer.SaveHtmlCopy(), 0);
  Generate(writer, std::nullopt);                   // cancelled
  Generate(writer, Utf8(temp.path() / "missing"));  // refused directory
  EXPECT_EQ(writer.SaveHtmlCopy(), 0);

  std::vector<std::string> refusals;
  for (const ShownMessage& shown : prompts.messages) {
    if (shown.caption == "Formulario 7301") refusals.push_back(shown.text);
  }
  const std::string refusal =
      "Error:\n No puede salvarse la informaci\xC3\xB3n, antes debe de generarse presionando \n "
      "el boton Generar del Formulario";
  EXPECT_EQ(refusals, (std::vector<std::string>{refusal, refusal}));
  EXPECT_TRUE(testing::Tree(home).empty());
}

TEST_F(WriterTest, CopyFailingPartWayKeepsTheEarlierCopy) {
  bool fail = false;
  DeclarationWriter writer(prompts, home, [&fail](std::FILE* file, std::string_view bytes) {
    if (!fail || bytes.size() < 20) return WriteChunk(file, bytes);
    WriteChunk(file, bytes.substr(0, 10));
    return false;
  });
  KeepProposal(writer);
  ASSERT_EQ(writer.SaveHtmlCopy(), 1);
  const fs::path copy = HtmlCopyPathOf(writer);
  const std::string before = testing::FileBytes(copy);
  prompts.messages.clear();

  fail = true;
  EXPECT_EQ(writer.SaveHtmlCopy(), 0);

  EXPECT_EQ(testing::FileBytes(copy), before);
  EXPECT_EQ(testing::Tree(home / kNit / "7301"),
            (std::vector<std::string>{"RTQ-" + kForm, "RTQ-" + kForm + ".htm"}));
  const ShownMessage shown = prompts.OnlyMessage();
  EXPECT_EQ(shown.text.substr(0, 7), "Error:\n");
  EXPECT_EQ(shown.caption, "Formulario RTQ-7301");
}

TEST_F(WriterTest, CopyFollowsTheLastAttemptEvenWhenItsFileFailed) {
  DeclarationWriter writer(prompts, home);
  KeepProposal(writer, "1");
  fs::create_directories(DeclarationIn(home, "2"));  // the second file cannot be made
  prompts.directoryAnswers.push_back(Utf8(home));
  writer.GeneraArchivo(xml, "2", "<p>second</p>", kNit);

  EXPECT_EQ(writer.archivo(), DeclarationIn(home, "2"));
  EXPECT_EQ(writer.html(), "<p>second</p>");
  EXPECT_EQ(writer.SaveHtmlCopy(), 1);
  EXPECT_EQ(testing::FileBytes(HtmlCopyPathOf(writer)),
            kCopyHead + "<p>second</p></body>\n</html>\n");
}

// Browsers take the encoding from a declaration in the first 1,024 bytes.
TEST_F(WriterTest, CopyNamesItsEncodingWhereBrowsersLookForIt) {
  DeclarationWriter writer(prompts, home);
  KeepProposal(writer);
  ASSERT_EQ(writer.SaveHtmlCopy(), 1);
  const std::string copy = testing::FileBytes(HtmlCopyPathOf(writer));
  const std::string declared = "charset=windows-1252\"";
  const std::size_t at = copy.find(declared);
  ASSERT_NE(at, std::string::npos);
  EXPECT_LE(at + declared.size(), 1024u);
  // Scripts are barred ahead of the page, whose own scripts have already run.
  EXPECT_LT(copy.find("script-src 'none'"), copy.find(kHtml));
}

// --- Files and folders after a failure ---------------------------------------

TEST_F(WriterTest, ReadOnlyDeclarationIsNotReplaced) {
  DeclarationWriter writer(prompts, home);
  KeepProposal(writer);
  const fs::path file = DeclarationIn(home);
  const std::string before = testing::FileBytes(file);
  const fs::perms readOnly = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
  fs::permissions(file, readOnly);
  testing::SampleDeclaration changed;
  changed.nombre = "OTRO NOMBRE";
  KeepProposal(writer, kForm, testing::DeclarationXml(changed));

  ASSERT_EQ(prompts.messages.size(), 2u);
  EXPECT_EQ(prompts.messages[1].text,
            "Error:\nNo pudo crearse el archivo de la declaraci\xC3\xB3n.");
  EXPECT_EQ(prompts.messages[1].caption, "Formulario RTQ-7301");
  EXPECT_EQ(testing::FileBytes(file), before);
  EXPECT_EQ(fs::status(file).permissions(), readOnly);
}

TEST_F(WriterTest, ReplacedDeclarationKeepsItsMode) {
  DeclarationWriter writer(prompts, home);
  KeepProposal(writer);
  const fs::perms ownerOnly = fs::perms::owner_read | fs::perms::owner_write;
  fs::permissions(DeclarationIn(home), ownerOnly);
  KeepProposal(writer);
  EXPECT_EQ(fs::status(DeclarationIn(home)).permissions(), ownerOnly);
  EXPECT_EQ(UnsealedXml(DeclarationIn(home)), xml);
}

TEST_F(WriterTest, FailedWriteTakesAwayOnlyTheFoldersItMade) {
  DeclarationWriter writer(prompts, home, [](std::FILE*, std::string_view) { return false; });
  KeepProposal(writer);  // made both folders
  EXPECT_TRUE(testing::Tree(home).empty());

  fs::create_directory(home / kNit);
  KeepProposal(writer);  // made the form folder only
  EXPECT_EQ(testing::Tree(home), std::vector<std::string>{kNit});

  fs::create_directory(home / kNit / "7301");
  KeepProposal(writer);  // made nothing
  EXPECT_EQ(testing::Tree(home), (std::vector<std::string>{kNit, kNit + "/7301"}));

  ASSERT_EQ(prompts.messages.size(), 3u);
  for (const ShownMessage& shown : prompts.messages) {
    EXPECT_EQ(shown.text.substr(0, 40), "Error:\nNo pudo escribirse el archivo con");
  }
}

}  // namespace
}  // namespace f7301
