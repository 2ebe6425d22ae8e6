#include "app/register/register_filter.h"

#include "app/register/register_model.h"

namespace f7301 {

CRegisterFilter::CRegisterFilter(CRegisterModel& model, QObject* parent)
    : QSortFilterProxyModel(parent), m_model(model) {
  setSourceModel(&model);
  setSortRole(CRegisterModel::kSortRole);
}

void CRegisterFilter::SetText(const QString& text) {
  const std::string folded = CRegisterModel::Fold(text.trimmed()).toStdString();
  if (folded == m_foldedText) return;
  m_foldedText = folded;
  invalidateRowsFilter();
}

void CRegisterFilter::SetYear(int year) {
  if (year == m_year) return;
  m_year = year;
  invalidateRowsFilter();
}

void CRegisterFilter::SetOnlyWithAvisos(bool only) {
  if (only == m_onlyWithAvisos) return;
  m_onlyWithAvisos = only;
  invalidateRowsFilter();
}

bool CRegisterFilter::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const {
  return !sourceParent.isValid() &&
         m_model.Matches(sourceRow, m_foldedText, m_year, m_onlyWithAvisos);
}

std::vector<int> CRegisterFilter::SourceRowsShown() const {
  std::vector<int> rows;
  const int count = rowCount();
  rows.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) rows.push_back(mapToSource(index(i, 0)).row());
  return rows;
}

RegisterCounts CRegisterFilter::Counts() const {
  CRegisterCounter counter;
  for (int source : SourceRowsShown()) counter.Add(m_model.row(source));
  return counter.Counts();
}

QString RegisterCountsText(const RegisterCounts& c) {
  auto counted = [](std::size_t n, const char* one, const char* many) {
    return QStringLiteral("%1 %2").arg(n).arg(QString::fromUtf8(n == 1 ? one : many));
  };
  // Copies, unreadable files and avisos are named only when there are some.
  auto some = [&](std::size_t n, const char* one, const char* many) {
    return n == 0 ? QString() : QStringLiteral(", ") + counted(n, one, many);
  };
  return counted(c.declarations, "declaración", "declaraciones") + QStringLiteral(" de ") +
         counted(c.taxpayers, "contribuyente", "contribuyentes") + QStringLiteral(", ") +
         counted(c.missingMonths, "mes sin declaración", "meses sin declaración") +
         some(c.copies, "copia", "copias") +
         some(c.unreadable, "archivo alterado o ilegible", "archivos alterados o ilegibles") +
         some(c.withAvisos, "con avisos", "con avisos");
}

}  // namespace f7301
