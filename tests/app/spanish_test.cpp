// Everything Qt and the browser draw speaks Spanish, whatever the desktop's
// language: the file dialog, the folder chooser and the message boxes (read
// from their widgets, as the program opens them), the page's context menu and
// the browser engine itself.
#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include "app/accelerator_filter.h"
#include "app/directorio_dlg.h"
#include "app/formulario_view.h"
#include "app/main_frame.h"
#include "tests/app/app_test_support.h"
#include "tests/app/modal_catcher.h"

namespace f7301::test {
namespace {

// A button's text as the user reads it (without the mnemonic marker).
QString Shown(const QAbstractButton* button) {
  return button ? QString(button->text()).remove(QLatin1Char('&')) : QStringLiteral("(none)");
}

QString LabelText(const QWidget& dialog, const char* name) {
  const auto* label = dialog.findChild<QLabel*>(QString::fromLatin1(name));
  return label ? QString(label->text()).remove(QLatin1Char('&')) : QStringLiteral("(none)");
}

// What a Qt file dialog shows, read from its widgets.
struct FileDialogTexts {
  QString title;
  QString folder;
  QString accept;
  QString cancel;
  QString lookIn;
  QString fileName;
  QString fileType;
};

FileDialogTexts ReadFileDialog(QFileDialog& dialog) {
  const auto* box = dialog.findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
  return {dialog.windowTitle(),
          dialog.directory().absolutePath(),
          Shown(box ? box->buttons().value(0) : nullptr),
          Shown(box ? box->button(QDialogButtonBox::Cancel) : nullptr),
          LabelText(dialog, "lookInLabel"),
          LabelText(dialog, "fileNameLabel"),
          LabelText(dialog, "fileTypeLabel")};
}

QWidget* PageWidget() { return Frame().view()->browser()->focusProxy(); }

// The visible popup menu, if any.
QMenu* OpenMenu() {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (auto* menu = qobject_cast<QMenu*>(w); menu && menu->isVisible()) return menu;
  }
  return nullptr;
}

}  // namespace

class SpanishTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { QVERIFY(ReloadBlankForm()); }

  void consultarOpensTheFileDialogInSpanish() {
    QTemporaryDir folder;
    QSettings().setValue(QStringLiteral("Archivos/UltimaCarpeta"), folder.path());
    FileDialogTexts seen;
    ModalCatcher<QFileDialog> catcher([&](QFileDialog& d) { seen = ReadFileDialog(d); });
    Frame().action(Command::Consultar)->trigger();  // returns when the dialog is cancelled
    QVERIFY(catcher.caught());
    QCOMPARE(seen.title, QStringLiteral("Buscar Archivo"));
    QCOMPARE(seen.folder, folder.path());
    QCOMPARE(seen.accept, QStringLiteral("Abrir"));
    QCOMPARE(seen.cancel, QStringLiteral("Cancelar"));
    QCOMPARE(seen.lookIn, QStringLiteral("Ver en:"));
    QCOMPARE(seen.fileName, QStringLiteral("Nombre de archivo:"));
    QCOMPARE(seen.fileType, QStringLiteral("Archivos de tipo:"));
  }

  void buscarOpensTheFolderChooserInSpanishAtTheTypedFolder() {
    QTemporaryDir folder;
    CDirectorioDlg directorio(&Frame());
    directorio.m_strDirectorio = folder.path();
    directorio.open();
    FileDialogTexts seen;
    bool foldersOnly = false;
    {
      ModalCatcher<QFileDialog> catcher([&](QFileDialog& d) {
        seen = ReadFileDialog(d);
        foldersOnly = d.fileMode() == QFileDialog::Directory;
      });
      QTest::mouseClick(directorio.buscarButton(), Qt::LeftButton);
      QVERIFY(catcher.caught());
    }
    directorio.reject();
    QCOMPARE(seen.title, QStringLiteral("Seleccione un folder"));
    QVERIFY(foldersOnly);
    QCOMPARE(seen.folder, folder.path());
    QCOMPARE(seen.accept, QStringLiteral("Seleccionar"));
    QCOMPARE(seen.cancel, QStringLiteral("Cancelar"));
    QCOMPARE(seen.lookIn, QStringLiteral("Ver en:"));
    QCOMPARE(seen.fileName, QStringLiteral("Carpeta:"));
  }

  void messageBoxButtonReadsAceptar() {
    QStringList buttons;
    QString text;
    ModalCatcher<QMessageBox> catcher([&](QMessageBox& box) {
      text = box.text();
      for (QAbstractButton* b : box.buttons()) buttons << Shown(b);
    });
    ShowMessage(&Frame(), PromptKind::AppMessage, QStringLiteral("Error 1"),
                QString::fromLatin1(kAppTitle));
    QVERIFY(catcher.caught());
    QCOMPARE(text, QStringLiteral("Error 1"));
    QCOMPARE(buttons, QStringList{QStringLiteral("Aceptar")});
  }

  void imprimirOpensThePrintDialogInSpanish() {
    QString title;
    QStringList buttons;
    ModalCatcher<QPrintDialog> catcher([&](QPrintDialog& d) {
      title = d.windowTitle();
      for (auto* box : d.findChildren<QDialogButtonBox*>()) {
        for (QAbstractButton* b : box->buttons()) buttons << Shown(b);
      }
    });
    Frame().action(Command::Imprimir)->trigger();
    QVERIFY(catcher.caught());
    QCOMPARE(title, QStringLiteral("Imprimir"));
    QVERIFY2(buttons.contains(QStringLiteral("Imprimir")), qPrintable(buttons.join(" | ")));
    QVERIFY2(buttons.contains(QStringLiteral("Cancelar")), qPrintable(buttons.join(" | ")));
  }

  void pageContextMenuIsSpanish() {
    // An empty text field at the top of the form, right-clicked.
    RunJs(
        "var f = document.createElement('input'); f.id = 'prueba';"
        "document.body.insertBefore(f, document.body.firstChild);"
        "f.value = 'texto'; f.focus(); f.select(); 1");
    const QVariantList box = RunJs(
                                 "var r = document.getElementById('prueba')"
                                 ".getBoundingClientRect(); [r.left + 5, r.top + r.height / 2]")
                                 .toList();
    QCOMPARE(box.size(), 2);
    const QPoint at(box[0].toInt(), box[1].toInt());
    QTest::mouseClick(PageWidget(), Qt::RightButton, {}, at);
    QTRY_VERIFY_WITH_TIMEOUT(OpenMenu() != nullptr, 15000);
    QStringList texts;
    for (QAction* a : OpenMenu()->actions()) {
      if (!a->isSeparator() && a->isVisible()) texts << QString(a->text()).remove('&');
    }
    OpenMenu()->close();
    QCOMPARE(texts, (QStringList{"Deshacer", "Rehacer", "Cortar", "Copiar", "Pegar",
                                 "Pegar y coincidir estilo", "Seleccionar todo"}));
  }

  void browserErrorPageIsSpanish() {
    const QUrl missing(QStringLiteral("res://formulario7301.exe/no-existe"));
    Frame().view()->browser()->page()->load(missing);
    // The engine's own error page (its error code is the same in every
    // language), in the engine's language.
    QVERIFY(
        WaitForJs("document.body !== null &&"
                  "document.body.innerText.includes('ERR_FILE_NOT_FOUND')"));
    QCOMPARE(RunJs("document.documentElement.lang").toString(), QStringLiteral("es"));
    const QString text = RunJs("document.body.innerText").toString();
    QVERIFY2(text.startsWith(QStringLiteral("No se ha podido acceder al archivo")),
             qPrintable(text));
  }

  void browserEngineRunsInSpanish() {
    QCOMPARE(RunJs("navigator.language").toString(), QStringLiteral("es"));
    QCOMPARE(Frame().view()->browser()->page()->profile()->httpAcceptLanguage(),
             QStringLiteral("es"));
  }
};

F7301_APP_TEST(SpanishTest);

}  // namespace f7301::test

#include "spanish_test.moc"
