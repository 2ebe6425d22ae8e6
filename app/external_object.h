#pragma once
// The page's window.external: the form script calls
// window.external.GeneraArchivo(xml, formNumber, html, nit) when "Validar"
// accepts the form. The call reaches this object through a QWebChannel; the
// four strings are handed on as Windows-1252 bytes, the encoding of stored
// declarations, or refused when the declaration would not be stored whole.
#include <QByteArray>
#include <QObject>
#include <QString>
#include <QWebEngineScript>

namespace f7301 {

class CExternalObject : public QObject {
  Q_OBJECT

 public:
  explicit CExternalObject(QObject* parent = nullptr);

  // Name under which the channel publishes this object.
  static constexpr const char* kChannelName = "formulario7301";

  // Runs in every page before its own scripts: defines
  // window.external.GeneraArchivo and keeps calls made before the channel is
  // connected until it is.
  static QWebEngineScript InjectedScript();

 public slots:
  void GeneraArchivo(const QString& xml, const QString& formNumber, const QString& html,
                     const QString& nit);

 signals:
  void generaArchivo(const QByteArray& xml, const QByteArray& formNumber, const QByteArray& html,
                     const QByteArray& nit);
  // The XML, the form number or the NIT held a character that Windows-1252
  // cannot hold; nothing was handed on.
  void generaArchivoRefused();
};

}  // namespace f7301
