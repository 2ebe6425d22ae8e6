#include "app/external_object.h"

#include <QFile>

#include "declaration/cp1252.h"

namespace f7301 {
namespace {

QByteArray ToCp1252(const QString& text) {
  const std::string bytes = Utf8ToCp1252(text.toUtf8().toStdString());
  return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// Calls wait in `pending` until the channel reports the program's object.
// The arguments are taken as strings at once, as a host object receiving
// string parameters would.
const char* const kBridgeScript = R"JS(
(function () {
%1
  var pending = [];
  var target = null;
  function deliver(args) {
    target.GeneraArchivo(args[0], args[1], args[2], args[3]);
  }
  function GeneraArchivo(xml, formNumber, html, nit) {
    var args = [xml, formNumber, html, nit].map(function (v) {
      return v === undefined || v === null ? '' : String(v);
    });
    if (target) deliver(args); else pending.push(args);
  }
  var external = window.external;
  try {
    Object.defineProperty(external, 'GeneraArchivo',
                          {value: GeneraArchivo, writable: false, configurable: false});
  } catch (e) {
    external = null;
  }
  if (!external || external.GeneraArchivo !== GeneraArchivo) {
    Object.defineProperty(window, 'external',
                          {value: {GeneraArchivo: GeneraArchivo}, configurable: false});
  }
  function connect() {
    if (typeof qt === 'undefined' || !qt.webChannelTransport) {
      setTimeout(connect, 0);
      return;
    }
    new QWebChannel(qt.webChannelTransport, function (channel) {
      target = channel.objects.%2;
      var queued = pending;
      pending = [];
      queued.forEach(deliver);
    });
  }
  connect();
})();
)JS";

QString WebChannelLibrary() {
  QFile file(QStringLiteral(":/qtwebchannel/qwebchannel.js"));
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(file.readAll());
}

}  // namespace

CExternalObject::CExternalObject(QObject* parent) : QObject(parent) {}

QWebEngineScript CExternalObject::InjectedScript() {
  QWebEngineScript script;
  script.setName(QStringLiteral("formulario7301-external"));
  script.setInjectionPoint(QWebEngineScript::DocumentCreation);
  script.setWorldId(QWebEngineScript::MainWorld);
  script.setRunsOnSubFrames(false);
  // The channel library sits inside the function, out of the page's globals.
  script.setSourceCode(QString::fromLatin1(kBridgeScript)
                           .arg(WebChannelLibrary(), QString::fromLatin1(kChannelName)));
  return script;
}

void CExternalObject::GeneraArchivo(const QString& xml, const QString& formNumber,
                                    const QString& html, const QString& nit) {
  emit generaArchivo(ToCp1252(xml), ToCp1252(formNumber), ToCp1252(html), ToCp1252(nit));
}

}  // namespace f7301
