// formulario7301 --revisar FILE... run as a user runs it from a terminal
// without a display, over sealed declaration files on a real folder: one
// clean, one with problems, one whose seal was altered and a FIFO; the lines
// it prints, its exit status, and nothing left behind (no settings, no draft).
#include <sys/stat.h>

#include <QDate>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "tests/app/app_test_support.h"
#include "tests/app/program_run.h"
#include "tests/app/sealed_file.h"
#include "tests/support/sample_declaration.h"

namespace f7301::test {
namespace {

// Last month: neither too old nor in the future.
testing::SampleDeclaration LastMonth(const std::string& numero) {
  const QDate first = QDate::currentDate().addMonths(-1).addDays(1 - QDate::currentDate().day());
  testing::SampleDeclaration d;
  d.numero = numero;
  d.desde = first.toString(QStringLiteral("yyyyMMdd")).toStdString();
  d.hasta = first.addMonths(1).addDays(-1).toString(QStringLiteral("yyyyMMdd")).toStdString();
  return d;
}

QStringList Lines(const QString& text) { return text.split(QLatin1Char('\n'), Qt::SkipEmptyParts); }

}  // namespace

class ReviewCommandTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QVERIFY(m_folder.isValid());
    const QString clean = SealedFile(m_folder, LastMonth("00000001"));
    testing::SampleDeclaration faulty = LastMonth("00000002");
    faulty.boxes[36] = "15.00";  // Diesel's exempt sales, with no annex row
    const QString problems = SealedFile(m_folder, faulty);
    QVERIFY(!clean.isEmpty() && !problems.isEmpty());
    QVERIFY(QFile::rename(clean, m_folder.filePath(QStringLiteral("limpia"))));
    QVERIFY(QFile::rename(problems, m_folder.filePath(QStringLiteral("con-error"))));
    QFile altered(m_folder.filePath(QStringLiteral("limpia")));
    QVERIFY(altered.copy(m_folder.filePath(QStringLiteral("alterada"))));
    QFile copy(m_folder.filePath(QStringLiteral("alterada")));
    QVERIFY(copy.open(QIODevice::ReadWrite));
    QVERIFY(copy.seek(100));
    QVERIFY(copy.write("#") == 1);
    copy.close();
    QCOMPARE(
        ::mkfifo(QFile::encodeName(m_folder.filePath(QStringLiteral("fifo"))).constData(), 0600),
        0);
  }

  void printsEachProblemAndEndsWithTheWorstStatus_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("out");
    QTest::addColumn<QStringList>("err");
    const QString errorLine = QStringLiteral(
        "con-error: Error: Diesel, Ventas Exentas, casilla 36: Diesel: ventas exentas 15.00, "
        "anexo 0.00, diferencia 15.00");
    const QString warningLine = QStringLiteral(
        "con-error: Aviso: Diesel, Saldo Final, casilla 37: Saldo final negativo: -15.00 "
        "galones. Por favor revise las entradas y salidas de Diesel.");
    const QStringList faulty = {errorLine, warningLine,
                                QStringLiteral("con-error: 1 error, 1 aviso")};
    const QString clean = QStringLiteral("limpia: sin problemas");
    const QString altered = QString::fromUtf8(
        "alterada: El archivo que intenta modificar es invalido, no pertenece a una declaración");
    const QString fifo = QStringLiteral(
        "fifo: Error: No pudo leerse el archivo fifo, verifique que exista y que tenga permisos "
        "de lectura.");
    const QString revisar = QStringLiteral("--revisar");

    QTest::newRow("clean") << QStringList{revisar, "limpia"} << 0 << QStringList{clean}
                           << QStringList{};
    QTest::newRow("an error") << QStringList{revisar, "limpia", "con-error"} << 1
                              << (QStringList{clean} + faulty) << QStringList{};
    QTest::newRow("unreadable outweighs an error, the files after it still reviewed")
        << QStringList{revisar, "con-error", "alterada", "limpia"} << 2
        << (faulty + QStringList{"alterada: no se pudo revisar", clean}) << QStringList{altered};
    QTest::newRow("a FIFO is not waited on")
        << QStringList{revisar, "fifo", "limpia"} << 2
        << QStringList{"fifo: no se pudo revisar", clean} << QStringList{fifo};
    QTest::newRow("no file") << QStringList{revisar} << 2 << QStringList{}
                             << Lines(QString::fromUtf8(
                                    "Error:\nIndique los archivos de declaración que desea "
                                    "revisar: formulario7301 --revisar ARCHIVO...\n"));
  }

  void printsEachProblemAndEndsWithTheWorstStatus() {
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QStringList, out);
    QFETCH(QStringList, err);
    QTemporaryDir home;
    const ProgramRun run = RunProgram(arguments, m_folder.path(), home.path());
    QVERIFY2(run.finished, qPrintable(run.err));
    QCOMPARE(Lines(run.out), out);
    QCOMPARE(Lines(run.err), err);
    QCOMPARE(run.exitCode, status);
    // No settings, no draft, no lock, nothing of the browser's.
    QCOMPARE(QDir(home.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{});
  }

  void helpListsTheCommandLineForms() {
    QTemporaryDir home;
    const ProgramRun run = RunProgram({QStringLiteral("--help")}, m_folder.path(), home.path());
    QVERIFY(run.finished);
    QCOMPARE(run.exitCode, 0);
    const QStringList lines = Lines(run.out);
    QVERIFY(lines.size() > 3);
    QCOMPARE(lines.mid(0, 3), (QStringList{"Uso: formulario7301 [ARCHIVO]",
                                           "     formulario7301 --revisar ARCHIVO...",
                                           "     formulario7301 --help"}));
    QCOMPARE(run.err, QString());
  }

 private:
  QTemporaryDir m_folder;
};

F7301_APP_TEST(ReviewCommandTest);

}  // namespace f7301::test

#include "review_command_test.moc"
