#include "app/spanish_locale.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace f7301 {
namespace {

// Qt WebEngine 6 names its context menu's items in the context
// "RenderViewContextMenuQt", but Debian's Spanish catalogue still holds them
// under their earlier names in "QWebEnginePage". This translator looks each
// item up under its earlier name; the two items that had none get the
// program's own words.
class CContextMenuTranslator : public QTranslator {
 public:
  CContextMenuTranslator(const QTranslator& catalogue, QObject* parent)
      : QTranslator(parent), m_catalogue(catalogue) {}

  bool isEmpty() const override { return false; }

  QString translate(const char* context, const char* source, const char* disambiguation,
                    int n) const override {
    if (qstrcmp(context, "RenderViewContextMenuQt") != 0) return {};
    for (const Item& item : kItems) {
      if (qstrcmp(source, item.name) != 0) continue;
      if (item.ownText) return QString::fromUtf8(item.ownText);
      return m_catalogue.translate("QWebEnginePage", item.earlierName, disambiguation, n);
    }
    return {};
  }

 private:
  struct Item {
    const char* name;
    const char* earlierName;
    const char* ownText;
  };
  static constexpr Item kItems[] = {
      {"Back", "Back", nullptr},
      {"Forward", "Forward", nullptr},
      {"Reload", "Reload", nullptr},
      {"Cut", "Cut", nullptr},
      {"Copy", "Copy", nullptr},
      {"Paste", "Paste", nullptr},
      {"Undo", "Undo", nullptr},
      {"Redo", "Redo", nullptr},
      {"Select all", "Select All", nullptr},
      {"Paste and match style", "Paste and Match Style", nullptr},
      {"Open link in new window", "Open Link in New Window", nullptr},
      {"Open link in new tab", "Open Link in New Tab", nullptr},
      {"Copy link address", "Copy Link URL", nullptr},
      {"Save link", "Save Link", nullptr},
      {"Copy image", "Copy Image", nullptr},
      {"Copy image address", "Copy Image URL", nullptr},
      {"Save image", "Save Image", nullptr},
      {"Copy media address", "Copy Media URL", nullptr},
      {"Show controls", "Toggle Media Controls", nullptr},
      {"Loop", "Toggle Looping", nullptr},
      {"Save media", "Save Media", nullptr},
      {"Inspect", "Inspect Element", nullptr},
      {"Exit full screen", "Exit Full Screen Mode", nullptr},
      {"Save page", nullptr, "Guardar página"},
      {"View page source", nullptr, "Ver código fuente"},
  };

  const QTranslator& m_catalogue;
};

}  // namespace

int UseSpanishEverywhere(QCoreApplication& app) {
  const QLocale spanish(QString::fromLatin1(kProgramLanguage));
  QLocale::setDefault(spanish);

  const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  int loaded = 0;
  for (const char* catalogue : {"qtbase", "qtwebengine"}) {
    auto* translator = new QTranslator(&app);
    if (translator->load(spanish, QString::fromLatin1(catalogue), QStringLiteral("_"), folder)) {
      QCoreApplication::installTranslator(translator);
      if (qstrcmp(catalogue, "qtwebengine") == 0) {
        QCoreApplication::installTranslator(new CContextMenuTranslator(*translator, &app));
      }
      ++loaded;
    } else {
      qWarning("Formulario7301: no Spanish translation %s in %s", catalogue, qPrintable(folder));
      delete translator;
    }
  }
  // The program's own words for what Qt's catalogue leaves in English or
  // says as in Spain; installed last, so it is asked first.
  auto* own = new QTranslator(&app);
  if (own->load(QStringLiteral(":/translations/formulario7301_es.qm"))) {
    QCoreApplication::installTranslator(own);
  } else {
    qWarning("Formulario7301: the program's own Spanish translation is missing");
    delete own;
  }
  return loaded;
}

}  // namespace f7301
