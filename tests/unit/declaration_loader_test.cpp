// Reopening declaration files with Consultar and Modificar, on a real
// directory, with a scripted user.
#include "declaration/declaration_loader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "declaration/declaration_writer.h"
#include "tests/support/sample_declaration.h"
#include "tests/unit/declaration_test_support.h"

namespace f7301 {
namespace {

namespace fs = std::filesystem;
using testing::Replaced;
using testing::Sealed;
using testing::ShownMessage;

std::string Utf8(const fs::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

// Message A, B, C and E of each command, as the user reads them.
struct Wording {
  LoadMode mode;
  std::string notSealed;
  std::string noFormCode;
  std::string noVersion;
  std::string pageNotBuilt;
};

const std::vector<Wording> kBothCommands = {
    {LoadMode::Consultar,
     "El archivo que se intenta abrir es invalido, no pertenece a una declaraci\xC3\xB3n",
     "El archivo a abrir es invalido, no pertenece a una declaraci\xC3\xB3n.",
     "El archivo a abrir es invalido, no pertenece a una declaraci\xC3\xB3n",
     "El archivo a abrir no pertenece a una declaraci\xC3\xB3n RTQ-7301, verifique."},
    {LoadMode::Modificar,
     "El archivo que intenta modificar es invalido, no pertenece a una declaraci\xC3\xB3n",
     "El archivo que desea modificar es invalido, no pertenece a unda declaraci\xC3\xB3n",
     "El archivo que desea modificar es invalido, no pertenece a una declaraci\xC3\xB3n",
     "El archivo a modificar no pertenece a una declaraci\xC3\xB3n RTQ-7301, verifique"},
};

class LoaderTest : public ::testing::Test {
 protected:
  LoaderTest() : xml(testing::DeclarationXml({})) {}

  fs::path FileWith(const std::string& name, const std::string& bytes) {
    const fs::path file = temp.path() / name;
    testing::WriteBytes(file, bytes);
    return file;
  }
  // Runs the command on `file` with a fresh user and returns what was shown.
  testing::ScriptedPrompts Open(LoadMode mode, const fs::path& file) {
    testing::ScriptedPrompts prompts;
    prompts.fileAnswers.push_back(Utf8(file));
    DeclarationLoader loader(prompts, reader);
    loader.LoadDeclaration(mode);
    EXPECT_EQ(loader.currentFile(), file);
    return prompts;
  }
  // Expects exactly one application message with `text` and no page.
  void ExpectRefused(const testing::ScriptedPrompts& prompts, const std::string& text) {
    EXPECT_TRUE(prompts.pages.empty());
    const ShownMessage shown = prompts.OnlyMessage();
    EXPECT_EQ(shown.box, ShownMessage::Box::kApp);
    EXPECT_EQ(shown.text, text);
  }

  testing::TemporaryDirectory temp;
  CXmlReader reader;
  std::string xml;
};

// --- Files that open ----------------------------------------------------------

TEST_F(LoaderTest, SealedDeclarationOpensWithEitherCommand) {
  const fs::path file = FileWith("RTQ-1", Sealed(xml));
  for (LoadMode mode : {LoadMode::Consultar, LoadMode::Modificar}) {
    const testing::ScriptedPrompts prompts = Open(mode, file);
    EXPECT_TRUE(prompts.messages.empty());
    ASSERT_EQ(prompts.pages.size(), 1u);
    EXPECT_NE(prompts.pages[0].find("ESTACION DE SERVICIO EL PROGRESO"), std::string::npos);
    EXPECT_NE(prompts.pages[0].find("12345679"), std::string::npos);
    ASSERT_NE(reader.store().Find("NIT"), nullptr);
    EXPECT_EQ(reader.store().Find("NIT")->value(), "12345679");
  }
}

TEST_F(LoaderTest, TextAfterAZeroByteIsNotRead) {
  const fs::path file = FileWith("RTQ-1", Sealed(xml) + std::string("\0garbage", 8));
  EXPECT_EQ(Open(LoadMode::Consultar, file).pages.size(), 1u);
}

TEST_F(LoaderTest, AnyCodeAndVersionJoiningTo7301Pass) {
  std::string split = Replaced(xml, "<CODIGO_FORMULARIO>730<", "<CODIGO_FORMULARIO>7301<");
  split = Replaced(split, "<NUMERO_VERSION>1<", "<NUMERO_VERSION><");
  const testing::ScriptedPrompts prompts = Open(LoadMode::Consultar, FileWith("f", Sealed(split)));
  EXPECT_TRUE(prompts.messages.empty());
  EXPECT_EQ(prompts.pages.size(), 1u);
}

TEST_F(LoaderTest, LargestDeclarationWrittenByTheProgramOpens) {
  // Written by the writer itself: whatever it can produce must open again.
  testing::SampleDeclaration largest = testing::FullSample(500);
  for (testing::AnnexRow& row : largest.annex) row.nit = std::string(50, '7');
  largest.nombre = std::string(40000, 'N');
  const fs::path home = temp.path() / "home";
  fs::create_directory(home);
  testing::ScriptedPrompts writing;
  writing.directoryAnswers.push_back(Utf8(home));
  DeclarationWriter writer(writing, home);
  writer.GeneraArchivo(testing::DeclarationXml(largest), "9", "<p></p>", "12345679");
  ASSERT_TRUE(fs::exists(writer.archivo()));
  ASSERT_GT(fs::file_size(writer.archivo()), 49999u);

  const testing::ScriptedPrompts consulted = Open(LoadMode::Consultar, writer.archivo());
  ASSERT_EQ(consulted.pages.size(), 1u);
  EXPECT_NE(consulted.pages[0].find("<tr><td>500</td>"), std::string::npos);
  EXPECT_EQ(consulted.pages[0].find("<tr><td>501</td>"), std::string::npos);

  const testing::ScriptedPrompts modified = Open(LoadMode::Modificar, writer.archivo());
  ASSERT_EQ(modified.pages.size(), 1u);
  EXPECT_NE(modified.pages[0].find("name='f1500c1'"), std::string::npos);
  EXPECT_EQ(modified.pages[0].find("name='f1501c1'"), std::string::npos);
}

// --- Files that are not declarations --------------------------------------------

TEST_F(LoaderTest, FilesThatAreNotSealedDeclarationsGiveMessageA) {
  std::string altered = Sealed(xml);
  altered[100] = altered[100] == 'A' ? 'B' : 'A';

  const fs::path home = temp.path() / "home";
  fs::create_directory(home);
  testing::ScriptedPrompts writing;
  writing.directoryAnswers.push_back(Utf8(home));
  DeclarationWriter writer(writing, home);
  writer.GeneraArchivo(xml, "9", "<p>copy</p>", "12345679");
  ASSERT_EQ(writer.SaveHtmlCopy(), 1);
  fs::path copy = writer.archivo();
  copy += ".htm";

  const std::vector<fs::path> files = {
      FileWith("plain.xml", xml),
      copy,
      FileWith("altered", altered),
      FileWith("empty", ""),
      FileWith("zero-first", std::string("\0", 1) + Sealed(xml)),
  };
  for (const Wording& wording : kBothCommands) {
    for (const fs::path& file : files) {
      SCOPED_TRACE(file.filename().string());
      ExpectRefused(Open(wording.mode, file), wording.notSealed);
    }
  }
}

TEST_F(LoaderTest, FileOverTheLimitIsRefusedNotCut) {
  const fs::path file = FileWith("huge", Sealed(xml));
  fs::resize_file(file, kMaxDeclarationFileSize + 1);  // the sealed text, then zeros
  for (const Wording& wording : kBothCommands) {
    ExpectRefused(Open(wording.mode, file), wording.notSealed);
  }
}

TEST_F(LoaderTest, MissingIdentityElementsGiveMessagesBAndC) {
  const fs::path noCode =
      FileWith("no-code", Sealed(Replaced(xml, "<CODIGO_FORMULARIO>730</CODIGO_FORMULARIO>", "")));
  const fs::path noVersion =
      FileWith("no-version", Sealed(Replaced(xml, "<NUMERO_VERSION>1</NUMERO_VERSION>", "")));
  for (const Wording& wording : kBothCommands) {
    ExpectRefused(Open(wording.mode, noCode), wording.noFormCode);
    ExpectRefused(Open(wording.mode, noVersion), wording.noVersion);
  }
}

TEST_F(LoaderTest, AnotherFormGivesMessageDInTheViewsBox) {
  const fs::path file =
      FileWith("7302", Sealed(Replaced(xml, "<NUMERO_VERSION>1<", "<NUMERO_VERSION>2<")));
  for (LoadMode mode : {LoadMode::Consultar, LoadMode::Modificar}) {
    const testing::ScriptedPrompts prompts = Open(mode, file);
    EXPECT_TRUE(prompts.pages.empty());
    const ShownMessage shown = prompts.OnlyMessage();
    EXPECT_EQ(shown.box, ShownMessage::Box::kView);
    EXPECT_EQ(shown.text,
              "Error:\nNo es posible abrir el documento, ya que no pertenece a un formulario "
              "RTQ-7301.");
    EXPECT_EQ(shown.caption, "Formulario7301");
  }
}

TEST_F(LoaderTest, DeclarationWithoutNitGivesMessageE) {
  const fs::path file = FileWith("no-nit", Sealed(Replaced(xml, "<NIT>12345679</NIT>", "")));
  for (const Wording& wording : kBothCommands) {
    ExpectRefused(Open(wording.mode, file), wording.pageNotBuilt);
  }
}

TEST_F(LoaderTest, RejectedFileStillReplacesTheStore) {
  // The store is emptied before each read, so nothing of the earlier file
  // survives next to the rejected one's values.
  Open(LoadMode::Consultar, FileWith("good", Sealed(xml)));
  ASSERT_NE(reader.store().Find("NOMBRE"), nullptr);
  std::string other = Replaced(xml, "<NUMERO_VERSION>1<", "<NUMERO_VERSION>2<");
  other = Replaced(other, " <NOMBRE><![CDATA[ESTACION DE SERVICIO EL PROGRESO]]></NOMBRE> ", "");
  Open(LoadMode::Consultar, FileWith("other", Sealed(other)));

  EXPECT_EQ(reader.store().Find("NOMBRE"), nullptr);
  ASSERT_NE(reader.store().Find("NUMERO_VERSION"), nullptr);
  EXPECT_EQ(reader.store().Find("NUMERO_VERSION")->value(), "2");
}

// --- No file, or one that cannot be read -----------------------------------------

TEST_F(LoaderTest, CancelChangesNothingAndShowsNothing) {
  Open(LoadMode::Consultar, FileWith("good", Sealed(xml)));
  for (LoadMode mode : {LoadMode::Consultar, LoadMode::Modificar}) {
    for (const std::optional<std::string>& answer :
         {std::optional<std::string>{}, std::optional<std::string>{""}}) {
      testing::ScriptedPrompts prompts;
      prompts.fileAnswers.push_back(answer);
      DeclarationLoader loader(prompts, reader);
      loader.LoadDeclaration(mode);
      EXPECT_EQ(prompts.fileDialogs, 1);
      EXPECT_TRUE(prompts.messages.empty());
      EXPECT_TRUE(prompts.pages.empty());
      EXPECT_TRUE(loader.currentFile().empty());
      ASSERT_NE(reader.store().Find("NOMBRE"), nullptr);  // the earlier file's store stays
    }
  }
}

TEST_F(LoaderTest, FileThatCannotBeReadIsReported) {
  const fs::path missing = temp.path() / "missing";
  const fs::path folder = temp.path() / "folder";
  fs::create_directory(folder);
  for (const fs::path& file : {missing, folder}) {
    for (LoadMode mode : {LoadMode::Consultar, LoadMode::Modificar}) {
      ExpectRefused(Open(mode, file),
                    "Error:\nNo pudo leerse el archivo " + Utf8(file) +
                        ", verifique que exista y que tenga permisos de lectura.");
    }
  }
}

// --- A file given rather than chosen -------------------------------------------------

// Whatever the file, opening it by its path tells and shows exactly what the
// dialog's Consultar and Modificar do, without asking for a file.
TEST_F(LoaderTest, GivenFileReadsAsTheChosenOne) {
  const std::vector<fs::path> files = {
      FileWith("good", Sealed(xml)),
      FileWith("altered", Sealed(xml).substr(1)),
      FileWith("no-code", Sealed(Replaced(xml, "<CODIGO_FORMULARIO>730</CODIGO_FORMULARIO>", ""))),
      FileWith("7302", Sealed(Replaced(xml, "<NUMERO_VERSION>1<", "<NUMERO_VERSION>2<"))),
      FileWith("no-nit", Sealed(Replaced(xml, "<NIT>12345679</NIT>", ""))),
      temp.path() / "missing",
  };
  for (LoadMode mode : {LoadMode::Consultar, LoadMode::Modificar}) {
    for (const fs::path& file : files) {
      SCOPED_TRACE(file.filename().string());
      const testing::ScriptedPrompts chosen = Open(mode, file);
      testing::ScriptedPrompts given;
      DeclarationLoader loader(given, reader);
      EXPECT_EQ(loader.LoadDeclarationFile(mode, file), !chosen.pages.empty());
      EXPECT_EQ(given.fileDialogs, 0);
      EXPECT_EQ(loader.currentFile(), file);
      EXPECT_EQ(given.pages, chosen.pages);
      ASSERT_EQ(given.messages.size(), chosen.messages.size());
      for (std::size_t i = 0; i < given.messages.size(); ++i) {
        EXPECT_EQ(given.messages[i].text, chosen.messages[i].text);
        EXPECT_EQ(given.messages[i].box, chosen.messages[i].box);
      }
    }
  }
}

TEST_F(LoaderTest, ReadingWithoutShowingLeavesTheDeclarationInTheStore) {
  testing::ScriptedPrompts prompts;
  DeclarationLoader loader(prompts, reader);
  const std::optional<std::string> page =
      loader.ReadDeclaration(LoadMode::Consultar, FileWith("good", Sealed(xml)));
  ASSERT_TRUE(page);
  EXPECT_NE(page->find("ESTACION DE SERVICIO EL PROGRESO"), std::string::npos);
  EXPECT_TRUE(prompts.pages.empty());
  EXPECT_TRUE(prompts.messages.empty());
  ASSERT_NE(reader.store().Find("NIT"), nullptr);
  EXPECT_EQ(reader.store().Find("NIT")->value(), "12345679");

  EXPECT_FALSE(loader.ReadDeclaration(LoadMode::Consultar, temp.path() / "missing"));
  EXPECT_EQ(prompts.messages.size(), 1u);
}

// --- Reading a file whole ----------------------------------------------------------

TEST_F(LoaderTest, ReadWholeFileTakesTheTextUpToTheFirstZeroByte) {
  EXPECT_EQ(ReadWholeFile(FileWith("empty", "")), std::optional<std::string>(""));
  EXPECT_EQ(ReadWholeFile(FileWith("zero", std::string("abc\0def", 7))),
            std::optional<std::string>("abc"));
  const std::string big(200000, 'x');
  EXPECT_EQ(ReadWholeFile(FileWith("big", big)), std::optional<std::string>(big));
  EXPECT_EQ(ReadWholeFile(temp.path() / "missing"), std::nullopt);
  EXPECT_EQ(ReadWholeFile(temp.path()), std::nullopt);
}

TEST_F(LoaderTest, ReadWholeFileStopsAtTheLimit) {
  const fs::path file = FileWith("limit", "");
  fs::resize_file(file, kMaxDeclarationFileSize);
  std::string text = "stale";
  EXPECT_EQ(ReadWholeFile(file, text), ReadStatus::kRead);
  EXPECT_EQ(text, "");  // all zeros: the text ends at once

  testing::WriteBytes(file, std::string(kMaxDeclarationFileSize, 'a'));
  EXPECT_EQ(ReadWholeFile(file, text), ReadStatus::kRead);
  EXPECT_EQ(text.size(), kMaxDeclarationFileSize);

  fs::resize_file(file, kMaxDeclarationFileSize + 1);
  EXPECT_EQ(ReadWholeFile(file, text), ReadStatus::kTooLarge);
  EXPECT_TRUE(text.empty());
}

}  // namespace
}  // namespace f7301
