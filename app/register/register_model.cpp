#include "app/register/register_model.h"

#include <QBrush>
#include <QFont>
#include <algorithm>
#include <array>
#include <optional>

#include "declaration/cp1252.h"
#include "declaration/declaration_paths.h"
#include "register/declaration_file_name.h"
#include "register/filing_avisos.h"

namespace f7301 {
namespace {

const char* const kHeadings[kRegisterColumnCount] = {
    "NIT",           "Nombre o razón social", "Periodo",  "Formulario", "Rectifica",
    "Total a pagar", "Renglones del anexo",   "Generada", "Estado",     "Avisos",
    "Archivo",
};

// Rows that warn of something stand out from the rest of the list.
const QColor kAvisoBackground(255, 236, 179);

QString FromUtf8(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

bool HasSummary(const RegisterRow& row) { return row.state != FilingState::kAlterada; }

bool HasFile(const RegisterRow& row) { return row.state != FilingState::kSinDeclaracion; }

// "dd/mm/aaaa" as a number that sorts by date; 0 when it is not one.
int DateKey(const std::string& date) {
  if (date.size() != 10 || date[2] != '/' || date[5] != '/') return 0;
  const QString text = FromUtf8(date);
  return text.mid(6, 4).toInt() * 10000 + text.mid(3, 2).toInt() * 100 + text.left(2).toInt();
}

}  // namespace

QString RegisterPathText(const std::filesystem::path& path) {
  return FromUtf8(WithReplacementCharacters(PathToUtf8(path)));
}

CRegisterModel::CRegisterModel(QObject* parent) : QAbstractTableModel(parent) {}

QString CRegisterModel::Fold(const QString& text) {
  // Most texts are plain ASCII: no accents to take off.
  const bool ascii =
      std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
  if (ascii) return text.toLower();
  const QString decomposed = text.normalized(QString::NormalizationForm_D);
  QString folded;
  folded.reserve(decomposed.size());
  for (const QChar c : decomposed) {
    if (c.category() != QChar::Mark_NonSpacing) folded.append(c);
  }
  return folded.toCaseFolded();
}

void CRegisterModel::SetRows(std::vector<RegisterRow> rows) {
  beginResetModel();
  m_rows = std::move(rows);
  m_searchText.clear();
  m_searchText.reserve(m_rows.size());
  for (const RegisterRow& row : m_rows) m_searchText.push_back(SearchText(row));
  endResetModel();
}

namespace {

// What Fold gives each character from U+0080 to U+00FF, in UTF-8.
const std::array<std::string, 128>& LatinFolds() {
  static const std::array<std::string, 128> folds = [] {
    std::array<std::string, 128> table;
    for (char16_t c = 0x80; c <= 0xFF; ++c) {
      table[c - 0x80] = CRegisterModel::Fold(QString(QChar(c))).toStdString();
    }
    return table;
  }();
  return folds;
}

}  // namespace

std::optional<std::string> CRegisterModel::FoldLatin(std::string_view utf8) {
  const std::array<std::string, 128>& latin = LatinFolds();
  std::string folded;
  folded.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto byte = static_cast<unsigned char>(utf8[i]);
    if (byte < 0x80) {
      folded += byte >= 'A' && byte <= 'Z' ? static_cast<char>(byte - 'A' + 'a') : utf8[i];
      continue;
    }
    const auto next = i + 1 < utf8.size() ? static_cast<unsigned char>(utf8[i + 1]) : 0u;
    if ((byte != 0xC2 && byte != 0xC3) || (next & 0xC0) != 0x80) return std::nullopt;
    folded += latin[(((byte & 0x03u) << 6) | (next & 0x3Fu)) - 0x80];
    ++i;
  }
  return folded;
}

// NIT, name, form number, the number rectified and the file's name, one per
// line, folded. Their characters are nearly always those of Windows-1252's
// Latin letters, and each folds on its own then, with no normalization of
// the whole text through UTF-16: 12,000 rows are folded at each opening.
std::string CRegisterModel::SearchText(const RegisterRow& row) {
  const DeclarationSummary& s = row.summary;
  std::string text;
  text.reserve(s.nit.size() + s.name.size() + s.formNumber.size() + s.rectifies.size() + 48);
  for (const std::string* part : {&s.nit, &s.name, &s.formNumber}) {
    text += *part;
    text += '\n';
  }
  text += s.rectifies;
  if (HasFile(row)) text += '\n' + FileNameText(row.file);
  if (std::optional<std::string> folded = FoldLatin(text)) return std::move(*folded);
  text.resize(text.size() - (HasFile(row) ? FileNameText(row.file).size() + 1 : 0));
  QString shown = FromUtf8(text);
  if (HasFile(row)) shown += QLatin1Char('\n') + RegisterPathText(row.file.filename());
  return Fold(shown).toStdString();
}

bool CRegisterModel::Matches(int index, std::string_view foldedText, int year,
                             bool onlyWithAvisos) const {
  const auto i = static_cast<std::size_t>(index);
  if (onlyWithAvisos && m_rows[i].avisos.empty()) return false;
  if (year != 0 && (!HasSummary(m_rows[i]) || m_rows[i].summary.year != year)) return false;
  return foldedText.empty() || m_searchText[i].find(foldedText) != std::string::npos;
}

QList<int> CRegisterModel::Years() const {
  QList<int> years;
  for (const RegisterRow& row : m_rows) {
    if (HasSummary(row) && !years.contains(row.summary.year)) years.append(row.summary.year);
  }
  std::sort(years.begin(), years.end(), std::greater<>());
  return years;
}

int CRegisterModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int CRegisterModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kRegisterColumnCount;
}

QString CRegisterModel::Text(const RegisterRow& row, RegisterColumn column) const {
  return FromUtf8(RegisterCellText(row, column));
}

QVariant CRegisterModel::SortKey(const RegisterRow& row, RegisterColumn column) const {
  const DeclarationSummary& s = row.summary;
  switch (column) {
    case RegisterColumn::Periodo:
      return HasSummary(row) ? s.year * 100 + s.month : 0;
    case RegisterColumn::TotalAPagar:
      return FromUtf8(s.totalToPay).toDouble();
    case RegisterColumn::RenglonesAnexo:
      return s.annexRows;
    case RegisterColumn::Generada:
      return DateKey(s.generated);
    default:
      return Text(row, column);
  }
}

QVariant CRegisterModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const RegisterRow& r = row(index.row());
  const auto column = static_cast<RegisterColumn>(index.column());
  switch (role) {
    case Qt::DisplayRole:
      return Text(r, column);
    case kSortRole:
      return SortKey(r, column);
    case Qt::ToolTipRole:
      // Why a file could not be read; the full path where a column is narrow.
      if (column == RegisterColumn::Estado && !r.reason.empty()) return FromUtf8(r.reason);
      if (column == RegisterColumn::Avisos && !r.avisos.empty()) {
        return FromUtf8(r.avisos).replace(QString::fromLatin1(kAvisoSeparator),
                                          QStringLiteral("\n"));
      }
      if (column == RegisterColumn::Archivo || column == RegisterColumn::Nombre) {
        return Text(r, column);
      }
      return {};
    case Qt::TextAlignmentRole:
      if (column == RegisterColumn::TotalAPagar || column == RegisterColumn::RenglonesAnexo) {
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
      }
      return {};
    case Qt::FontRole:
      if (r.state == FilingState::kSinDeclaracion) {
        QFont font;
        font.setItalic(true);
        return font;
      }
      return {};
    case Qt::ForegroundRole:
      if (r.state == FilingState::kAlterada) return QBrush(Qt::darkRed);
      if (!r.avisos.empty()) return QBrush(Qt::black);  // readable on the marked background
      return {};
    case Qt::BackgroundRole:
      if (!r.avisos.empty()) return QBrush(kAvisoBackground);
      return {};
    default:
      return {};
  }
}

QVariant CRegisterModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  if (section < 0 || section >= kRegisterColumnCount) return {};
  return QString::fromUtf8(kHeadings[section]);
}

}  // namespace f7301
