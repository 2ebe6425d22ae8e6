// The dialogs the program borrows from Qt speak the program's Spanish
// whatever the desktop's language (ctest runs this class under an English
// and a C locale): every text the user can read in them (labels, buttons,
// column headings, list items, tabs, tooltips) is searched for English words
// and for Spain's "fichero", and a file's date is written in Spanish.
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

#include "app/main_frame.h"
#include "app/modal_prompts.h"
#include "tests/app/app_test_support.h"
#include "tests/app/modal_catcher.h"

namespace f7301::test {
namespace {

// Words of Qt's English texts that have no place in a Spanish dialog. Matched
// as whole words with their capitals, so the design's own "Seleccione un
// folder" and Spanish words such as "No" and "Color" are not taken for them.
const QStringList kEnglishWords =
    QStringLiteral(
        "Pages Page Folder Folders Off On Cancel OK File Files Print Printer Double Sided Open "
        "Save "
        "Name Size Type Date Modified Look Directory Back Forward Parent Create New View Detail "
        "List "
        "Options Properties Copies Collate Reverse Grayscale Duplex Long Short Setup Paper "
        "Orientation "
        "Portrait Landscape Margins Range All Current Selection Yes Close Choose Recent Computer "
        "Location Output Even Odd Left Right Top Bottom Custom Width Height Layout Job Settings "
        "Set Show "
        "Hidden Delete Rename Drive Source Immediately Hold Billing Priority Banner None Scaling "
        "Sheet "
        "Copy from to of the and Jan Feb Apr May Jun Jul Aug Sep Oct Nov Dec Mon Tue Wed Thu Fri "
        "Sat "
        "Sun")
        .split(QLatin1Char(' '));

// Everything a user can read in `dialog` and in the widgets inside it.
QStringList VisibleTexts(QWidget& dialog) {
  QStringList texts{dialog.windowTitle()};
  QList<QWidget*> widgets = dialog.findChildren<QWidget*>();
  widgets.prepend(&dialog);
  for (QWidget* w : widgets) {
    texts << w->toolTip();
    if (auto* label = qobject_cast<QLabel*>(w)) texts << label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(w)) texts << button->text();
    if (auto* box = qobject_cast<QGroupBox*>(w)) texts << box->title();
    if (auto* edit = qobject_cast<QLineEdit*>(w)) texts << edit->placeholderText();
    if (auto* combo = qobject_cast<QComboBox*>(w)) {
      for (int i = 0; i < combo->count(); ++i) texts << combo->itemText(i);
    }
    if (auto* tabs = qobject_cast<QTabBar*>(w)) {
      for (int i = 0; i < tabs->count(); ++i) texts << tabs->tabText(i) << tabs->tabToolTip(i);
    }
    if (auto* header = qobject_cast<QHeaderView*>(w); header && header->model()) {
      for (int i = 0; i < header->count(); ++i) {
        texts << header->model()->headerData(i, header->orientation()).toString();
      }
    }
    // A list's columns after the name (size, type, date); the names are the
    // user's own.
    if (auto* view = qobject_cast<QAbstractItemView*>(w); view && view->model()) {
      const QAbstractItemModel& model = *view->model();
      for (int row = 0; row < model.rowCount(view->rootIndex()); ++row) {
        for (int column = 1; column < model.columnCount(view->rootIndex()); ++column) {
          texts << model.index(row, column, view->rootIndex()).data().toString();
        }
      }
    }
  }
  for (QString& text : texts) text.remove(QLatin1Char('&'));
  texts.removeAll(QString());
  return texts;
}

// With F7301_DIALOG_SHOTS set to a folder, each dialog is kept there as a
// picture, to be looked at.
void KeepPicture(QWidget& dialog, const QString& name) {
  const QString folder = qEnvironmentVariable("F7301_DIALOG_SHOTS");
  if (!folder.isEmpty()) dialog.grab().save(folder + QLatin1Char('/') + name + ".png");
}

// The texts among `texts` that hold an English word or "fichero".
QStringList Foreign(const QStringList& texts) {
  static const QRegularExpression english(
      QStringLiteral("\\b(%1)\\b").arg(kEnglishWords.join('|')));
  static const QRegularExpression fichero(QStringLiteral("fichero"),
                                          QRegularExpression::CaseInsensitiveOption);
  QStringList found;
  for (const QString& text : texts) {
    if (text.contains(english) || text.contains(fichero)) found << text;
  }
  return found;
}

// What the file dialog's list shows in the row of `name`, column `column`,
// once the dialog has read its folder.
QString CellOf(QFileDialog& dialog, const QString& name, int column) {
  for (auto* view : dialog.findChildren<QAbstractItemView*>()) {
    QAbstractItemModel* model = view->model();
    if (model == nullptr || model->columnCount(view->rootIndex()) <= column) continue;
    for (int row = 0; row < model->rowCount(view->rootIndex()); ++row) {
      if (model->index(row, 0, view->rootIndex()).data().toString() == name) {
        return model->index(row, column, view->rootIndex()).data().toString();
      }
    }
  }
  return {};
}

}  // namespace

class DialogWordsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QVERIFY(m_folder.isValid());
    QVERIFY(QDir(m_folder.path()).mkdir(QStringLiteral("carpeta")));  // its type is a word too
    QFile file(m_folder.filePath(QStringLiteral("anexo.csv")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("19;1,00;DIESEL\n");
    file.close();
    // The second of December, so that the month's name is one Spanish and
    // English write differently.
    QVERIFY(file.open(QIODevice::ReadWrite));
    m_modified = QDateTime(QDate(2026, 12, 2), QTime(9, 30));
    QVERIFY(file.setFileTime(m_modified, QFileDevice::FileModificationTime));
  }

  void fileDialogsSpeakSpanish_data() {
    QTest::addColumn<int>("which");
    QTest::newRow("Consultar / Modificar") << 0;
    QTest::newRow("Importar anexo") << 1;
    QTest::newRow("Exportar anexo") << 2;
    QTest::newRow("Exportar lista") << 3;
    QTest::newRow("folder browser (Buscar, Agregar carpeta)") << 4;
  }

  void fileDialogsSpeakSpanish() {
    QFETCH(int, which);
    const QString folder = m_folder.path();
    const QString csv = m_folder.filePath(QStringLiteral("lista.csv"));
    QStringList texts;
    QString date;
    ModalCatcher<QFileDialog> catcher([&](QFileDialog& d) {
      // The list is read by a thread of Qt's; its rows come a moment later.
      if (which != 4) QTRY_VERIFY(!CellOf(d, QStringLiteral("anexo.csv"), 0).isEmpty());
      if (which != 4) date = CellOf(d, QStringLiteral("anexo.csv"), 3);
      texts = VisibleTexts(d);
      KeepPicture(d, QStringLiteral("file-%1").arg(which));
    });
    const std::function<void()> open[] = {
        [&] { AskDeclarationFile(&Frame(), folder, QStringLiteral("Buscar Archivo")); },
        [&] { AskAnnexImportFile(&Frame(), folder); }, [&] { AskAnnexExportFile(&Frame(), csv); },
        [&] { AskRegisterExportFile(&Frame(), csv); }, [&] { AskFolder(&Frame(), folder); }};
    open[which]();
    QVERIFY(catcher.caught());
    QVERIFY2(Foreign(texts).isEmpty(), qPrintable(Foreign(texts).join(QStringLiteral(" | "))));
    if (which != 4) {
      QCOMPARE(date,
               QLocale(QLocale::Spanish).toString(m_modified, QStringLiteral("d MMM yyyy H:mm")));
      QVERIFY2(date.contains(QStringLiteral("dic")), qPrintable(date));
    }
  }

  void printAndPageSetupDialogsSpeakSpanish() {
    QStringList texts;
    bool propertiesSeen = false;
    ModalCatcher<QPrintDialog> catcher([&](QPrintDialog& d) {
      // The options (pages, copies, double-sided printing) open as the user
      // opens them, so the picture shows them.
      for (auto* button : d.findChildren<QAbstractButton*>()) {
        if (button->text().endsWith(QLatin1String(">>"))) button->click();
      }
      texts = VisibleTexts(d);
      KeepPicture(d, QStringLiteral("print"));
      // The printer's properties (paper, layout) open from their button.
      for (auto* button : d.findChildren<QAbstractButton*>()) {
        if (button->objectName() != QLatin1String("properties") || !button->isEnabled()) continue;
        QTimer::singleShot(0, [&] {
          QTRY_VERIFY(QApplication::activeModalWidget() != &d);
          auto* properties = qobject_cast<QDialog*>(QApplication::activeModalWidget());
          QVERIFY(properties != nullptr);
          texts << VisibleTexts(*properties);
          KeepPicture(*properties, QStringLiteral("print-properties"));
          propertiesSeen = true;
          properties->reject();
        });
        button->click();
      }
    });
    QPrinter printer;
    AskPrinter(&Frame(), printer, QDir::home().filePath(QStringLiteral("Formulario7301.pdf")));
    QVERIFY(catcher.caught());
    QVERIFY(propertiesSeen);
    QVERIFY2(Foreign(texts).isEmpty(), qPrintable(Foreign(texts).join(QStringLiteral(" | "))));
  }

  void messageBoxButtonsSpeakSpanish() {
    QStringList texts;
    ModalCatcher<QMessageBox> catcher([&](QMessageBox& box) { texts = VisibleTexts(box); });
    ShowMessage(&Frame(), PromptKind::AppMessage, QStringLiteral("Error 1"),
                QStringLiteral("Formulario7301"));
    QVERIFY(catcher.caught());
    QVERIFY(texts.contains(QStringLiteral("Aceptar")));
    QVERIFY2(Foreign(texts).isEmpty(), qPrintable(Foreign(texts).join(QStringLiteral(" | "))));
  }

 private:
  QTemporaryDir m_folder;
  QDateTime m_modified;
};

F7301_APP_TEST(DialogWordsTest);

}  // namespace f7301::test

#include "dialog_words_test.moc"
