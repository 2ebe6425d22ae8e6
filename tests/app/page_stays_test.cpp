// The page being filled or shown never slips away: the mouse's back and
// forward buttons, Alt+Left/Right and the browser's own history steps leave
// the blank, the editable and the read-only page where they are, with what
// was typed on them.
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "app/formulario_view.h"
#include "app/main_frame.h"
#include "tests/app/app_test_support.h"
#include "tests/app/draft_test_support.h"
#include "tests/app/form_filling.h"

namespace f7301::test {
namespace {

QWidget* BrowserWidget() { return Frame().view()->browser()->focusProxy(); }

// Every way back or forward a user has, one after the other.
void TryToLeave() {
  QWidget* widget = BrowserWidget();
  const QPoint middle = widget->rect().center();
  for (Qt::MouseButton button : {Qt::BackButton, Qt::ForwardButton}) {
    QTest::mousePress(widget, button, Qt::NoModifier, middle);
    QTest::mouseRelease(widget, button, Qt::NoModifier, middle);
    QTest::qWait(300);
  }
  for (Qt::Key key : {Qt::Key_Left, Qt::Key_Right}) {
    QTest::keyClick(widget, key, Qt::AltModifier);
    QTest::qWait(300);
  }
  Page().triggerAction(QWebEnginePage::Back);
  Page().triggerAction(QWebEnginePage::Forward);
  RunJs("history.back(); true");
  QTest::qWait(300);
  RunJs("history.forward(); true");
  QTest::qWait(1000);
}

// The page is the one marked before, and still holds `field` = `value`.
void VerifyStillThere(const QString& url, const QString& field, const QString& value) {
  QCOMPARE(Page().url().toString(), url);
  QVERIFY(RunJs("window.__seguimos === true").toBool());
  if (!field.isEmpty()) {
    QCOMPARE(
        RunJs(QStringLiteral("document.getElementsByName('%1')[0].value").arg(field)).toString(),
        value);
  }
}

bool Reopen(bool forCorrection, const QString& file) {
  PromptScript prompts;
  prompts.Answer(PromptKind::DeclarationFile, file);
  RunJs("window.__anterior = true");
  if (forCorrection) {
    Frame().view()->OnFileUpdate();
  } else {
    Frame().view()->OnFileOpen();
  }
  return WaitForJs("window.__anterior === undefined && document.readyState === 'complete'", 60000);
}

}  // namespace

class PageStaysTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    // Pages enough behind the one on screen to go back to.
    QVERIFY(ReloadBlankForm());
    QVERIFY(ReloadBlankForm());
    QVERIFY(Fill(DieselDeclaration(2)));
    QVERIFY(m_dir.isValid());
    QVERIFY(Validate(m_dir.path()));
    m_declaration =
        QDir(m_dir.path() + "/19/7301").entryInfoList(QDir::Files).first().absoluteFilePath();
  }

  void theBlankFormStays() {
    QVERIFY(Reopen(false, m_declaration));
    QVERIFY(ReloadBlankForm());
    QVERIFY(Type("c2", "19"));
    RunJs("window.__seguimos = true");
    const QString url = Page().url().toString();
    TryToLeave();
    VerifyStillThere(url, "c2", "19");
  }

  void theEditablePageStays() {
    QVERIFY(Reopen(false, m_declaration));
    QVERIFY(Reopen(true, m_declaration));
    QVERIFY(Type("c3", "Corregido"));
    RunJs("window.__seguimos = true");
    const QString url = Page().url().toString();
    TryToLeave();
    VerifyStillThere(url, "c3", "CORREGIDO");
  }

  void theReadOnlyPageStays() {
    QVERIFY(Reopen(true, m_declaration));
    QVERIFY(Reopen(false, m_declaration));
    RunJs("window.__seguimos = true");
    const QString url = Page().url().toString();
    TryToLeave();
    VerifyStillThere(url, {}, {});
  }

 private:
  QTemporaryDir m_dir;
  QString m_declaration;
};

F7301_APP_TEST(PageStaysTest);

}  // namespace f7301::test

#include "page_stays_test.moc"
