#pragma once
// The program's one document. It holds no data: the form's values live in the
// browser page, a reopened declaration in the view's field store. It only
// carries the title shown in the window caption.
#include <QString>

namespace f7301 {

class CFormularioDoc {
 public:
  // Title of a new document.
  static constexpr const char* kDefaultTitle = "Velaro Vedav";

  // Nuevo: no path, the default title. Never fails.
  bool OnNewDocument();

  // A path from the command line: the file must open for reading; nothing is
  // read from it. The document then takes the file's name as its title.
  bool OnOpenDocument(const QString& path);

  const QString& title() const { return m_title; }
  const QString& path() const { return m_path; }

 private:
  QString m_title = QString::fromLatin1(kDefaultTitle);
  QString m_path;
};

}  // namespace f7301
