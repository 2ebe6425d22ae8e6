#include "tests/app/form_filling.h"

#include <QDate>
#include <QProcess>

#include "tests/app/app_test_support.h"

namespace f7301::test {
namespace {

QString JsString(const QString& text) {
  QString quoted = text;
  quoted.replace(QLatin1Char('\\'), QStringLiteral("\\\\")).replace(QLatin1Char('\''), "\\'");
  return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

}  // namespace

FormEntries DieselDeclaration(int count) {
  FormEntries entries;
  for (int i = 0; i < count; ++i) {
    entries.rows.append({QStringLiteral("19"), QStringLiteral("1.5"), QStringLiteral("DIESEL")});
  }
  entries.boxes[36] = QString::number(1.5 * count, 'f', 2);
  return entries;
}

bool Enter(const QString& name, const QString& value) {
  const QString js = QStringLiteral(
                         "(function () { var f = document.getElementsByName(%1)[0];"
                         "  if (!f) return false;"
                         "  f.value = %2; f.dispatchEvent(new Event('blur')); return true; })()")
                         .arg(JsString(name), JsString(value));
  return RunJs(js).toBool();
}

bool Fill(const FormEntries& entries) {
  const int year = entries.year ? entries.year : QDate::currentDate().year();
  bool ok = Enter("c2", entries.nit) && Enter("c3", entries.name) &&
            Enter("mes_ini", QString::number(entries.month)) &&
            Enter("anio_ini", QString::number(year));
  for (auto it = entries.boxes.begin(); it != entries.boxes.end(); ++it) {
    ok = ok && Enter(QStringLiteral("c%1").arg(it.key()), it.value());
  }
  const int onPage = RunJs("document.getElementById('cuerpo1').rows.length - 1").toInt();
  if (entries.rows.size() > onPage) {
    ok = ok && RunJs(QStringLiteral("document.C.renglones1.value = '%1';"
                                    "document.C.botonanexo1.click(); true")
                         .arg(entries.rows.size() - onPage))
                   .toBool();
  }
  for (int i = 0; i < entries.rows.size() && ok; ++i) {
    const QString row = QStringLiteral("f1%1c").arg(i + 1);
    ok = Enter(row + "1", entries.rows[i].nit) && Enter(row + "2", entries.rows[i].gallons) &&
         Enter(row + "3", entries.rows[i].product);
  }
  return ok;
}

void PressValidar() { RunJs("document.C.validar.click(); true"); }

QString FormNumberField() { return RunJs("document.C.c1.value").toString(); }

std::optional<QByteArray> Unseal(const QString& file) {
  QProcess tool;
  tool.start(QStringLiteral(F7301_DECLARACION_TOOL), {QStringLiteral("unseal"), file});
  if (!tool.waitForFinished(60000) || tool.exitStatus() != QProcess::NormalExit ||
      tool.exitCode() != 0) {
    return std::nullopt;
  }
  return tool.readAllStandardOutput();
}

}  // namespace f7301::test
