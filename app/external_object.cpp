#include "app/external_object.h"

#include <QFile>
#include <optional>

#include "app/page_activity.h"
#include "declaration/cp1252.h"

namespace f7301 {
namespace {

QByteArray FromStd(const std::string& bytes) {
  return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// Accents are composed first, so that an accent Windows-1252 holds is kept
// whoever called. The page refuses what cannot be stored before it calls;
// here nothing is lost silently all the same: a text that cannot be held
// whole is refused.
std::optional<QByteArray> ToCp1252(const QString& text) {
  // Qt writes half a surrogate pair as "?" in UTF-8.
  if (!text.isValidUtf16()) return std::nullopt;
  const auto bytes =
      Utf8ToCp1252Exact(text.normalized(QString::NormalizationForm_C).toUtf8().toStdString());
  if (!bytes) return std::nullopt;
  return FromStd(*bytes);
}

// Half a surrogate pair becomes the replacement character U+FFFD, which the
// copy then shows: Qt would write it as "?".
QString WithoutLoneSurrogates(QString text) {
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
      ++i;
    } else if (text[i].isSurrogate()) {
      text[i] = QChar::ReplacementCharacter;
    }
  }
  return text;
}

// The page copy keeps any character as an HTML character reference.
QByteArray HtmlToCp1252(const QString& html) {
  const QString composed = WithoutLoneSurrogates(html).normalized(QString::NormalizationForm_C);
  return FromStd(Utf8ToCp1252Html(composed.toUtf8().toStdString()));
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
  var handedOver = 0;  // counts the declarations handed to the program
  function GeneraArchivo(xml, formNumber, html, nit) {
    handedOver++;
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
  // The program keeps a draft of the form: it hears of each keystroke (so a
  // box being typed in is kept before it is left), each field left changed
  // and each product chosen, with the field's name and value, which it keeps
  // itself: a message or dialog holding the page does not keep them from
  // the draft. It writes at most once a second however often it hears.
  var activity = null;
  var meanwhile = Object.create(null);
  function changed(event) {
    var field = event.target;
    var name = field && typeof field.name == 'string' ? field.name : '';
    var value = name && typeof field.value == 'string' ? field.value : '';
    if (activity) activity.Changed(name, value, event.type == 'change');
    else meanwhile[name] = value;
  }
  document.addEventListener('change', changed, true);
  document.addEventListener('input', changed, true);
  // A press of "Validar" stopped at a problem when it ends, its message
  // closed, without a declaration handed over. The press is seen on its way
  // down to the button and again on its way back up, after the button's own
  // handler.
  var handedBeforePress = -1;
  var stoppedMeanwhile = false;
  function isValidar(event) {
    return !!event.target && event.target.id === 'validar';
  }
  document.addEventListener('click', function (event) {
    if (isValidar(event)) handedBeforePress = handedOver;
  }, true);
  document.addEventListener('click', function (event) {
    if (!isValidar(event) || handedBeforePress < 0) return;
    var stopped = handedOver === handedBeforePress;
    handedBeforePress = -1;
    if (!stopped) return;
    if (activity) activity.ValidarStopped(); else stoppedMeanwhile = true;
  }, false);
  function connect() {
    if (typeof qt === 'undefined' || !qt.webChannelTransport) {
      setTimeout(connect, 0);
      return;
    }
    new QWebChannel(qt.webChannelTransport, function (channel) {
      target = channel.objects.%2;
      activity = channel.objects.%3 || null;
      if (activity) {
        Object.keys(meanwhile).forEach(function (name) {
          activity.Changed(name, meanwhile[name], false);
        });
        if (stoppedMeanwhile) activity.ValidarStopped();
      }
      stoppedMeanwhile = false;
      meanwhile = Object.create(null);
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
                           .arg(WebChannelLibrary(), QString::fromLatin1(kChannelName),
                                QString::fromLatin1(CPageActivity::kChannelName)));
  return script;
}

void CExternalObject::GeneraArchivo(const QString& xml, const QString& formNumber,
                                    const QString& html, const QString& nit) {
  const auto xmlBytes = ToCp1252(xml);
  const auto formNumberBytes = ToCp1252(formNumber);
  const auto nitBytes = ToCp1252(nit);
  if (!xmlBytes || !formNumberBytes || !nitBytes) {
    emit generaArchivoRefused();
    return;
  }
  emit generaArchivo(*xmlBytes, *formNumberBytes, HtmlToCp1252(html), *nitBytes);
}

}  // namespace f7301
