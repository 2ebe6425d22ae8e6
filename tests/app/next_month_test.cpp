// "Mes siguiente" and "Rectificar" through the real window, from sealed
// declaration files on a real temporary folder: the next month's form filled
// from the last one and kept as a draft at once, box 1619 typed for a
// correction and carried by the declaration "Validar" writes, and files that
// fail to read refused with the reading messages.
#include <QDate>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>

#include "app/formulario_view.h"
#include "app/main_frame.h"
#include "formpage/field_model.h"
#include "tests/app/app_test_support.h"
#include "tests/app/draft_test_support.h"
#include "tests/app/form_filling.h"
#include "tests/app/sealed_file.h"
#include "tests/support/sample_declaration.h"

namespace f7301::test {
namespace {

const int kYear = QDate::currentDate().year();

// The closing balance of product `row` (1 to 13) in the sample declaration.
QString ClosingBalance(int row) {
  return QStringLiteral("%1.%2").arg(row * 1000 + 3).arg(row + 10);
}

// A December declaration of last year, every box filled, as "Validar" files it.
testing::SampleDeclaration LastDecember() {
  testing::SampleDeclaration d = testing::FullSample(2);
  d.numero = "14301277";
  d.nit = "12345679";
  d.nombre =
      "ESTACI\xD3N \xD1"
      "AND\xDA";
  d.desde = std::to_string(kYear - 1) + "1201";
  d.hasta = std::to_string(kYear - 1) + "1231";
  for (int row = 1; row <= kProductRowCount; ++row) {
    d.boxes[GridBox(row, kGridColumnCount)] = ClosingBalance(row).toStdString();
  }
  return d;
}

QString Value(const QString& field) {
  return RunJs(QStringLiteral("document.getElementsByName('%1')[0].value").arg(field)).toString();
}

bool WaitForPrepared(QSignalSpy& prepared) {
  return QTest::qWaitFor([&] { return prepared.count() == 1; }, 60000);
}

}  // namespace

class NextMonthTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { QVERIFY(ReloadBlankForm()); }

  void nextMonthFromTheMenuFillsTheFormAndKeepsItAsADraft() {
    QTemporaryDir dir;
    const QString file = SealedFile(dir, LastDecember());
    QVERIFY(!file.isEmpty());
    PromptScript prompts;
    prompts.Answer(PromptKind::DeclarationFile, file);
    QSignalSpy prepared(Frame().view(), &CFormularioView::formPrepared);
    QSignalSpy seen(Frame().view(), &CFormularioView::declarationFileSeen);
    Frame().newFromAction()->trigger();
    QVERIFY(WaitForPrepared(prepared));

    QCOMPARE(prompts.CountOf(PromptKind::DeclarationFile), 1);
    QCOMPARE(prompts.asked.front().caption, QStringLiteral("Nuevo a partir de una declaración"));
    QCOMPARE(prompts.asked.size(), size_t(1));  // no message, no alert
    QCOMPARE(seen.count(), 1);
    QCOMPARE(seen[0][0].toString(), file);
    QCOMPARE(Page().url(), QUrl(QStringLiteral("res://formulario7301.exe/131")));

    QCOMPARE(Value("c2"), QStringLiteral("12345679"));
    QCOMPARE(Value("c3"), QStringLiteral("ESTACIÓN ÑANDÚ"));
    // January of this year, its end and dates worked out by the page.
    const QString year = QString::number(kYear);
    const QStringList period = {"01",           "01", year, "31", "01", year, "01/01/" + year,
                                "31/01/" + year};
    QCOMPARE((QStringList{Value("dia_ini"), Value("mes_ini"), Value("anio_ini"), Value("dia_fin"),
                          Value("mes_fin"), Value("anio_fin"), Value("c4"), Value("c5")}),
             period);
    double total = 0;
    for (int row = 1; row <= kProductRowCount; ++row) {
      const QString opening = BoxFieldName(GridBox(row, 1)).c_str();
      const QString closing = BoxFieldName(GridBox(row, kGridColumnCount)).c_str();
      QCOMPARE(Value(opening), ClosingBalance(row));
      QCOMPARE(Value(closing), ClosingBalance(row));  // nothing moved yet: computed by the page
      for (int column = 2; column < kGridColumnCount; ++column) {
        QCOMPARE(Value(BoxFieldName(GridBox(row, column)).c_str()), QString());
      }
      total += ClosingBalance(row).toDouble();
    }
    QCOMPARE(Value("c110"), QString::number(total, 'f', 2));
    QCOMPARE(Value("c1619"), QString());
    QCOMPARE(Value("c1620"), QString());
    QCOMPARE(Value("f11c1"), QString());
    QVERIFY(!FormNumberField().isEmpty() && FormNumberField() != QStringLiteral("14301277"));

    // Kept at once, before anything is typed.
    const std::optional<Draft> draft =
        ReadDraft(QFileInfo(Frame().view()->drafts().currentDraftFile()).fileName());
    QVERIFY(draft);
    QVERIFY(!draft->reopened);
    QCOMPARE(DraftValue(*draft, "c2"), QStringLiteral("12345679"));
    QCOMPARE(DraftValue(*draft, "anio_fin"), year);
    QCOMPARE(DraftValue(*draft, "c102"), ClosingBalance(13));
    QCOMPARE(DraftValue(*draft, "c109"), ClosingBalance(13));

    // A movement typed next is counted as typing always is.
    QVERIFY(Type("c7", "100"));
    QCOMPARE(Value("c13"), QString::number(ClosingBalance(1).toDouble() + 100, 'f', 2));
  }

  void rectifyTypesBox1619AndValidarFilesIt() {
    QTemporaryDir dir;
    testing::SampleDeclaration original;  // every box empty: it validates unchanged
    original.desde = std::to_string(kYear) + "0101";
    original.hasta = std::to_string(kYear) + "0131";
    original.fecpre = "05/02/" + std::to_string(kYear);
    const QString file = SealedFile(dir, original);
    PromptScript prompts;
    QSignalSpy prepared(Frame().view(), &CFormularioView::formPrepared);
    QSignalSpy seen(Frame().view(), &CFormularioView::declarationFileSeen);
    Frame().view()->RectifyDeclaration(file);
    QVERIFY(WaitForPrepared(prepared));
    QVERIFY(Page().url().toString().contains("/generated/"));
    QCOMPARE(Value("c1619"), QStringLiteral("730110203045"));
    QCOMPARE(RunJs("document.activeElement.name").toString(), QStringLiteral("c1620"));
    QVERIFY(!RunJs("document.C.c1619.hasAttribute('aria-invalid')").toBool());
    QCOMPARE(prompts.asked.size(), size_t(0));
    QCOMPARE(seen.count(), 1);
    QCOMPARE(seen[0][0].toString(), file);

    // Leaving the fine box, where the caret waits, reminds of the fine for a
    // rectification, as the form does.
    {
      PromptScript leaving;
      RunJs("document.C.c1620.dispatchEvent(new FocusEvent('blur')); true");
      QCOMPARE(leaving.TextsOf(PromptKind::ScriptAlert),
               QStringList{QStringLiteral(
                   "Warning: \n Usted ha llenado la casilla \"No. De Declaración que se "
                   "rectifica\". La multa por rectificación según el Código Tributario en su Art. "
                   "94 es por un valor de cien quetzales (Q.100).")});
    }
    // Validar files the correction. (Whether the reminder comes again as the
    // page disables the box holding the caret depends on the display.)
    {
      PromptScript validating;
      validating.Answer(PromptKind::DestinationDirectory, dir.path());
      PressValidar();
      QVERIFY(
          QTest::qWaitFor([&] { return validating.CountOf(PromptKind::ViewMessage) == 1; }, 60000));
      QVERIFY(validating.TextsOf(PromptKind::ViewMessage).first().startsWith("Sr. Contribuyente"));
    }
    QCOMPARE(seen.count(), 2);
    const QString written = seen[1][0].toString();
    QVERIFY(written != file && QFile::exists(written));
    const std::optional<QByteArray> xml = Unseal(written);
    QVERIFY(xml);
    QVERIFY(xml->contains("<CASILLA ID=\"1619\">730110203045</CASILLA>"));
  }

  void consultarOfAGivenFileShowsItsPage() {
    QTemporaryDir dir;
    const QString file = SealedFile(dir, LastDecember());
    PromptScript prompts;
    QSignalSpy seen(Frame().view(), &CFormularioView::declarationFileSeen);
    Frame().view()->OpenDeclarationFile(LoadMode::Consultar, file);
    QVERIFY(WaitForPage([](const QString& url) { return url.contains("/generated/"); }));
    QVERIFY(RunJs("document.body.innerText").toString().contains(QStringLiteral("ESTACIÓN ÑANDÚ")));
    QCOMPARE(prompts.asked.size(), size_t(0));
    QCOMPARE(seen.count(), 1);
  }

  // Each command refuses with its own reading message and leaves the form
  // on screen as it was.
  void aFileThatFailsToReadGivesTheReadingMessageAndNoForm() {
    QTemporaryDir dir;
    QFile plain(
        dir.filePath("RTQ-1234567973012501"
                     "12345678"));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.write("<FORMULARIO></FORMULARIO>");
    plain.close();
    const QString missing = dir.filePath("no-existe");
    struct Case {
      std::function<void(const QString&)> command;
      QString file;
      QString message;
    };
    CFormularioView* view = Frame().view();
    const std::vector<Case> cases = {
        {[view](const QString& f) { view->StartNextMonthFrom(f); }, plain.fileName(),
         QStringLiteral(
             "El archivo que se intenta abrir es invalido, no pertenece a una declaración")},
        {[view](const QString& f) { view->RectifyDeclaration(f); }, plain.fileName(),
         QStringLiteral(
             "El archivo que intenta modificar es invalido, no pertenece a una declaración")},
        {[view](const QString& f) { view->StartNextMonthFrom(f); }, missing,
         "Error:\nNo pudo leerse el archivo " + missing +
             ", verifique que exista y que tenga permisos de lectura."},
    };
    QVERIFY(Type("c3", "SIGUE AQUI"));
    for (const Case& c : cases) {
      PromptScript prompts;
      QSignalSpy seen(view, &CFormularioView::declarationFileSeen);
      c.command(c.file);
      QTest::qWait(500);
      QCOMPARE(prompts.TextsOf(PromptKind::AppMessage), QStringList{c.message});
      QCOMPARE(seen.count(), 0);
      QCOMPARE(Page().url(), QUrl(QStringLiteral("res://formulario7301.exe/131")));
      QCOMPARE(Value("c3"), QStringLiteral("SIGUE AQUI"));
    }
  }
};

F7301_APP_TEST(NextMonthTest);

}  // namespace f7301::test

#include "next_month_test.moc"
