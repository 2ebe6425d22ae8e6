// Where the file and folder dialogs start: the folder chooser at the folder
// typed in "Directorio Destino", "Buscar Archivo" at the folder of the
// declaration last written or opened (kept in the settings), else at the
// proposed destination.
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include "app/accelerator_filter.h"
#include "app/directorio_dlg.h"
#include "app/main_frame.h"
#include "tests/app/app_test_support.h"
#include "tests/app/form_filling.h"

namespace f7301::test {
namespace {

bool MakeFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write("no es una declaracion") > 0;
}

// Runs Consultar with `answer` as the chosen file; returns the folder the
// "Buscar Archivo" dialog was to start in.
QString ConsultarStartFolder(const std::optional<QString>& answer) {
  PromptScript prompts;
  prompts.Answer(PromptKind::DeclarationFile, answer);
  Frame().action(Command::Consultar)->trigger();
  const QStringList starts = prompts.TextsOf(PromptKind::DeclarationFile);
  return starts.size() == 1 ? starts[0] : QStringLiteral("(asked %1 times)").arg(starts.size());
}

}  // namespace

class DialogFoldersTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    QSettings().clear();
    QVERIFY(ReloadBlankForm());
  }

  void folderChooserStartsAtTheClosestExistingFolderOfTheField() {
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath("NIT/7301"));
    QVERIFY(MakeFile(dir.filePath("archivo")));
    const struct {
      QString typed;
      QString start;
    } cases[] = {
        {dir.filePath("NIT/7301"), dir.filePath("NIT/7301")},
        {dir.filePath("NIT/7301/"), dir.filePath("NIT/7301")},
        {dir.filePath("NIT/nuevo/otro"), dir.filePath("NIT")},
        {dir.filePath("archivo"), dir.path()},
        {QStringLiteral("relativo/sin/carpeta"), QString()},
        {QStringLiteral("   "), QString()},
    };
    for (const auto& c : cases) {
      PromptScript prompts;  // the chooser is cancelled
      CDirectorioDlg directorio(&Frame());
      directorio.m_strDirectorio = c.typed;
      directorio.open();
      QTest::mouseClick(directorio.buscarButton(), Qt::LeftButton);
      QCOMPARE(prompts.TextsOf(PromptKind::Folder), QStringList{c.start});
      QCOMPARE(directorio.edit()->text(), c.typed);  // cancelled: the field is kept
      directorio.reject();
    }
  }

  void buscarArchivoStartsWhereTheLastDeclarationWasOpened() {
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath("otra"));
    const QString file = dir.filePath("otra/RTQ-1");
    QVERIFY(MakeFile(file));

    // Nothing opened yet: the proposed destination.
    QCOMPARE(ConsultarStartFolder(file), QDir::homePath());
    // The file was opened (and refused): its folder, also for Modificar and
    // after a restart (the settings).
    QCOMPARE(ConsultarStartFolder(std::nullopt), dir.filePath("otra"));
    QCOMPARE(QSettings().value("Archivos/UltimaCarpeta").toString(), dir.filePath("otra"));
    // A cancelled dialog and a file that does not exist change nothing.
    QCOMPARE(ConsultarStartFolder(dir.filePath("no/existe")), dir.filePath("otra"));
    QCOMPARE(ConsultarStartFolder(std::nullopt), dir.filePath("otra"));
    // The folder is gone: the proposed destination again.
    QVERIFY(QDir(dir.filePath("otra")).removeRecursively());
    QCOMPARE(ConsultarStartFolder(std::nullopt), QDir::homePath());
  }

  void buscarArchivoStartsWhereTheLastDeclarationWasWritten() {
    QTemporaryDir opened;
    QVERIFY(MakeFile(opened.filePath("RTQ-1")));
    QCOMPARE(ConsultarStartFolder(opened.filePath("RTQ-1")), QDir::homePath());

    QTemporaryDir written;
    {
      PromptScript prompts;
      prompts.Answer(PromptKind::DestinationDirectory, written.path());
      QVERIFY(Fill(DieselDeclaration(1)));
      PressValidar();
      QTRY_COMPARE_WITH_TIMEOUT(prompts.CountOf(PromptKind::ViewMessage), 1, 20000);
    }
    QCOMPARE(ConsultarStartFolder(std::nullopt), written.filePath("19/7301"));

    // A generation that writes nothing (directory cancelled) keeps it.
    QCOMPARE(ConsultarStartFolder(opened.filePath("RTQ-1")), written.filePath("19/7301"));
    QVERIFY(ReloadBlankForm());
    {
      PromptScript prompts;  // "Directorio Destino" cancelled
      QVERIFY(Fill(DieselDeclaration(1)));
      PressValidar();
      QTRY_COMPARE_WITH_TIMEOUT(prompts.CountOf(PromptKind::DestinationDirectory), 1, 20000);
    }
    QCOMPARE(ConsultarStartFolder(std::nullopt), opened.path());
  }
};

F7301_APP_TEST(DialogFoldersTest);

}  // namespace f7301::test

#include "dialog_folders_test.moc"
