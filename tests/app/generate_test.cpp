// Generating a declaration from the form on screen: "Validar", the
// destination dialog, the sealed file under <dir>/<NIT>/7301, and Ctrl+S for
// the HTML copy beside it.
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include "app/external_object.h"
#include "app/formulario_view.h"
#include "app/main_frame.h"
#include "tests/app/app_test_support.h"
#include "tests/app/form_filling.h"

namespace f7301::test {
namespace {

const QString kConfirmCaption = QStringLiteral("Formulario RTQ-7301");

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The visible text of `file` opened in a browser page of its own whose
// default encoding is UTF-8, as on most desktops; `encoding` gets the one the
// page was read in.
QString TextOfCopyAsOpened(const QString& file, QString& encoding) {
  QWebEnginePage page;
  page.settings()->setDefaultTextEncoding(QStringLiteral("utf-8"));
  QSignalSpy loaded(&page, &QWebEnginePage::loadFinished);
  page.load(QUrl::fromLocalFile(file));
  if (!loaded.wait(20000)) return {};
  QVariant text;
  QVariant charset;
  page.runJavaScript(QStringLiteral("document.body.innerText"),
                     [&text](const QVariant& v) { text = v; });
  page.runJavaScript(QStringLiteral("document.characterSet"),
                     [&charset](const QVariant& v) { charset = v; });
  if (!QTest::qWaitFor([&] { return text.isValid() && charset.isValid(); }, 10000)) return {};
  encoding = charset.toString();
  return text.toString();
}

QStringList FilesUnder(const QString& dir) {
  QStringList files;
  QDir root(dir);
  for (const QString& entry : root.entryList(QDir::AllEntries | QDir::NoDotAndDotDot)) {
    const QString path = root.filePath(entry);
    if (QFileInfo(path).isDir()) {
      files << FilesUnder(path);
    } else {
      files << path;
    }
  }
  return files;
}

}  // namespace

class GenerateTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { QVERIFY(ReloadBlankForm()); }

  // First: nothing has been generated in this run yet.
  void ctrlSBeforeAnyGenerationAsksToGenerateFirst() {
    PromptScript prompts;
    QTest::keyClick(Frame().view()->browser()->focusProxy(), Qt::Key_S, Qt::ControlModifier);
    QTRY_COMPARE_WITH_TIMEOUT(prompts.CountOf(PromptKind::ViewMessage), 1, 10000);
    QCOMPARE(prompts.asked[0].caption, QStringLiteral("Formulario 7301"));
    QVERIFY(prompts.asked[0].text.startsWith("Error:\n No puede salvarse la información"));
  }

  void validarWritesTheSealedDeclarationAndCtrlSItsCopy() {
    PromptScript prompts;
    QTemporaryDir dir;
    prompts.Answer(PromptKind::DestinationDirectory, dir.path());
    QSignalSpy handed(Frame().view()->external(), &CExternalObject::generaArchivo);

    QVERIFY(Fill(DieselDeclaration(3)));
    PressValidar();
    QTRY_COMPARE_WITH_TIMEOUT(prompts.CountOf(PromptKind::ViewMessage), 1, 20000);
    QCOMPARE(handed.count(), 1);
    const QByteArray xml = handed[0][0].toByteArray();
    const QByteArray formNumber = handed[0][1].toByteArray();
    const QByteArray html = handed[0][2].toByteArray();
    QCOMPARE(handed[0][3].toByteArray(), QByteArray("19"));
    QVERIFY(formNumber.startsWith("197301"));
    QVERIFY(formNumber.endsWith(FormNumberField().toLatin1()));
    // The name travels in Windows-1252, upper-cased by the page.
    QVERIFY(
        xml.contains("ESTACI\xD3N \xD1"
                     "AND\xDA"));

    // The dialog proposed the home directory.
    QCOMPARE(prompts.TextsOf(PromptKind::DestinationDirectory), QStringList{QDir::homePath()});
    const QString file = dir.filePath("19/7301/RTQ-" + QString::fromLatin1(formNumber));
    QCOMPARE(FilesUnder(dir.path()), QStringList{file});
    QCOMPARE(Unseal(file), std::optional<QByteArray>(xml));
    const PromptRequest confirmation = prompts.asked.back();
    QCOMPARE(confirmation.caption, kConfirmCaption);
    QVERIFY(confirmation.text.startsWith("Sr. Contribuyente:\nDel formulario que Ud. acaba de"));
    QVERIFY(confirmation.text.contains(file));

    // Ctrl+S, with the caret in the page, writes the copy beside it.
    QTest::keyClick(Frame().view()->browser()->focusProxy(), Qt::Key_S, Qt::ControlModifier);
    QTRY_COMPARE_WITH_TIMEOUT(prompts.CountOf(PromptKind::ViewMessage), 2, 10000);
    const QByteArray copy = ReadAll(file + ".htm");
    QVERIFY(copy.startsWith("<html>\n<STYLE> TD.fondo{BACKGROUND-COLOR: #a3c9ff}"));
    QVERIFY(copy.endsWith(html + "</body>\n</html>\n"));
    QVERIFY(prompts.asked.back().text.contains(file + ".htm"));
    QCOMPARE(FilesUnder(dir.path()).size(), 2);
  }

  // The header's script wrote the number into the page before it was
  // copied; opening the copy must not write it again.
  void copyOpensWithTheFormNumberOnceAndItsAccents() {
    PromptScript prompts;
    QTemporaryDir dir;
    prompts.Answer(PromptKind::DestinationDirectory, dir.path());
    QSignalSpy handed(Frame().view()->external(), &CExternalObject::generaArchivo);
    QVERIFY(Fill(DieselDeclaration(1)));
    PressValidar();
    QTRY_COMPARE_WITH_TIMEOUT(prompts.CountOf(PromptKind::ViewMessage), 1, 20000);
    QCOMPARE(handed.count(), 1);
    const QString number = FormNumberField();
    QVERIFY(!number.isEmpty());
    QTest::keyClick(Frame().view()->browser()->focusProxy(), Qt::Key_S, Qt::ControlModifier);
    QTRY_COMPARE_WITH_TIMEOUT(prompts.CountOf(PromptKind::ViewMessage), 2, 10000);

    const QString copy = dir.filePath("19/7301/RTQ-" + handed[0][1].toString() + ".htm");
    QString encoding;
    const QString text = TextOfCopyAsOpened(copy, encoding);
    QVERIFY2(text.contains("No " + number), qPrintable(text.left(400)));
    QCOMPARE(text.count(number), 1);
    QCOMPARE(encoding, QStringLiteral("windows-1252"));
    QVERIFY2(text.contains(QStringLiteral("Declaración Jurada")), qPrintable(text.left(400)));
  }

  void cancellingTheDirectoryWritesNothing() {
    PromptScript prompts;  // the directory dialog is cancelled
    QTemporaryDir dir;
    QSignalSpy handed(Frame().view()->external(), &CExternalObject::generaArchivo);
    QVERIFY(Fill(DieselDeclaration(1)));
    PressValidar();
    QTRY_COMPARE_WITH_TIMEOUT(prompts.CountOf(PromptKind::DestinationDirectory), 1, 20000);
    QTest::qWait(300);
    QCOMPARE(handed.count(), 1);
    QCOMPARE(prompts.asked.size(), size_t(1));
    QVERIFY(FilesUnder(dir.path()).isEmpty());
  }

  void missingDirectoryIsReported() {
    PromptScript prompts;
    QTemporaryDir dir;
    const QString missing = dir.filePath("no/existe");
    prompts.Answer(PromptKind::DestinationDirectory, missing);
    QVERIFY(Fill(DieselDeclaration(1)));
    PressValidar();
    QTRY_COMPARE_WITH_TIMEOUT(prompts.CountOf(PromptKind::ViewMessage), 1, 20000);
    QCOMPARE(prompts.asked.back().text,
             QStringLiteral("Error:\nEl Directorio Especificado no existe, \nCorrija ingresando "
                            "un directorio existente"));
    QCOMPARE(prompts.asked.back().caption, QStringLiteral("Formulario7301"));
    QVERIFY(FilesUnder(dir.path()).isEmpty());
  }
};

F7301_APP_TEST(GenerateTest);

}  // namespace f7301::test

#include "generate_test.moc"
