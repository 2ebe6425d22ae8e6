#pragma once
// Fills the form on screen as a user does: each value typed into its field
// and the field left (its checks and the totals run), annex rows asked for
// with the page's own button, and "Validar" pressed. Also reads a sealed
// declaration back with the support tool.
#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>

namespace f7301::test {

struct AnnexRow {
  QString nit;
  QString gallons;
  QString product;
};

struct FormEntries {
  QString nit = QStringLiteral("19");
  QString name = QStringLiteral("Estación Ñandú");
  int month = 1;
  int year = 0;  // 0: the current year
  QMap<int, QString> boxes;
  QList<AnnexRow> rows;
};

// `count` DIESEL rows of 1.50 gallons each for buyers with NIT 19, and the
// diesel exempt sales box (36) that matches them.
FormEntries DieselDeclaration(int count);

// Types `value` into the field `name` and leaves it.
bool Enter(const QString& name, const QString& value);

// Fills the blank (or editable) form on screen with `entries`.
bool Fill(const FormEntries& entries);

// Presses "Validar".
void PressValidar();

// The page's form number field (c1).
QString FormNumberField();

// `declaracion unseal FILE`: the declaration XML, or nothing on failure.
std::optional<QByteArray> Unseal(const QString& file);

}  // namespace f7301::test
