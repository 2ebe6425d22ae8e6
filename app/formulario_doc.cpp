#include "app/formulario_doc.h"

#include <QFile>
#include <QFileInfo>

namespace f7301 {

bool CFormularioDoc::OnNewDocument() {
  m_path.clear();
  m_title = QString::fromLatin1(kDefaultTitle);
  return true;
}

bool CFormularioDoc::OnOpenDocument(const QString& path) {
  QFile file(path);
  if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly)) return false;
  m_path = QFileInfo(path).absoluteFilePath();
  m_title = QFileInfo(path).fileName();
  return true;
}

}  // namespace f7301
