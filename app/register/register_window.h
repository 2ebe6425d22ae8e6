#pragma once
// "Declaraciones": the register of the declaration files found in the
// register's folders, with what can be done from each. Not modal: the form
// stays usable while it is open, and the folders are read off the window's
// thread.
#include <QDialog>
#include <memory>

#include "app/register/register_source.h"

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableView;

namespace f7301 {

class CNitCheck;
class CRegisterFilter;
class CRegisterModel;
class CRegisterScan;

enum class RegisterAction { Consultar, Modificar, Rectificar, MesSiguiente, AbrirCarpeta };
inline constexpr int kRegisterActionCount = 5;

class CRegisterWindow : public QDialog {
  Q_OBJECT

 public:
  explicit CRegisterWindow(QWidget* parent = nullptr);
  ~CRegisterWindow() override;

  // Shows the window (or brings it forward) with the focus in the filter box,
  // and reads the folders again.
  void Open();

  // A declaration file written or opened by the form: it is in the register
  // from now on, wherever it is.
  void NoteDeclarationFile(const QString& path);

  // Reads the folders again (also F5).
  void Rescan();

  // The file of the row selected; empty when none is, or it has none.
  QString SelectedFile() const;

  CRegisterModel& model() const { return *m_model; }
  CRegisterFilter& filter() const { return *m_filter; }
  QTableView* table() const { return m_table; }
  QLineEdit* filterEdit() const { return m_filterEdit; }
  QComboBox* yearChoice() const { return m_yearChoice; }
  QCheckBox* onlyWithAvisos() const { return m_onlyAvisos; }
  QComboBox* folderChoice() const { return m_folderChoice; }
  QLabel* countsLine() const { return m_counts; }
  QLabel* statusLine() const { return m_status; }
  QProgressBar* progressBar() const { return m_progress; }
  QPushButton* cancelButton() const { return m_cancel; }
  QPushButton* button(RegisterAction action) const;
  QPushButton* exportButton() const { return m_export; }
  QPushButton* addFolderButton() const { return m_addFolder; }
  QPushButton* removeFolderButton() const { return m_removeFolder; }
  bool scanning() const;

 signals:
  // What the form does with the file of the row selected.
  void consultarRequested(const QString& path);
  void modificarRequested(const QString& path);
  void rectificarRequested(const QString& path);
  void nextMonthRequested(const QString& path);
  // A scan has ended and its rows are in the list (or it was cancelled).
  void scanEnded();

 protected:
  void hideEvent(QHideEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QLayout* MakeSearchRow();
  QLayout* MakeActionRow();
  QLayout* MakeFolderRow();
  QLayout* MakeProgressRow();
  void MakeTable();
  void SetColumnWidths();
  void FitNameColumn();

  void OnScanEnded(std::shared_ptr<CatalogResult> result);
  void ShowScanResult(CatalogResult& result, bool nitsChecked);
  void OnProgress(qulonglong done, qulonglong total);
  void ShowScanning(bool scanning);
  void SetStatus(const QString& text, const QString& details = {});
  void RefreshYears();
  void RefreshCounts();
  void RefreshActions();
  void RefreshFolders();
  void ShowContextMenu(const QPoint& where);
  void Run(RegisterAction action);
  void RectifyInForce(int sourceRow);
  void SelectSourceRow(int sourceRow);
  void ExportList();
  void AddFolder();
  void RemoveFolder();
  void Cancel();

  CRegisterModel* m_model;
  CRegisterFilter* m_filter;
  CRegisterScan* m_scan;
  CNitCheck* m_nitCheck;
  QTableView* m_table = nullptr;
  QLineEdit* m_filterEdit = nullptr;
  QComboBox* m_yearChoice = nullptr;
  QCheckBox* m_onlyAvisos = nullptr;
  QComboBox* m_folderChoice = nullptr;
  QLabel* m_counts = nullptr;
  QLabel* m_status = nullptr;
  QProgressBar* m_progress = nullptr;
  QPushButton* m_cancel = nullptr;
  QPushButton* m_buttons[kRegisterActionCount] = {};
  QAction* m_actions[kRegisterActionCount] = {};
  QPushButton* m_export = nullptr;
  QAction* m_exportAction = nullptr;
  QPushButton* m_addFolder = nullptr;
  QPushButton* m_removeFolder = nullptr;
  int m_nameColumnWidth = 0;  // for the sample name; the names found may need more
  bool m_stale = true;        // the list does not show the folders as they are
  bool m_cancelled = false;
  // Counts the scans asked for: the NITs' answer for one that another has
  // replaced is not shown.
  int m_scanNumber = 0;
  bool m_checkingNits = false;  // a scan's rows wait for the NITs' check
};

}  // namespace f7301
