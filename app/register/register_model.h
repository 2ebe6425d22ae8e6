#pragma once
// The register's rows as the window's table shows them: one row per row of
// the catalog, in the catalog's order, with the texts of its columns.
// The rows, their states and their order are the core's; this only shows
// them and finds the ones a filter asks for.
#include <QAbstractTableModel>
#include <QString>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/register/register_source.h"

namespace f7301 {

// A path as the register shows it. A folder or file name that is not UTF-8
// (the scan enters folders whatever their names) shows its undecodable bytes
// as U+FFFD instead of stopping the program.
QString RegisterPathText(const std::filesystem::path& path);

class CRegisterModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  // The key a heading click sorts by: numbers for the period, amounts,
  // row counts and dates, the text for the rest.
  static constexpr int kSortRole = Qt::UserRole;

  explicit CRegisterModel(QObject* parent = nullptr);

  void SetRows(std::vector<RegisterRow> rows);
  const std::vector<RegisterRow>& rows() const { return m_rows; }
  const RegisterRow& row(int index) const { return m_rows[static_cast<std::size_t>(index)]; }

  // Whether row `index` matches `foldedText` (as Fold gives it: NIT, name,
  // form number, the number it rectifies or the file's name) and `year`
  // (0: any year; rows of unreadable files have none and show only then),
  // and warns of something when `onlyWithAvisos`.
  bool Matches(int index, std::string_view foldedText, int year, bool onlyWithAvisos) const;

  // The years of the rows, newest first.
  QList<int> Years() const;

  // Lower case without accents, so "estacion" finds "ESTACIÓN".
  static QString Fold(const QString& text);
  // The same of a UTF-8 text of ASCII and U+0080 to U+00FF only, without
  // Unicode normalization; none when it holds another character.
  static std::optional<std::string> FoldLatin(std::string_view utf8);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  static std::string SearchText(const RegisterRow& row);
  QString Text(const RegisterRow& row, RegisterColumn column) const;
  QVariant SortKey(const RegisterRow& row, RegisterColumn column) const;

  std::vector<RegisterRow> m_rows;
  // Folded, in UTF-8, one per row: 12,000 rows are folded at each opening.
  std::vector<std::string> m_searchText;
};

}  // namespace f7301
