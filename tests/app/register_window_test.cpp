// The register of declarations through its real window: what it lists and
// exports from real folders, the next month and a rectification started from
// it, a cache deleted under it, and what only the window shows (filter box,
// year, headings, keys, the status line, screen-reader names).
#include "app/register/register_window.h"

#include <unistd.h>

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEngineView>
#include <chrono>
#include <filesystem>
#include <fstream>

#include "app/accelerator_filter.h"
#include "app/formulario_view.h"
#include "app/main_frame.h"
#include "app/register/register_filter.h"
#include "app/register/register_folders.h"
#include "app/register/register_model.h"
#include "formpage/field_model.h"
#include "tests/app/app_test_support.h"
#include "tests/app/form_filling.h"
#include "tests/app/register_fixture.h"
#include "tests/support/filed_declaration.h"

namespace f7301::test {
namespace {

CRegisterWindow& Register() { return *Frame().registerWindow(); }

// Opens the register as the user does, with Ctrl+D typed in a field of the
// form, and waits for its list.
bool OpenRegister() {
  QSignalSpy ended(&Register(), &CRegisterWindow::scanEnded);
  if (!WaitForJs("document.C.c3 != null")) return false;
  RunJs("document.C.c3.focus(); true");
  Frame().activateWindow();
  QWidget* page = Frame().view()->browser()->focusProxy();
  page->setFocus();
  QTest::keyClick(page, Qt::Key_D, Qt::ControlModifier);
  return ended.wait(60000) && Register().isVisible() && QTest::qWaitForWindowActive(&Register());
}

bool Rescanned() {
  QSignalSpy ended(&Register(), &CRegisterWindow::scanEnded);
  return ended.wait(60000);
}

// "Exportar lista..." answered with a file of `dir`; the file's lines.
QStringList ExportedLines(const QTemporaryDir& dir) {
  PromptScript prompts;
  const QString file = dir.filePath(QStringLiteral("lista.csv"));
  QFile::remove(file);
  prompts.Answer(PromptKind::RegisterExportFile, file);
  // A mnemonic presses its button a moment later, as a click shows.
  QTest::keyClick(&Register(), Qt::Key_E, Qt::AltModifier);
  QFile csv(file);
  if (!QTest::qWaitFor([&] { return prompts.CountOf(PromptKind::ViewMessage) == 1; }) ||
      prompts.TextsOf(PromptKind::RegisterExportFile).size() != 1 ||
      !csv.open(QIODevice::ReadOnly)) {
    return {QStringLiteral("(no export)")};
  }
  QByteArray bytes = csv.readAll();
  if (!bytes.startsWith("\xEF\xBB\xBF")) return {QStringLiteral("(no byte-order mark)")};
  bytes.remove(0, 3);
  QStringList lines = QString::fromUtf8(bytes).split(QStringLiteral("\r\n"));
  if (lines.last().isEmpty()) lines.removeLast();
  return lines;
}

// The row shown whose Archivo is `path`; invalid when none is.
QModelIndex RowShowing(const QString& path) {
  const QAbstractItemModel* shown = Register().table()->model();
  for (int r = 0; r < shown->rowCount(); ++r) {
    const QModelIndex index = shown->index(r, static_cast<int>(RegisterColumn::Archivo));
    if (index.data().toString() == path) return index;
  }
  return {};
}

// Selects the row shown whose Archivo is `path`.
bool Select(const QString& path) {
  const QModelIndex index = RowShowing(path);
  if (index.isValid()) Register().table()->setCurrentIndex(index.siblingAtColumn(0));
  return index.isValid();
}

QString StateOf(const QString& path) {
  const QModelIndex index = RowShowing(path);
  if (!index.isValid()) return QStringLiteral("(not listed)");
  return index.siblingAtColumn(static_cast<int>(RegisterColumn::Estado)).data().toString();
}

QString Field(const QString& name) {
  return RunJs(QStringLiteral("document.C.%1.value").arg(name)).toString();
}

// The form's column `column` (1 to 8) of the thirteen products, as shown.
QStringList GridColumn(int column) {
  QStringList values;
  for (int row = 1; row <= kProductRowCount; ++row) {
    values << Field(QStringLiteral("c%1").arg(GridBox(row, column)));
  }
  return values;
}

// How many products have different amounts in `a` and `b`.
int Differing(const QStringList& a, const QStringList& b) {
  int count = 0;
  for (int i = 0; i < a.size(); ++i) count += a[i].toDouble() != b[i].toDouble() ? 1 : 0;
  return count;
}

}  // namespace

class RegisterWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QVERIFY(m_cache.isValid() && m_fixture.ok());
    qputenv("XDG_CACHE_HOME", m_cache.path().toLocal8Bit());
  }

  void init() {
    QSettings().clear();
    SetRegisterFolders({m_fixture.root()});
    QVERIFY(ReloadBlankForm());
  }

  void cleanup() { Register().close(); }

  void listsEveryFilingAndExportsItAlsoFromARebuiltCache() {
    QVERIFY(OpenRegister());
    QCOMPARE(Register().windowTitle(), QStringLiteral("Declaraciones"));
    const QStringList expected = m_fixture.ExpectedLines();
    QCOMPARE(ExportedLines(m_work), expected);
    QCOMPARE(Register().countsLine()->text(),
             QStringLiteral("19 declaraciones de 3 contribuyentes, 1 mes sin declaración, "
                            "3 archivos alterados o ilegibles"));
    // The cache deleted under the program: the list comes back the same.
    Register().close();
    QVERIFY(QDir(m_cache.filePath(QStringLiteral("Formulario7301"))).removeRecursively());
    QVERIFY(OpenRegister());
    QCOMPARE(ExportedLines(m_work), expected);
    QVERIFY(QFileInfo::exists(m_cache.filePath(QStringLiteral("Formulario7301"))));
  }

  void nextMonthOfTheLatestDeclaration() {
    QVERIFY(OpenRegister());
    QVERIFY(Select(m_fixture.FileOf(RegisterFixture::Nit14(), QStringLiteral("00000113"))));
    QSignalSpy prepared(Frame().view(), &CFormularioView::formPrepared);
    QTest::keyClick(&Register(), Qt::Key_S, Qt::AltModifier);
    QVERIFY(prepared.wait(60000));
    QCOMPARE(Field("c2"), RegisterFixture::Nit14());
    QCOMPARE(Field("c3"), RegisterFixture::NameOf14());
    QCOMPARE(Field("mes_ini").toInt(), 3);
    QCOMPARE(Field("anio_ini"), QStringLiteral("2024"));
    const std::vector<QString> balances = m_fixture.LatestClosingBalances();
    for (int row = 1; row <= kProductRowCount; ++row) {
      QCOMPARE(Field(QStringLiteral("c%1").arg(GridBox(row, 1))).toDouble(),
               balances[row - 1].toDouble());
    }
  }

  void rectificationWrittenElsewhereShowsInForce() {
    QVERIFY(OpenRegister());
    const QString original = m_fixture.FileOf(QStringLiteral("140"), QStringLiteral("00000010"));
    QVERIFY(Select(original));
    QSignalSpy prepared(Frame().view(), &CFormularioView::formPrepared);
    QTest::keyClick(&Register(), Qt::Key_R, Qt::AltModifier);
    QVERIFY(prepared.wait(60000));
    QCOMPARE(Field("c1619"), QStringLiteral("730100000010"));
    // Written outside the register's folders: it enters the register all the same.
    QTemporaryDir elsewhere;
    PromptScript prompts;
    prompts.Answer(PromptKind::DestinationDirectory, elsewhere.path());
    QSignalSpy seen(Frame().view(), &CFormularioView::declarationFileSeen);
    PressValidar();  // returns once the page's call has been answered
    QTRY_COMPARE_WITH_TIMEOUT(seen.count(), 1, 60000);
    const QString written = seen.last()[0].toString();
    QVERIFY(written.startsWith(elsewhere.path()));
    QTRY_COMPARE_WITH_TIMEOUT(StateOf(written), QStringLiteral("Vigente"), 60000);
    QCOMPARE(StateOf(original), QStringLiteral("Rectificada"));
  }

  void filterYearHeadingsAndKeys() {
    QVERIFY(OpenRegister());
    QLineEdit* filter = Register().filterEdit();
    QCOMPARE(QApplication::focusWidget(), filter);
    QCOMPARE(Register().yearChoice()->currentText(), QStringLiteral("Todos"));
    QTest::keyClicks(filter, QStringLiteral("gama"));
    QCOMPARE(Register().table()->model()->rowCount(), 2);
    QCOMPARE(Register().countsLine()->text(),
             QStringLiteral("2 declaraciones de 1 contribuyente, 0 meses sin declaración"));
    // Down goes into the list; Enter there is Consultar of the row.
    QSignalSpy consultar(&Register(), &CRegisterWindow::consultarRequested);
    QTest::keyClick(filter, Qt::Key_Down);
    QCOMPARE(QApplication::focusWidget(), Register().table());
    QTest::keyClick(Register().table(), Qt::Key_Down);
    QTest::keyClick(Register().table(), Qt::Key_Return);
    QCOMPARE(consultar.count(), 1);
    QCOMPARE(consultar[0][0].toString(),
             m_fixture.FileOf(QStringLiteral("140"), QStringLiteral("00000011")));
    filter->clear();
    // A year: its months only, the files that do not read are left out.
    Register().yearChoice()->setCurrentText(QStringLiteral("2023"));
    QCOMPARE(Register().countsLine()->text(),
             QStringLiteral("15 declaraciones de 2 contribuyentes, 1 mes sin declaración"));
    Register().yearChoice()->setCurrentIndex(0);
    // The Periodo heading sorts by period (newest last), clicked twice newest first.
    QHeaderView* heading = Register().table()->horizontalHeader();
    const int periodo = static_cast<int>(RegisterColumn::Periodo);
    auto firstPeriod = [] {
      return Register()
          .table()
          ->model()
          ->index(0, static_cast<int>(RegisterColumn::Periodo))
          .data()
          .toString();
    };
    QTest::mouseClick(heading->viewport(), Qt::LeftButton, {},
                      QPoint(heading->sectionViewportPosition(periodo) + 5, 5));
    QCOMPARE(firstPeriod(), QString());  // the files that do not read have none
    QTest::mouseClick(heading->viewport(), Qt::LeftButton, {},
                      QPoint(heading->sectionViewportPosition(periodo) + 5, 5));
    QCOMPARE(firstPeriod(), QStringLiteral("02/2024"));
  }

  void actionsFollowTheRowSelected() {
    QVERIFY(OpenRegister());
    const struct {
      QString filter;
      bool consultar, others, folder;
    } cases[] = {
        {QStringLiteral("00000005"), true, true, true},   // a declaration
        {QStringLiteral("00000091"), true, false, true},  // a file that does not read
    };
    for (const auto& c : cases) {
      Register().filterEdit()->setText(c.filter);
      QTest::keyClick(Register().filterEdit(), Qt::Key_Down);
      QCOMPARE(Register().button(RegisterAction::Consultar)->isEnabled(), c.consultar);
      for (auto a :
           {RegisterAction::Modificar, RegisterAction::Rectificar, RegisterAction::MesSiguiente}) {
        QCOMPARE(Register().button(a)->isEnabled(), c.others);
      }
      QCOMPARE(Register().button(RegisterAction::AbrirCarpeta)->isEnabled(), c.folder);
    }
    // A month without a declaration has nothing to open.
    Register().filterEdit()->setText(RegisterFixture::Nit14());
    QTableView* table = Register().table();
    for (int r = 0; r < table->model()->rowCount(); ++r) {
      const QModelIndex state = table->model()->index(r, static_cast<int>(RegisterColumn::Estado));
      if (state.data().toString() != QStringLiteral("Sin declaración")) continue;
      table->setCurrentIndex(state);
      for (int a = 0; a < kRegisterActionCount; ++a) {
        QVERIFY(!Register().button(static_cast<RegisterAction>(a))->isEnabled());
      }
    }
  }

  void foldersAddedAndAProblemReportedOnceInTheStatusLine() {
    PromptScript prompts;
    const QString gone = m_work.filePath(QStringLiteral("no-existe"));
    prompts.Answer(PromptKind::Folder, gone);
    QVERIFY(OpenRegister());
    Register().addFolderButton()->click();
    QVERIFY(Rescanned());
    QCOMPARE(RegisterFolders(), (QStringList{m_fixture.root(), gone}));
    QVERIFY2(Register().statusLine()->text().contains(gone),
             qPrintable(Register().statusLine()->text()));
    // A folder not walked: no month is called missing, and the user is told.
    QVERIFY(Register().statusLine()->text().startsWith(
        QStringLiteral("La búsqueda no recorrió todas las carpetas: no se muestran los meses sin "
                       "declaración. No se encontró la carpeta")));
    QCOMPARE(prompts.CountOf(PromptKind::AppMessage) + prompts.CountOf(PromptKind::ViewMessage), 0);
    // Removing the folder shown in the choice.
    Register().folderChoice()->setCurrentIndex(1);
    Register().removeFolderButton()->click();
    QVERIFY(Rescanned());
    QCOMPARE(RegisterFolders(), QStringList{m_fixture.root()});
    QVERIFY(Register().statusLine()->text().isEmpty());
  }

  // A folder whose name is not UTF-8, as another system may have written
  // it: its declaration is listed, the bytes that cannot be shown as U+FFFD,
  // and asking to open it ends in a message, not in a stopped program.
  void aFolderNameThatIsNotUtf8() {
    QTemporaryDir other;
    const std::string folder = QFile::encodeName(other.path()).toStdString() + "/caf\xE9";
    const QString source = m_fixture.FileOf(RegisterFixture::Nit14(), QStringLiteral("00000113"));
    const QString name = QFileInfo(source).fileName();
    QFile in(source);
    QVERIFY(in.open(QIODevice::ReadOnly));
    const QByteArray bytes = in.readAll();
    std::filesystem::create_directory(folder);
    std::ofstream(std::filesystem::path(folder + "/" + name.toStdString()), std::ios::binary)
        .write(bytes.constData(), bytes.size());
    SetRegisterFolders({other.path()});
    QVERIFY(OpenRegister());
    const QString shown = other.path() + QStringLiteral("/caf\uFFFD/") + name;
    QCOMPARE(StateOf(shown), QStringLiteral("Vigente"));
    QVERIFY(Select(shown));
    QSignalSpy asked(&Register(), &CRegisterWindow::consultarRequested);
    QTest::keyClick(&Register(), Qt::Key_C, Qt::AltModifier);
    QTRY_VERIFY(Register().statusLine()->text().startsWith(QStringLiteral("No puede abrirse")));
    QCOMPARE(Register().statusLine()->toolTip(), shown);
    QCOMPARE(asked.count(), 0);
    std::filesystem::remove_all(folder);
  }

  // One filing reached three ways, a backup copy, a file rewritten with its
  // size and modification time kept, and November rectified after December
  // was started from it: the export, line for line, says each as it is.
  void sameFileTwiceACopyARewriteAndTheMonthBefore() {
    const QString root = m_fixture.root();
    const QString link = m_work.filePath(QStringLiteral("enlace"));
    const QString other = m_work.filePath(QStringLiteral("otra"));
    QVERIFY(QFile::link(root, link));
    QVERIFY(QDir().mkpath(other + QStringLiteral("/respaldo")));
    const QString alfa = m_fixture.FileOf(RegisterFixture::Nit14(), QStringLiteral("00000113"));
    QVERIFY(::link(QFile::encodeName(alfa).constData(),
                   QFile::encodeName(other + QLatin1Char('/') + QFileInfo(alfa).fileName())) == 0);
    const QString january = m_fixture.FileOf(QStringLiteral("140"), QStringLiteral("00000010"));
    const QString backup = other + QStringLiteral("/respaldo/") + QFileInfo(january).fileName();
    QVERIFY(QFile::copy(january, backup));
    const std::filesystem::path backupPath(backup.toStdString());
    std::filesystem::last_write_time(
        backupPath, std::filesystem::last_write_time(backupPath) + std::chrono::minutes(1));
    // A NIT whose check character is wrong.
    const QString wrongNit = QString::fromStdString(
        testing::FileDeclaration(other.toStdString(), testing::MonthlySample("18", "ESTACION DELTA",
                                                                             2024, 3, "00000077"))
            .string());
    QVERIFY(!wrongNit.isEmpty());
    SetRegisterFolders({root, link, other});
    QVERIFY(OpenRegister());
    // An earlier test's filter and sorting may remain: the register's own order.
    Register().filterEdit()->clear();
    Register().table()->sortByColumn(-1, Qt::AscendingOrder);

    // Rewritten in place, its size and modification time kept.
    const QString october = m_fixture.FileOf(QStringLiteral("19"), QStringLiteral("00000001"));
    QFile rewritten(october);
    const auto mtime = std::filesystem::last_write_time(october.toStdString());
    QVERIFY(rewritten.open(QIODevice::ReadWrite));
    const QByteArray original = rewritten.readAll();
    rewritten.seek(0);
    rewritten.write(QByteArray(original.size(), 'A'));
    rewritten.close();
    std::filesystem::last_write_time(october.toStdString(), mtime);

    // December (here March) started from February, then February rectified.
    const QString february = m_fixture.FileOf(QStringLiteral("140"), QStringLiteral("00000011"));
    QTemporaryDir elsewhere;
    PromptScript prompts;
    const QString folder = elsewhere.path() + QStringLiteral("/140/7301/RTQ-1407301");
    QVERIFY(Select(february));
    QSignalSpy prepared(Frame().view(), &CFormularioView::formPrepared);
    Register().button(RegisterAction::MesSiguiente)->click();
    QVERIFY(prepared.wait(60000));
    const QStringList marchOpenings = GridColumn(1);
    const QString marchNumber = FormNumberField();
    const QString march = folder + QStringLiteral("2403") + marchNumber;
    prompts.Answer(PromptKind::DestinationDirectory, elsewhere.path());
    PressValidar();
    QTRY_COMPARE_WITH_TIMEOUT(StateOf(march), QStringLiteral("Vigente"), 60000);
    QVERIFY(Select(february));
    Register().button(RegisterAction::Rectificar)->click();
    QVERIFY(prepared.wait(60000));
    QVERIFY(Enter(QStringLiteral("c7"), QStringLiteral("100.00")));
    const QStringList februaryClosings = GridColumn(kGridColumnCount);
    const QString rectificationNumber = FormNumberField();
    const QString rectification = folder + QStringLiteral("2402") + rectificationNumber;
    prompts.Answer(PromptKind::DestinationDirectory, elsewhere.path());
    PressValidar();
    QTRY_COMPARE_WITH_TIMEOUT(StateOf(rectification), QStringLiteral("Vigente"), 60000);
    QTRY_COMPARE_WITH_TIMEOUT(StateOf(october), QStringLiteral("Alterada o ilegible"), 60000);

    QStringList expected = m_fixture.ExpectedLines();
    const auto at = [&](const QString& path) {
      for (int i = 0; i < expected.size(); ++i) {
        if (expected[i].endsWith(QLatin1Char(';') + path)) return i;
      }
      return -1;
    };
    QString copyLine = expected[at(january)];
    copyLine.replace(QStringLiteral(";Vigente;;") + january, QStringLiteral(";Copia;;") + backup);
    expected.insert(at(january) + 1, copyLine);
    expected[at(february)].replace(QStringLiteral(";Vigente;"), QStringLiteral(";Rectificada;"));
    const QString today = QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy"));
    const QString gama = QStringLiteral("140;COMBUSTIBLES GAMA;");
    expected.insert(at(february) + 1,
                    gama + QStringLiteral("02/2024;%1;730100000011;0;0;%2;Vigente;;%3")
                               .arg(rectificationNumber, today, rectification));
    expected.insert(at(february) + 2,
                    gama + QStringLiteral("03/2024;%1;;0;0;%2;Vigente;Saldo inicial distinto del "
                                          "saldo final de 02/2024: Gasolina superior %3 en lugar "
                                          "de %4 y %5 productos más;%6")
                               .arg(marchNumber, today, marchOpenings[0], februaryClosings[0])
                               .arg(Differing(marchOpenings, februaryClosings) - 1)
                               .arg(march));
    const int unreadable = at(m_fixture.FileOf(QStringLiteral("19"), QStringLiteral("00000001")));
    expected.removeAt(unreadable);
    expected.insert(expected.size() - 3, QStringLiteral(";;;;;;;;Alterada o ilegible;;") + october);
    expected.insert(1,
                    QStringLiteral("18;ESTACION DELTA;03/2024;00000077;;30,50;0;05/04/2024;Vigente;"
                                   "NIT con dígito verificador inválido;") +
                        wrongNit);
    Register().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&Register()));
    QCOMPARE(ExportedLines(m_work), expected);
    QCOMPARE(Register().countsLine()->text(),
             QStringLiteral("21 declaraciones de 4 contribuyentes, 1 mes sin declaración, 1 copia, "
                            "4 archivos alterados o ilegibles, 2 con avisos"));
    Register().onlyWithAvisos()->setChecked(true);
    QCOMPARE(Register().table()->model()->rowCount(), 2);
    Register().onlyWithAvisos()->setChecked(false);

    // "Rectificar" on the rectified February offers the one in force.
    QVERIFY(Select(february));
    PromptScript asked;  // the export's script has ended the one above
    asked.Answer(PromptKind::Question, QStringLiteral("No"));
    QSignalSpy rectify(&Register(), &CRegisterWindow::rectificarRequested);
    Register().button(RegisterAction::Rectificar)->click();
    QCOMPARE(asked.CountOf(PromptKind::Question), 1);
    QCOMPARE(asked.TextsOf(PromptKind::Question).constFirst(),
             QStringLiteral("Esta declaración ya fue rectificada. ¿Desea rectificar la declaración "
                            "vigente del mismo periodo (formulario %1)?")
                 .arg(rectificationNumber));
    QCOMPARE(rectify.count(), 0);

    QVERIFY(rewritten.open(QIODevice::WriteOnly));
    rewritten.write(original);
    rewritten.close();
  }

  void everyControlHasASpanishName() {
    QVERIFY(OpenRegister());
    for (QWidget* w : Register().findChildren<QWidget*>()) {
      if (w->focusPolicy() == Qt::NoFocus || !w->isVisibleTo(&Register()) ||
          w->parentWidget() != &Register()) {
        continue;
      }
      QVERIFY2(!w->accessibleName().isEmpty(), w->metaObject()->className());
    }
  }

 private:
  QTemporaryDir m_cache;
  QTemporaryDir m_work;
  RegisterFixture m_fixture;
};

F7301_APP_TEST(RegisterWindowTest);

}  // namespace f7301::test

#include "register_window_test.moc"
