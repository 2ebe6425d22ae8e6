#pragma once
// The folders of the register's window tests, on a real temporary file
// system: three taxpayers' sealed declarations written as "Validar" names
// them, over fourteen months of one of them with a month missing, one
// rectification, one altered file, a FIFO and a file that is not a
// declaration (both named as declarations), and a file of another kind.
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <vector>

#include "tests/support/sample_declaration.h"

namespace f7301::test {

struct FixtureDeclaration {
  QString folder;  // below the root
  testing::SampleDeclaration content;
  QString period;  // "MM/AAAA"
  QString state;   // as the register shows it
};

class RegisterFixture {
 public:
  RegisterFixture();

  bool ok() const { return m_ok; }
  QString root() const { return m_root.path(); }
  // Path of the declaration of `nit` with form number `number`.
  QString FileOf(const QString& nit, const QString& number) const;

  // The export's lines for the tree as written, header first, without the
  // byte-order mark: what the rules say the register holds.
  QStringList ExpectedLines() const;

  // The closing balances (Saldo Final) of the latest declaration of the
  // taxpayer with fourteen months, by product row.
  std::vector<QString> LatestClosingBalances() const;

  static QString Nit14() { return QStringLiteral("12345679"); }
  static QString NameOf14() { return QStringLiteral("ESTACION ALFA"); }

 private:
  bool Write(const FixtureDeclaration& d, const std::string& sealed);

  QTemporaryDir m_root;
  std::vector<FixtureDeclaration> m_declarations;
  QStringList m_unreadable;  // paths, in the order the register lists them
  bool m_ok = true;
};

}  // namespace f7301::test
