#include "app/spanish_file_dialog.h"

#include <QFileDialog>
#include <QFileSystemModel>
#include <QIdentityProxyModel>
#include <QLocale>

namespace f7301 {
namespace {

// The columns of Qt's file list: name, size, type, date modified.
constexpr int kSizeColumn = 1;
constexpr int kDateColumn = 3;

// Day, month's short name and year, as "9 dic 2026 14:05".
const QString kDateFormat = QStringLiteral("d MMM yyyy H:mm");

class CSpanishFileColumns : public QIdentityProxyModel {
 public:
  using QIdentityProxyModel::QIdentityProxyModel;

  QVariant data(const QModelIndex& index, int role) const override {
    const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
    if (files == nullptr || role != Qt::DisplayRole) return QIdentityProxyModel::data(index, role);
    const QModelIndex source = mapToSource(index);
    // The program's locale is the default one, Spanish whatever the desktop says.
    const QLocale spanish;
    if (index.column() == kDateColumn)
      return spanish.toString(files->lastModified(source), kDateFormat);
    if (index.column() == kSizeColumn && !files->isDir(source)) {
      return spanish.formattedDataSize(files->size(source));
    }
    return QIdentityProxyModel::data(index, role);
  }
};

}  // namespace

void WriteDatesInSpanish(QFileDialog& dialog) {
  dialog.setProxyModel(new CSpanishFileColumns(&dialog));
}

}  // namespace f7301
