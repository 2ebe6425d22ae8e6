#pragma once
// The rows the register window shows: those that match the filter box and the
// year chosen, sorted as the heading clicked asks (the catalog's own order
// until one is clicked).
#include <QSortFilterProxyModel>
#include <string>
#include <vector>

#include "app/register/register_source.h"

namespace f7301 {

class CRegisterModel;

class CRegisterFilter : public QSortFilterProxyModel {
  Q_OBJECT

 public:
  explicit CRegisterFilter(CRegisterModel& model, QObject* parent = nullptr);

  void SetText(const QString& text);
  // 0: every year.
  void SetYear(int year);
  void SetOnlyWithAvisos(bool only);

  // The core's counts of the rows shown.
  RegisterCounts Counts() const;

  // The source rows shown, in the order shown.
  std::vector<int> SourceRowsShown() const;

 protected:
  bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

 private:
  CRegisterModel& m_model;
  std::string m_foldedText;  // UTF-8, as CRegisterModel::Fold gives it
  int m_year = 0;
  bool m_onlyWithAvisos = false;
};

// "12 declaraciones de 3 contribuyentes, 1 mes sin declaración" and the like.
QString RegisterCountsText(const RegisterCounts& counts);

}  // namespace f7301
