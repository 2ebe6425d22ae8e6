#pragma once
// A .csv or .txt file dropped anywhere on the main window is imported into
// the annex, as Archivo → Importar anexo would import it. Other drops go on
// to the widget under them.
#include <QObject>
#include <QString>
#include <functional>
#include <optional>

class QMimeData;
class QWidget;

namespace f7301 {

// The one local .csv or .txt file that `data` carries, if it carries exactly one.
std::optional<QString> DroppedAnnexFile(const QMimeData& data);

class CAnnexDropFilter : public QObject {
  Q_OBJECT

 public:
  using Accepts = std::function<bool()>;
  using Import = std::function<void(const QString& path)>;

  // Watches drops on `mainWindow` and the widgets inside it; `accepts` says
  // whether the form on screen takes an annex now.
  CAnnexDropFilter(QWidget* mainWindow, Accepts accepts, Import import, QObject* parent = nullptr);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* m_mainWindow;
  Accepts m_accepts;
  Import m_import;
};

}  // namespace f7301
