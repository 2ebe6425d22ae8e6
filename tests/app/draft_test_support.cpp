#include "tests/app/draft_test_support.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

#include "tests/app/app_test_support.h"

namespace f7301::test {

QString DraftFolder() {
  return QDir(QString::fromLocal8Bit(qgetenv("XDG_DATA_HOME"))).filePath("Formulario7301");
}

QStringList DraftFiles() {
  return QDir(DraftFolder())
      .entryList({QStringLiteral("borrador-*.json")}, QDir::Files, QDir::Name);
}

std::optional<Draft> ReadDraft(const QString& file) {
  QFile in(QDir(DraftFolder()).filePath(file));
  if (!in.open(QIODevice::ReadOnly)) return std::nullopt;
  const DraftReading reading = ParseDraft(in.readAll().toStdString());
  if (reading.problem != DraftProblem::kNone) return std::nullopt;
  return reading.draft;
}

QString DraftValue(const Draft& draft, const QString& field) {
  const QJsonObject page = QJsonDocument::fromJson(QByteArray::fromStdString(draft.page)).object();
  return page.value("campos").toObject().value(field).toString();
}

namespace {

// `text` as a script's string literal.
QString JsQuote(const QString& text) {
  const QByteArray list = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
  return QString::fromUtf8(list.mid(1, list.size() - 2));
}

}  // namespace

bool Type(const QString& name, const QString& value) {
  const QString js = QStringLiteral(
                         "(function (f, value) { if (!f) return false;"
                         "  f.value = value;"
                         "  f.dispatchEvent(new Event('input', {bubbles: true}));"
                         "  f.dispatchEvent(new Event('change', {bubbles: true}));"
                         "  f.dispatchEvent(new Event('blur')); return true;"
                         "})(document.getElementsByName(%1)[0], %2)")
                         .arg(JsQuote(name), JsQuote(value));
  return RunJs(js).toBool();
}

bool FillTyped(const FormEntries& entries) {
  const int year = entries.year ? entries.year : QDate::currentDate().year();
  bool ok = Type("c2", entries.nit) && Type("c3", entries.name) &&
            Type("mes_ini", QString::number(entries.month)) &&
            Type("anio_ini", QString::number(year));
  for (auto it = entries.boxes.begin(); it != entries.boxes.end(); ++it) {
    ok = ok && Type(QStringLiteral("c%1").arg(it.key()), it.value());
  }
  const int onPage = RunJs("document.getElementById('cuerpo1').rows.length - 1").toInt();
  if (entries.rows.size() > onPage) {
    ok = ok && Type("renglones1", QString::number(entries.rows.size() - onPage)) &&
         RunJs("document.C.botonanexo1.click(); true").toBool();
  }
  for (int i = 0; i < entries.rows.size() && ok; ++i) {
    const QString row = QStringLiteral("f1%1c").arg(i + 1);
    const AnnexRow& r = entries.rows[i];
    ok = (r.nit.isEmpty() || Type(row + "1", r.nit)) &&
         (r.gallons.isEmpty() || Type(row + "2", r.gallons)) &&
         (r.product.isEmpty() || Type(row + "3", r.product));
  }
  return ok;
}

bool Validate(const QString& dir) {
  PromptScript prompts;
  prompts.Answer(PromptKind::DestinationDirectory, dir);
  PressValidar();
  return QTest::qWaitFor([&] { return prompts.CountOf(PromptKind::ViewMessage) == 1; }, 60000) &&
         prompts.CountOf(PromptKind::ScriptAlert) == 0 &&
         prompts.TextsOf(PromptKind::ViewMessage).first().startsWith("Sr. Contribuyente");
}

}  // namespace f7301::test
