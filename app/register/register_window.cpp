#include "app/register/register_window.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QTableView>
#include <QUrl>
#include <QVBoxLayout>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "app/dialog_folders.h"
#include "app/modal_prompts.h"
#include "app/register/nit_check.h"
#include "app/register/register_filter.h"
#include "app/register/register_folders.h"
#include "app/register/register_model.h"
#include "app/register/register_scan.h"

namespace f7301 {
namespace {

constexpr const char* kCaption = "Declaraciones";
constexpr const char* kNotAllWalked =
    "La búsqueda no recorrió todas las carpetas: no se muestran los meses sin declaración.";
constexpr const char* kNitsNotChecked =
    "No se pudo revisar el dígito verificador de los NIT: la columna Avisos no lo indica.";

struct ActionText {
  const char* label;
  const char* accessible;
};

const ActionText kActionTexts[kRegisterActionCount] = {
    {"&Consultar", "Consultar la declaración seleccionada"},
    {"&Modificar", "Modificar la declaración seleccionada"},
    {"&Rectificar", "Rectificar la declaración seleccionada"},
    {"Mes &siguiente", "Nueva declaración del mes siguiente a la seleccionada"},
    {"&Abrir carpeta", "Abrir la carpeta del archivo seleccionado"},
};

std::filesystem::path ToPath(const QString& path) {
  return std::filesystem::path(path.toStdU16String());
}

// Which rows an action applies to: Consultar also to a file that does not
// read (it tells why), the rest only to a declaration that reads.
bool Applies(RegisterAction action, FilingState state) {
  if (state == FilingState::kSinDeclaracion) return false;
  if (action == RegisterAction::Consultar || action == RegisterAction::AbrirCarpeta) return true;
  return state != FilingState::kAlterada;
}

QPushButton* NamedButton(const QString& text, const QString& accessible, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setAccessibleName(accessible);
  return button;
}

// The scan's threads read thousands of files, each thread in a heap arena of
// its own; what they freed stays with the process unless given back.
void ReleaseFreedMemory() {
#ifdef __GLIBC__
  malloc_trim(0);
#endif
}

}  // namespace

CRegisterWindow::CRegisterWindow(QWidget* parent)
    : QDialog(parent),
      m_model(new CRegisterModel(this)),
      m_filter(new CRegisterFilter(*m_model, this)),
      m_scan(new CRegisterScan(this)),
      m_nitCheck(new CNitCheck(this)) {
  setWindowTitle(QString::fromLatin1(kCaption));
  setAccessibleName(QString::fromLatin1(kCaption));
  setModal(false);
  setWindowFlag(Qt::WindowMaximizeButtonHint);
  setSizeGripEnabled(true);
  resize(1200, 600);

  MakeTable();
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(MakeSearchRow());
  layout->addWidget(m_table, 1);
  layout->addLayout(MakeProgressRow());
  layout->addWidget(m_status);
  layout->addLayout(MakeActionRow());
  layout->addLayout(MakeFolderRow());

  connect(m_scan, &CRegisterScan::progress, this, &CRegisterWindow::OnProgress);
  connect(m_scan, &CRegisterScan::finished, this, &CRegisterWindow::OnScanEnded);
  connect(m_filterEdit, &QLineEdit::textChanged, this, [this](const QString& text) {
    m_filter->SetText(text);
    RefreshCounts();
    RefreshActions();
  });
  connect(m_yearChoice, &QComboBox::currentIndexChanged, this, [this] {
    m_filter->SetYear(m_yearChoice->currentData().toInt());
    RefreshCounts();
    RefreshActions();
  });
  auto* rescan = new QShortcut(QKeySequence(Qt::Key_F5), this);
  connect(rescan, &QShortcut::activated, this, &CRegisterWindow::Rescan);
  ShowScanning(false);
  RefreshFolders();
  RefreshCounts();
  RefreshActions();
}

CRegisterWindow::~CRegisterWindow() = default;

void CRegisterWindow::MakeTable() {
  m_table = new QTableView(this);
  m_table->setAccessibleName(QString::fromLatin1(kCaption));
  m_table->setModel(m_filter);
  m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_table->setSelectionMode(QAbstractItemView::SingleSelection);
  m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_table->setTabKeyNavigation(false);
  m_table->setAlternatingRowColors(true);
  m_table->setWordWrap(false);
  m_table->setContextMenuPolicy(Qt::CustomContextMenu);
  m_table->verticalHeader()->hide();
  // Every row one line high: no row is measured, however many there are.
  m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 6);
  QHeaderView* heading = m_table->horizontalHeader();
  heading->setSectionsClickable(true);
  heading->setSortIndicatorClearable(true);  // a third click gives back the register's order
  heading->setSortIndicator(-1, Qt::AscendingOrder);
  // The path takes the room left and loses its middle, not the file's name
  // at its end, when that is not enough; the name column fits the names.
  heading->setStretchLastSection(true);
  m_table->setTextElideMode(Qt::ElideMiddle);
  m_table->installEventFilter(this);
  m_table->setSortingEnabled(true);
  SetColumnWidths();
  connect(m_table, &QTableView::doubleClicked, this, [this] { Run(RegisterAction::Consultar); });
  connect(m_table, &QWidget::customContextMenuRequested, this, &CRegisterWindow::ShowContextMenu);
  connect(m_table->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          &CRegisterWindow::RefreshActions);
  connect(m_filter, &QAbstractItemModel::modelReset, this, &CRegisterWindow::RefreshActions);
}

// Widths from the texts each column holds, not from measuring every row.
void CRegisterWindow::SetColumnWidths() {
  const QFontMetrics metrics = m_table->fontMetrics();
  const char* const samples[kRegisterColumnCount] = {
      "9999999999-9",
      "DISTRIBUIDORA DE COMBUSTIBLES",
      "00/0000 ",
      "99999999 ",
      "730199999999 ",
      "999999999.00",
      "Renglones del anexo",
      "00/00/0000 ",
      "Alterada o ilegible",
      "Saldo inicial distinto del saldo final",
      "",  // Archivo takes the room left
  };
  for (int c = 0; c < kRegisterColumnCount; ++c) {
    const QString heading = m_model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
    const int width = std::max(metrics.horizontalAdvance(QString::fromLatin1(samples[c])),
                               metrics.horizontalAdvance(heading));
    m_table->setColumnWidth(c, width + 24);
  }
  m_nameColumnWidth = m_table->columnWidth(static_cast<int>(RegisterColumn::Nombre));
}

// The longest name by its characters is measured, not every row; at most
// half the list's width, so that the path keeps room.
void CRegisterWindow::FitNameColumn() {
  const std::string* longest = nullptr;
  for (const RegisterRow& row : m_model->rows()) {
    if (!longest || row.summary.name.size() > longest->size()) longest = &row.summary.name;
  }
  if (!longest) return;
  const int column = static_cast<int>(RegisterColumn::Nombre);
  const int wanted =
      m_table->fontMetrics().horizontalAdvance(QString::fromStdString(*longest)) + 24;
  const int widest = m_table->viewport()->width() / 2;
  m_table->setColumnWidth(column, std::max(std::min(wanted, widest), m_nameColumnWidth));
}

QLayout* CRegisterWindow::MakeSearchRow() {
  auto* row = new QHBoxLayout;
  m_filterEdit = new QLineEdit(this);
  m_filterEdit->setAccessibleName(QStringLiteral("Buscar por NIT, nombre o número"));
  m_filterEdit->setPlaceholderText(QStringLiteral("NIT, nombre o número de formulario"));
  m_filterEdit->setClearButtonEnabled(true);
  m_filterEdit->installEventFilter(this);
  auto* search = new QLabel(QStringLiteral("&Buscar:"), this);
  search->setBuddy(m_filterEdit);
  m_yearChoice = new QComboBox(this);
  m_yearChoice->setAccessibleName(QStringLiteral("Año del periodo"));
  m_yearChoice->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  auto* year = new QLabel(QStringLiteral("Añ&o:"), this);
  year->setBuddy(m_yearChoice);
  m_onlyAvisos = new QCheckBox(QStringLiteral("Solo con a&visos"), this);
  m_onlyAvisos->setAccessibleName(QStringLiteral("Mostrar solo las filas con avisos"));
  connect(m_onlyAvisos, &QCheckBox::toggled, this, [this](bool only) {
    m_filter->SetOnlyWithAvisos(only);
    RefreshCounts();
    RefreshActions();
  });
  row->addWidget(search);
  row->addWidget(m_filterEdit, 1);
  row->addWidget(year);
  row->addWidget(m_yearChoice);
  row->addWidget(m_onlyAvisos);
  return row;
}

QLayout* CRegisterWindow::MakeProgressRow() {
  auto* row = new QHBoxLayout;
  m_counts = new QLabel(this);
  m_counts->setAccessibleName(QStringLiteral("Resumen de la lista"));
  m_progress = new QProgressBar(this);
  m_progress->setAccessibleName(QStringLiteral("Progreso de la búsqueda de declaraciones"));
  m_cancel = NamedButton(QStringLiteral("Cancelar"),
                         QStringLiteral("Cancelar la búsqueda de declaraciones"), this);
  m_cancel->setAutoDefault(false);
  connect(m_cancel, &QPushButton::clicked, this, &CRegisterWindow::Cancel);
  m_status = new QLabel(this);
  m_status->setAccessibleName(QStringLiteral("Avisos de la búsqueda"));
  m_status->setTextFormat(Qt::PlainText);  // paths and reasons come from the disk
  m_status->setWordWrap(false);
  m_status->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  m_status->hide();
  row->addWidget(m_counts, 1);
  row->addWidget(m_progress);
  row->addWidget(m_cancel);
  return row;
}

QLayout* CRegisterWindow::MakeActionRow() {
  auto* row = new QHBoxLayout;
  for (int i = 0; i < kRegisterActionCount; ++i) {
    const auto action = static_cast<RegisterAction>(i);
    const QString label = QString::fromUtf8(kActionTexts[i].label);
    m_buttons[i] = NamedButton(label, QString::fromUtf8(kActionTexts[i].accessible), this);
    m_actions[i] = new QAction(label, this);
    connect(m_buttons[i], &QPushButton::clicked, this, [this, action] { Run(action); });
    connect(m_actions[i], &QAction::triggered, this, [this, action] { Run(action); });
    row->addWidget(m_buttons[i]);
  }
  // Enter, wherever the focus is but on another button, is Consultar.
  m_buttons[static_cast<int>(RegisterAction::Consultar)]->setDefault(true);
  row->addStretch(1);
  m_export = NamedButton(QStringLiteral("&Exportar lista..."),
                         QStringLiteral("Exportar la lista mostrada a un archivo CSV"), this);
  m_exportAction = new QAction(m_export->text(), this);
  connect(m_export, &QPushButton::clicked, this, &CRegisterWindow::ExportList);
  connect(m_exportAction, &QAction::triggered, this, &CRegisterWindow::ExportList);
  row->addWidget(m_export);
  return row;
}

QLayout* CRegisterWindow::MakeFolderRow() {
  auto* row = new QHBoxLayout;
  m_folderChoice = new QComboBox(this);
  m_folderChoice->setAccessibleName(QStringLiteral("Carpetas del registro"));
  m_folderChoice->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  m_folderChoice->setMinimumContentsLength(30);
  auto* folders = new QLabel(QStringLiteral("Car&petas:"), this);
  folders->setBuddy(m_folderChoice);
  m_addFolder = NamedButton(QStringLiteral("Agregar carpeta..."),
                            QStringLiteral("Agregar una carpeta al registro"), this);
  m_removeFolder = NamedButton(QStringLiteral("Quitar carpeta"),
                               QStringLiteral("Quitar del registro la carpeta mostrada"), this);
  connect(m_addFolder, &QPushButton::clicked, this, &CRegisterWindow::AddFolder);
  connect(m_removeFolder, &QPushButton::clicked, this, &CRegisterWindow::RemoveFolder);
  row->addWidget(folders);
  row->addWidget(m_folderChoice, 1);
  row->addWidget(m_addFolder);
  row->addWidget(m_removeFolder);
  return row;
}

QPushButton* CRegisterWindow::button(RegisterAction action) const {
  return m_buttons[static_cast<int>(action)];
}

bool CRegisterWindow::scanning() const { return m_scan->running() || m_checkingNits; }

void CRegisterWindow::Open() {
  show();
  raise();
  activateWindow();
  m_filterEdit->setFocus(Qt::ActiveWindowFocusReason);
  m_filterEdit->selectAll();
  m_table->horizontalScrollBar()->setValue(0);  // the NIT in view
  Rescan();
}

void CRegisterWindow::NoteDeclarationFile(const QString& path) {
  RememberRegisterFile(path);
  m_stale = true;
  if (isVisible()) Rescan();
}

void CRegisterWindow::Rescan() {
  CatalogRequest request;
  for (const QString& folder : RegisterFolders()) request.folders.push_back(ToPath(folder));
  for (const QString& file : RegisterExtraFiles()) request.extraFiles.push_back(ToPath(file));
  request.cacheDir = DefaultRegisterCacheDir();
  ++m_scanNumber;
  m_checkingNits = false;
  m_nitCheck->Prepare();  // loads while the folders are read
  m_cancelled = false;
  SetStatus({});
  ShowScanning(true);
  m_scan->Start(std::move(request));
}

void CRegisterWindow::Cancel() {
  if (m_checkingNits) {
    ++m_scanNumber;  // its rows are not shown
    m_checkingNits = false;
    ShowScanning(false);
    SetStatus(QStringLiteral("Búsqueda cancelada: la lista puede no estar completa."));
    emit scanEnded();
  }
  if (!m_scan->running()) return;
  m_cancelled = true;
  m_scan->Cancel();
}

// Closing the window stops the scan; the next opening reads the folders again.
void CRegisterWindow::hideEvent(QHideEvent* event) {
  Cancel();
  QDialog::hideEvent(event);
}

void CRegisterWindow::OnProgress(qulonglong done, qulonglong total) {
  if (total == 0) {
    m_progress->setRange(0, 0);  // still walking the folders
    return;
  }
  m_progress->setRange(0, static_cast<int>(std::min<qulonglong>(total, INT_MAX)));
  m_progress->setValue(static_cast<int>(std::min(done, total)));
}

void CRegisterWindow::ShowScanning(bool scanning) {
  m_progress->setVisible(scanning);
  m_cancel->setVisible(scanning);
  if (scanning) m_progress->setRange(0, 0);
}

void CRegisterWindow::OnScanEnded(std::shared_ptr<CatalogResult> result) {
  if (result->cancelled || m_cancelled) {
    ShowScanning(false);
    SetStatus(QStringLiteral("Búsqueda cancelada: la lista puede no estar completa."));
    emit scanEnded();
    return;
  }
  // The rows are shown with the avisos of their NITs' check characters, which
  // the form's scripts tell: at once for NITs seen before.
  m_checkingNits = true;
  const int scan = m_scanNumber;
  m_nitCheck->Check(DeclaredNits(result->rows), [this, scan, result](auto wrong) {
    if (scan != m_scanNumber || !m_checkingNits) return;
    m_checkingNits = false;
    if (wrong) AddCheckDigitAvisos(result->rows, *wrong);
    ShowScanResult(*result, wrong.has_value());
  });
}

void CRegisterWindow::ShowScanResult(CatalogResult& result, bool nitsChecked) {
  ShowScanning(false);
  const QString selected = SelectedFile();
  m_model->SetRows(std::move(result.rows));
  FitNameColumn();
  ReleaseFreedMemory();
  m_stale = false;
  RefreshYears();
  RefreshCounts();
  // The same file stays selected across a new reading of the folders.
  if (!selected.isEmpty()) {
    for (int i = 0; i < m_filter->rowCount(); ++i) {
      const QModelIndex index = m_filter->index(i, static_cast<int>(RegisterColumn::Archivo));
      if (index.data().toString() == selected) {
        m_table->setCurrentIndex(index.siblingAtColumn(0));
        break;
      }
    }
  }
  RefreshActions();
  // Each problem once, in the status line: never a box per folder.
  QStringList problems;
  for (const std::string& problem : result.folderProblems) {
    problems << QString::fromUtf8(problem.data(), static_cast<qsizetype>(problem.size()));
  }
  if (!result.cacheProblem.empty()) problems << QString::fromUtf8(result.cacheProblem);
  if (!nitsChecked) problems << QString::fromUtf8(kNitsNotChecked);
  if (!problems.isEmpty()) {
    QString text = problems.constFirst();
    if (problems.size() > 1) text += QStringLiteral(" (y %1 avisos más)").arg(problems.size() - 1);
    // Months not found in folders not walked may be filed: the user is told
    // why none is listed as missing, before what stopped the walk.
    if (!result.complete) {
      text.prepend(QString::fromUtf8(kNotAllWalked) + QLatin1Char(' '));
      problems.prepend(QString::fromUtf8(kNotAllWalked));
    }
    SetStatus(text, problems.join(QLatin1Char('\n')));
  }
  emit scanEnded();
}

// The status line takes room only while it has something to say.
void CRegisterWindow::SetStatus(const QString& text, const QString& details) {
  m_status->setText(text);
  m_status->setToolTip(details.isEmpty() ? text : details);
  m_status->setVisible(!text.isEmpty());
}

void CRegisterWindow::RefreshYears() {
  const int chosen = m_yearChoice->currentData().toInt();
  const QSignalBlocker quiet(m_yearChoice);
  m_yearChoice->clear();
  m_yearChoice->addItem(QStringLiteral("Todos"), 0);
  for (int year : m_model->Years()) m_yearChoice->addItem(QString::number(year), year);
  const int at = m_yearChoice->findData(chosen);
  m_yearChoice->setCurrentIndex(at < 0 ? 0 : at);
  m_filter->SetYear(m_yearChoice->currentData().toInt());
}

void CRegisterWindow::RefreshCounts() { m_counts->setText(RegisterCountsText(m_filter->Counts())); }

void CRegisterWindow::RefreshActions() {
  const QModelIndex current = m_table->currentIndex();
  const bool selected = current.isValid();
  const FilingState state = selected ? m_model->row(m_filter->mapToSource(current).row()).state
                                     : FilingState::kSinDeclaracion;
  for (int i = 0; i < kRegisterActionCount; ++i) {
    const bool on = selected && Applies(static_cast<RegisterAction>(i), state);
    m_buttons[i]->setEnabled(on);
    m_actions[i]->setEnabled(on);
  }
  const bool any = m_filter->rowCount() > 0;
  m_export->setEnabled(any);
  m_exportAction->setEnabled(any);
}

void CRegisterWindow::RefreshFolders() {
  m_folderChoice->clear();
  for (const QString& folder : RegisterFolders()) {
    m_folderChoice->addItem(QDir::toNativeSeparators(folder), folder);
  }
  m_removeFolder->setEnabled(m_folderChoice->count() > 0);
}

QString CRegisterWindow::SelectedFile() const {
  const QModelIndex current = m_table->currentIndex();
  if (!current.isValid()) return {};
  const RegisterRow& row = m_model->row(m_filter->mapToSource(current).row());
  if (row.state == FilingState::kSinDeclaracion) return {};
  return RegisterPathText(row.file);
}

void CRegisterWindow::ShowContextMenu(const QPoint& where) {
  const QModelIndex index = m_table->indexAt(where);
  if (index.isValid()) m_table->setCurrentIndex(index);
  QMenu menu(this);
  for (QAction* action : m_actions) menu.addAction(action);
  menu.addSeparator();
  menu.addAction(m_exportAction);
  menu.exec(m_table->viewport()->mapToGlobal(where));
}

void CRegisterWindow::Run(RegisterAction action) {
  const QModelIndex current = m_table->currentIndex();
  if (!current.isValid()) return;
  const RegisterRow& row = m_model->row(m_filter->mapToSource(current).row());
  if (!Applies(action, row.state)) return;
  if (action == RegisterAction::Rectificar && row.state == FilingState::kRectificada) {
    return RectifyInForce(m_filter->mapToSource(current).row());
  }
  const QString path = RegisterPathText(row.file);
  // The program names files by text: a name that is not UTF-8 does not
  // come back to the same file, and the user is told why.
  if (ToPath(path) != row.file) {
    SetStatus(
        QStringLiteral("No puede abrirse: el nombre de la carpeta o del archivo tiene "
                       "caracteres que el programa no puede usar. Cámbielo y busque de nuevo."),
        QDir::toNativeSeparators(path));
    return;
  }
  switch (action) {
    case RegisterAction::Consultar:
      return emit consultarRequested(path);
    case RegisterAction::Modificar:
      return emit modificarRequested(path);
    case RegisterAction::Rectificar:
      return emit rectificarRequested(path);
    case RegisterAction::MesSiguiente:
      return emit nextMonthRequested(path);
    case RegisterAction::AbrirCarpeta: {
      const QString folder = QFileInfo(path).absolutePath();
      if (!QDesktopServices::openUrl(QUrl::fromLocalFile(folder))) {
        SetStatus(
            QStringLiteral("No pudo abrirse la carpeta %1.").arg(QDir::toNativeSeparators(folder)));
      }
      return;
    }
  }
}

// A declaration already rectified is not rectified again: the correction
// goes to the one in force of its month, if the user wants it.
void CRegisterWindow::RectifyInForce(int sourceRow) {
  const std::optional<std::size_t> inForce =
      InForceRow(m_model->rows(), static_cast<std::size_t>(sourceRow));
  if (!inForce) return;
  const RegisterRow& row = m_model->rows()[*inForce];
  const QString question =
      QStringLiteral(
          "Esta declaración ya fue rectificada. ¿Desea rectificar la declaración vigente del "
          "mismo periodo (formulario %1)?")
          .arg(QString::fromUtf8(row.summary.formNumber));
  if (!AskYesNo(this, question, QString::fromLatin1(kCaption))) return;
  SelectSourceRow(static_cast<int>(*inForce));
  Run(RegisterAction::Rectificar);
}

void CRegisterWindow::SelectSourceRow(int sourceRow) {
  const QModelIndex index = m_filter->mapFromSource(m_model->index(sourceRow, 0));
  if (index.isValid()) {
    m_table->setCurrentIndex(index);
    return;
  }
  // Hidden by the filter: the list shows everything again to show it.
  m_filterEdit->clear();
  m_yearChoice->setCurrentIndex(0);
  m_onlyAvisos->setChecked(false);
  m_table->setCurrentIndex(m_filter->mapFromSource(m_model->index(sourceRow, 0)));
}

void CRegisterWindow::ExportList() {
  if (m_filter->rowCount() == 0) return;
  const auto path = AskRegisterExportFile(
      this, QDir(ProposedDestination()).filePath(QStringLiteral("declaraciones.csv")));
  if (!path) return;
  std::vector<RegisterRow> shown;
  for (int source : m_filter->SourceRowsShown()) shown.push_back(m_model->row(source));
  const QString name = QDir::toNativeSeparators(*path);
  if (WriteRegisterCsv(ToPath(*path), shown) == ReplaceResult::kReplaced) {
    const QString rows =
        shown.size() == 1 ? QStringLiteral("1 fila") : QStringLiteral("%1 filas").arg(shown.size());
    ShowMessage(this, PromptKind::ViewMessage,
                QStringLiteral("Se exportaron %1 de la lista al archivo %2.").arg(rows, name),
                QString::fromLatin1(kCaption));
  } else {
    ShowMessage(this, PromptKind::ViewMessage,
                QStringLiteral("Error:\nNo pudo escribirse el archivo %1.").arg(name),
                QString::fromLatin1(kCaption));
  }
}

void CRegisterWindow::AddFolder() {
  const QString start = m_folderChoice->currentData().toString();
  const auto folder = AskFolder(this, start.isEmpty() ? ProposedDestination() : start);
  if (!folder) return;
  QStringList folders = RegisterFolders();
  folders.append(*folder);
  SetRegisterFolders(folders);
  RefreshFolders();
  const int at = m_folderChoice->findData(QDir::cleanPath(QFileInfo(*folder).absoluteFilePath()));
  if (at >= 0) m_folderChoice->setCurrentIndex(at);
  Rescan();
}

void CRegisterWindow::RemoveFolder() {
  const QString folder = m_folderChoice->currentData().toString();
  if (folder.isEmpty()) return;
  QStringList folders = RegisterFolders();
  folders.removeAll(folder);
  SetRegisterFolders(folders);
  RefreshFolders();
  Rescan();
}

// Down in the filter box goes into the list, at its first row when no row
// is current yet.
bool CRegisterWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_table && event->type() == QEvent::KeyPress && m_filter->rowCount() > 0) {
    // Home and End go to the first and the last row, not along the row.
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Home || key == Qt::Key_End) {
      const int column = std::max(m_table->currentIndex().column(), 0);
      m_table->setCurrentIndex(
          m_filter->index(key == Qt::Key_Home ? 0 : m_filter->rowCount() - 1, column));
      return true;
    }
  }
  if (watched == m_filterEdit && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Down && m_filter->rowCount() > 0) {
    m_table->setFocus(Qt::TabFocusReason);
    if (!m_table->currentIndex().isValid()) m_table->setCurrentIndex(m_filter->index(0, 0));
    m_table->selectRow(m_table->currentIndex().row());
    m_table->scrollTo(m_table->currentIndex().siblingAtColumn(0));
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace f7301
