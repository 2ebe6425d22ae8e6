// "Directorio Destino": what OK, Cancel, Esc and "Buscar" leave behind.
#include "app/directorio_dlg.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "app/main_frame.h"
#include "tests/app/app_test_support.h"

namespace f7301::test {
namespace {

const QString kProposal = QStringLiteral("/home/contribuyente");

// Opens the dialog without blocking, as the program would show it.
std::unique_ptr<CDirectorioDlg> OpenDialog() {
  auto dlg = std::make_unique<CDirectorioDlg>(&Frame());
  dlg->m_strDirectorio = kProposal;
  dlg->open();
  return dlg;
}

// The control that Tab moves to from `w`.
QWidget* NextTabStop(QWidget* w) {
  QWidget* next = w->nextInFocusChain();
  while (next != w && !(next->focusPolicy() & Qt::TabFocus)) next = next->nextInFocusChain();
  return next;
}

}  // namespace

class DirectorioDlgTest : public QObject {
  Q_OBJECT

 private slots:
  void textsControlsAndTabOrder() {
    auto dlg = OpenDialog();
    QCOMPARE(dlg->windowTitle(), QStringLiteral("Directorio Destino"));
    QCOMPARE(dlg->okButton()->text(), QStringLiteral("OK"));
    QCOMPARE(dlg->cancelButton()->text(), QStringLiteral("Cancel"));
    QCOMPARE(dlg->buscarButton()->text(), QStringLiteral("Buscar"));
    QVERIFY(dlg->okButton()->isDefault());
    const auto labels = dlg->findChildren<QLabel*>();
    QCOMPARE(labels.size(), 1);
    QCOMPARE(labels[0]->text(),
             QStringLiteral("Ingrese el path del directorio donde se creara el archivo"));
    QCOMPARE(NextTabStop(dlg->okButton()), dlg->cancelButton());
    QCOMPARE(NextTabStop(dlg->cancelButton()), dlg->buscarButton());
    QCOMPARE(NextTabStop(dlg->buscarButton()), dlg->edit());
    QCOMPARE(NextTabStop(dlg->edit()), dlg->okButton());
    dlg->reject();
  }

  void okUnchangedReturnsTheProposal() {
    auto dlg = OpenDialog();
    QCOMPARE(dlg->edit()->text(), kProposal);
    QSignalSpy finished(dlg.get(), &QDialog::finished);
    QTest::mouseClick(dlg->okButton(), Qt::LeftButton);
    QCOMPARE(finished.count(), 1);
    QCOMPARE(finished[0][0].toInt(), int(QDialog::Accepted));
    QCOMPARE(dlg->m_strDirectorio, kProposal);
  }

  void okReturnsTheTextExactlyAsTyped() {
    auto dlg = OpenDialog();
    dlg->edit()->clear();
    QTest::keyClicks(dlg->edit(), " /datos/");
    dlg->edit()->insert(QStringLiteral("año"));
    QTest::keyClicks(dlg->edit(), " 2024/ ");
    QTest::keyClick(dlg->edit(), Qt::Key_Return);  // the default button
    QCOMPARE(dlg->result(), int(QDialog::Accepted));
    QCOMPARE(dlg->m_strDirectorio, QStringLiteral(" /datos/año 2024/ "));
  }

  void buscarReplacesTheTextAndCancelKeepsTheProposal() {
    PromptScript prompts;
    prompts.Answer(PromptKind::Folder, QStringLiteral("/tmp/elegido"));
    auto dlg = OpenDialog();
    QTest::mouseClick(dlg->buscarButton(), Qt::LeftButton);
    QCOMPARE(prompts.asked.size(), size_t(1));
    QCOMPARE(prompts.asked[0].caption, QStringLiteral("Seleccione un folder"));
    QCOMPARE(dlg->edit()->text(), QStringLiteral("/tmp/elegido"));
    QTest::mouseClick(dlg->cancelButton(), Qt::LeftButton);
    QCOMPARE(dlg->result(), int(QDialog::Rejected));
    QCOMPARE(dlg->m_strDirectorio, kProposal);
  }

  void buscarThenOkReturnsTheChosenFolder() {
    PromptScript prompts;
    prompts.Answer(PromptKind::Folder, QStringLiteral("/tmp/elegido"));
    auto dlg = OpenDialog();
    QTest::mouseClick(dlg->buscarButton(), Qt::LeftButton);
    QTest::mouseClick(dlg->okButton(), Qt::LeftButton);
    QCOMPARE(dlg->m_strDirectorio, QStringLiteral("/tmp/elegido"));
  }

  void cancelledFolderChooserLeavesTheText() {
    PromptScript prompts;  // no answer: the folder chooser is cancelled
    auto dlg = OpenDialog();
    dlg->edit()->setText(QStringLiteral("/escrito/a/mano"));
    QTest::mouseClick(dlg->buscarButton(), Qt::LeftButton);
    QCOMPARE(prompts.CountOf(PromptKind::Folder), 1);
    QCOMPARE(dlg->edit()->text(), QStringLiteral("/escrito/a/mano"));
    QVERIFY(dlg->isVisible());
    dlg->reject();
  }

  void escapeAndCloseBehaveAsCancel() {
    auto dlg = OpenDialog();
    dlg->edit()->setText(QStringLiteral("/otro"));
    QTest::keyClick(dlg->edit(), Qt::Key_Escape);
    QVERIFY(!dlg->isVisible());
    QCOMPARE(dlg->result(), int(QDialog::Rejected));
    QCOMPARE(dlg->m_strDirectorio, kProposal);

    auto closed = OpenDialog();
    closed->edit()->setText(QStringLiteral("/otro"));
    closed->close();
    QCOMPARE(closed->result(), int(QDialog::Rejected));
    QCOMPARE(closed->m_strDirectorio, kProposal);
  }

  void programAsksThroughTheRealDialog() {
    // No answerer: the real modal dialog runs; answer it as a user would.
    QString shown;
    QTimer::singleShot(0, [&] {
      auto* dlg = qobject_cast<CDirectorioDlg*>(QApplication::activeModalWidget());
      if (!dlg) return;
      shown = dlg->edit()->text();
      dlg->edit()->setText(QStringLiteral("/srv/declaraciones"));
      dlg->okButton()->click();
    });
    QTimer::singleShot(5000, [] {
      if (QWidget* w = QApplication::activeModalWidget()) w->close();
    });
    const auto answer = AskDestinationDirectory(&Frame(), kProposal);
    QCOMPARE(shown, kProposal);
    QCOMPARE(answer, std::optional<QString>(QStringLiteral("/srv/declaraciones")));

    QTimer::singleShot(0, [] {
      if (auto* dlg = qobject_cast<CDirectorioDlg*>(QApplication::activeModalWidget())) {
        dlg->cancelButton()->click();
      }
    });
    QCOMPARE(AskDestinationDirectory(&Frame(), kProposal), std::nullopt);
  }
};

F7301_APP_TEST(DirectorioDlgTest);

}  // namespace f7301::test

#include "directorio_dlg_test.moc"
