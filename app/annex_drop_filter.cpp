#include "app/annex_drop_filter.h"

#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QWidget>

namespace f7301 {

std::optional<QString> DroppedAnnexFile(const QMimeData& data) {
  if (!data.hasUrls() || data.urls().size() != 1) return std::nullopt;
  const QUrl url = data.urls().constFirst();
  if (!url.isLocalFile()) return std::nullopt;
  const QString suffix = QFileInfo(url.toLocalFile()).suffix().toLower();
  if (suffix != QLatin1String("csv") && suffix != QLatin1String("txt")) return std::nullopt;
  return url.toLocalFile();
}

CAnnexDropFilter::CAnnexDropFilter(QWidget* mainWindow, Accepts accepts, Import import,
                                   QObject* parent)
    : QObject(parent),
      m_mainWindow(mainWindow),
      m_accepts(std::move(accepts)),
      m_import(std::move(import)) {}

bool CAnnexDropFilter::eventFilter(QObject* watched, QEvent* event) {
  const auto type = event->type();
  if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) return false;
  auto* widget = qobject_cast<QWidget*>(watched);
  if (widget == nullptr || widget->window() != m_mainWindow) return false;
  auto* drop = static_cast<QDropEvent*>(event);
  const auto file = drop->mimeData() ? DroppedAnnexFile(*drop->mimeData()) : std::nullopt;
  if (!file || !m_accepts()) return false;
  drop->acceptProposedAction();
  if (type == QEvent::Drop) {
    // After the drop has ended: the import's message box must not run
    // inside the drag and drop of the system.
    QTimer::singleShot(0, this, [this, path = *file] { m_import(path); });
  }
  return true;
}

}  // namespace f7301
