#include "tests/app/register_fixture.h"

#include <sys/stat.h>

#include <QDate>
#include <QDir>
#include <QFile>

#include "declaration/seal.h"
#include "formpage/field_model.h"

namespace f7301::test {
namespace {

using testing::SampleDeclaration;

const char* const kMissing = "Sin declaración";

struct Taxpayer {
  const char* nit;
  const char* name;
  const char* folder;
};

// Shortest NIT first, as the register orders them.
const Taxpayer kBeta{"19", "DISTRIBUIDORA BETA", "copias"};
const Taxpayer kGama{"140", "COMBUSTIBLES GAMA", "uno/dos/tres/cuatro"};
const Taxpayer kAlfa{"12345679", "ESTACION ALFA", "12345679/7301"};

QString Two(int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); }

FixtureDeclaration Declaration(const Taxpayer& t, int year, int month, int number,
                               const char* state) {
  FixtureDeclaration d;
  d.folder = QString::fromLatin1(t.folder);
  d.content.nit = t.nit;
  d.content.nombre = t.name;
  d.content.numero = QStringLiteral("%1").arg(number, 8, 10, QLatin1Char('0')).toStdString();
  const QString ym = QString::number(year) + Two(month);
  d.content.desde = (ym + QStringLiteral("01")).toStdString();
  d.content.hasta = (ym + QString::number(QDate(year, month, 1).daysInMonth())).toStdString();
  d.content.fecpre = (QStringLiteral("10/") + Two(month % 12 + 1) + QLatin1Char('/') +
                      QString::number(month == 12 ? year + 1 : year))
                         .toStdString();
  d.content.boxes[kTotalToPayBox] = QStringLiteral("%1.50").arg(number * 10).toStdString();
  // Each product closes the month with its own balance, and opens it with
  // the closing balance of the month before.
  const auto balance = [](int y, int m, int row) {
    return QStringLiteral("%1.%2").arg(y % 100 * 1000 + m * 10 + row).arg(Two(row)).toStdString();
  };
  for (int row = 1; row <= kProductRowCount; ++row) {
    d.content.boxes[GridBox(row, kGridColumnCount)] = balance(year, month, row);
    d.content.boxes[GridBox(row, 1)] =
        month == 1 ? balance(year - 1, 12, row) : balance(year, month - 1, row);
  }
  d.period = Two(month) + QLatin1Char('/') + QString::number(year);
  d.state = QString::fromUtf8(state);
  return d;
}

FixtureDeclaration MissingMonth(const Taxpayer& t, int year, int month) {
  FixtureDeclaration d = Declaration(t, year, month, 0, kMissing);
  d.folder.clear();
  return d;
}

// "RTQ-" + NIT + "7301" + the period's YYMM + the form number.
QString FileName(const std::string& nit, const std::string& yymm, const std::string& number) {
  return QString::fromStdString("RTQ-" + nit + "7301" + yymm + number);
}

QString FileName(const SampleDeclaration& d) {
  return FileName(d.nit, d.desde.substr(2, 4), d.numero);
}

bool WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QString Cell(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

RegisterFixture::RegisterFixture() {
  // Beta: a month rectified (the original stays, the rectification in force).
  m_declarations.push_back(Declaration(kBeta, 2023, 10, 1, "Vigente"));
  m_declarations.push_back(Declaration(kBeta, 2023, 11, 2, "Rectificada"));
  FixtureDeclaration rectification = Declaration(kBeta, 2023, 11, 5, "Vigente");
  rectification.content.boxes[kRectifiedBox] = "730100000002";
  rectification.content.annex = {{"19", "10.00", "DIESEL"}, {"140", "2.50", "DIESEL"}};
  m_declarations.push_back(rectification);
  m_declarations.push_back(Declaration(kBeta, 2023, 12, 3, "Vigente"));
  // Gama: two months, in a folder four levels down.
  m_declarations.push_back(Declaration(kGama, 2024, 1, 10, "Vigente"));
  m_declarations.push_back(Declaration(kGama, 2024, 2, 11, "Vigente"));
  // Alfa: fourteen months, June 2023 missing.
  for (int i = 0; i < 14; ++i) {
    const int year = 2023 + i / 12;
    const int month = i % 12 + 1;
    m_declarations.push_back(month == 6 && year == 2023
                                 ? MissingMonth(kAlfa, year, month)
                                 : Declaration(kAlfa, year, month, 100 + i, "Vigente"));
  }
  for (const FixtureDeclaration& d : m_declarations) {
    if (d.folder.isEmpty()) continue;
    std::string sealed;
    m_ok = m_ok && SealDeclaration(testing::DeclarationXml(d.content), sealed) && Write(d, sealed);
  }

  // Named as declarations, but none reads as one: an altered seal, a FIFO,
  // and a well sealed text that is not a declaration. A file of another name
  // is not the register's at all.
  const QDir copias(root() + QStringLiteral("/copias"));
  std::string sealed;
  m_ok = m_ok && SealDeclaration(testing::DeclarationXml(m_declarations[0].content), sealed);
  sealed[sealed.size() / 2] = sealed[sealed.size() / 2] == 'A' ? 'B' : 'A';
  const QString altered = copias.filePath(FileName("19", "2310", "00000091"));
  m_ok = m_ok && WriteBytes(altered, QByteArray::fromStdString(sealed));
  const QString fifo = copias.filePath(FileName("19", "2310", "00000092"));
  m_ok = m_ok && ::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0;
  std::string other;
  m_ok = m_ok && SealDeclaration("<OTRO>no es una declaracion</OTRO>", other);
  const QString notDeclaration = copias.filePath(FileName("19", "2310", "00000093"));
  m_ok = m_ok && WriteBytes(notDeclaration, QByteArray::fromStdString(other));
  m_ok = m_ok && WriteBytes(copias.filePath(QStringLiteral("notas.txt")), "RTQ-1973012310");
  m_unreadable = {altered, fifo, notDeclaration};
}

bool RegisterFixture::Write(const FixtureDeclaration& d, const std::string& sealed) {
  const QDir folder(root() + QLatin1Char('/') + d.folder);
  return QDir().mkpath(folder.path()) &&
         WriteBytes(folder.filePath(FileName(d.content)), QByteArray::fromStdString(sealed));
}

QString RegisterFixture::FileOf(const QString& nit, const QString& number) const {
  for (const FixtureDeclaration& d : m_declarations) {
    if (!d.folder.isEmpty() && Cell(d.content.nit) == nit && Cell(d.content.numero) == number) {
      return root() + QLatin1Char('/') + d.folder + QLatin1Char('/') + FileName(d.content);
    }
  }
  return {};
}

QStringList RegisterFixture::ExpectedLines() const {
  QStringList lines{QStringLiteral(
      "NIT;Nombre;Periodo;Formulario;Rectifica;Total a pagar;Renglones del anexo;Generada;Estado;"
      "Avisos;Archivo")};
  for (const FixtureDeclaration& d : m_declarations) {
    const SampleDeclaration& c = d.content;
    QStringList cells{Cell(c.nit), Cell(c.nombre), d.period};
    if (d.folder.isEmpty()) {
      cells << QString() << QString() << QString() << QString() << QString() << d.state << QString()
            << QString();
    } else {
      const auto rectifies = c.boxes.find(kRectifiedBox);
      cells << Cell(c.numero) << (rectifies == c.boxes.end() ? QString() : Cell(rectifies->second))
            << Cell(c.boxes.at(kTotalToPayBox)).replace(QLatin1Char('.'), QLatin1Char(','))
            << QString::number(c.annex.size()) << Cell(c.fecpre) << d.state << QString()
            << FileOf(Cell(c.nit), Cell(c.numero));
    }
    lines << cells.join(QLatin1Char(';'));
  }
  for (const QString& path : m_unreadable) {
    lines << QStringLiteral(";;;;;;;;Alterada o ilegible;;") + path;
  }
  return lines;
}

std::vector<QString> RegisterFixture::LatestClosingBalances() const {
  const SampleDeclaration& latest = m_declarations.back().content;
  std::vector<QString> balances;
  for (int row = 1; row <= kProductRowCount; ++row) {
    balances.push_back(Cell(latest.boxes.at(GridBox(row, kGridColumnCount))));
  }
  return balances;
}

}  // namespace f7301::test
