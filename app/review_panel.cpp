#include "app/review_panel.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QStackedWidget>
#include <QTreeWidget>
#include <algorithm>

#include "app/command_texts.h"
#include "file_review/review_report.h"

namespace f7301 {
namespace {

constexpr int kClassColumn = 0;
constexpr int kWhereColumn = 1;
constexpr int kTextColumn = 2;
constexpr int kFieldRole = Qt::UserRole;

QTreeWidget* NewList(QWidget* parent) {
  auto* list = new QTreeWidget(parent);
  list->setColumnCount(3);
  list->setHeaderLabels(
      {QStringLiteral("Tipo"), QStringLiteral("Dónde"), QStringLiteral("Problema")});
  list->setRootIsDecorated(false);
  list->setUniformRowHeights(true);
  list->setAllColumnsShowFocus(true);
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  list->header()->setStretchLastSection(true);
  list->header()->setSectionResizeMode(kClassColumn, QHeaderView::ResizeToContents);
  list->setColumnWidth(kWhereColumn, 320);
  list->setAccessibleName(QStringLiteral("Problemas del formulario"));
  return list;
}

QTreeWidgetItem* NewItem(const ReviewLine& line) {
  // A message of several lines reads as one line of the list, as the review
  // from the command line prints it; the tooltip keeps its lines.
  const QString oneLine = QString::fromStdString(OneLine(line.text.toStdString()));
  auto* item = new QTreeWidgetItem(
      {line.error ? QStringLiteral("Error") : QStringLiteral("Aviso"), line.where, oneLine});
  item->setData(kClassColumn, kFieldRole, line.field);
  item->setToolTip(kTextColumn, line.text);
  item->setToolTip(kWhereColumn, line.where);
  return item;
}

}  // namespace

QString ReviewTitle(int errors, int avisos) {
  const QString title = QStringLiteral("Revisión");
  const std::string counts = ProblemCounts(errors, avisos);
  return counts.empty() ? title : title + QStringLiteral(": ") + QString::fromStdString(counts);
}

CReviewPanel::CReviewPanel(QWebEnginePage& page, QWidget& view, QWidget* parent)
    : QDockWidget(ReviewTitle(0, 0), parent),
      m_review(new CPageReview(page, this)),
      m_view(view),
      m_body(new QStackedWidget(this)),
      m_list(NewList(m_body)),
      m_note(new QLabel(m_body)) {
  setObjectName(QStringLiteral("reviewPanel"));
  setAccessibleName(windowTitle());
  setAllowedAreas(Qt::BottomDockWidgetArea | Qt::TopDockWidgetArea);
  m_note->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  m_note->setMargin(6);
  m_note->setFocusPolicy(Qt::StrongFocus);  // a screen reader reaches it as it reaches the list
  m_body->addWidget(m_list);
  m_body->addWidget(m_note);
  setWidget(m_body);
  setFocusProxy(m_list);
  SetUpToggle();

  connect(m_review, &CPageReview::reviewed, this, &CReviewPanel::ShowLines);
  connect(m_review, &CPageReview::notReviewable, this,
          [this] { ShowNote(QString::fromUtf8(kNotReviewableText), ReviewTitle(0, 0)); });
  connect(m_review, &CPageReview::pageLeft, this, [this] { ShowNote({}, ReviewTitle(0, 0)); });
  connect(this, &QDockWidget::visibilityChanged, this, [this](bool visible) {
    if (visible) Refresh();
  });
  connect(m_list, &QTreeWidget::itemActivated, this, &CReviewPanel::GoToLine);
  connect(m_list, &QTreeWidget::itemClicked, this, &CReviewPanel::GoToLine);
}

// Ver → Revisión (F7, also with the caret in a box of the form) and the
// toolbar button open the panel with the keyboard in it, and close it with
// the keyboard back in the form.
void CReviewPanel::SetUpToggle() {
  QAction* toggle = toggleViewAction();
  toggle->setText(QStringLiteral("&Revisión"));
  toggle->setShortcut(QKeySequence(Qt::Key_F7));
  toggle->setShortcutContext(Qt::WindowShortcut);
  SetPrompt(*toggle, kPromptRevision);
  connect(toggle, &QAction::triggered, this, [this](bool shown) {
    if (shown) {
      setFocus(Qt::ShortcutFocusReason);
    } else {
      m_view.setFocus(Qt::OtherFocusReason);
    }
  });
}

void CReviewPanel::Refresh() {
  if (!isHidden()) m_review->Request();
}

void CReviewPanel::Open() {
  // Shown, the panel brings itself up to date.
  if (isHidden()) {
    show();
  } else {
    Refresh();
  }
  raise();
}

void CReviewPanel::ShowLines(const QList<ReviewLine>& lines) {
  if (lines.isEmpty()) {
    // The title says it too: it is what a docked panel shows of itself.
    ShowNote(QString::fromUtf8(kNoProblemsText), QString::fromUtf8(kNoProblemsText));
    return;
  }
  const int current = m_list->currentIndex().row();
  const int count = static_cast<int>(lines.size());
  int errors = 0;
  QList<QTreeWidgetItem*> items;
  for (const ReviewLine& line : lines) {
    errors += line.error ? 1 : 0;
    items.append(NewItem(line));
  }
  m_list->clear();
  m_list->addTopLevelItems(items);
  // The line in the place of the one chosen last, so that the keyboard goes
  // on from there once that one is fixed.
  if (current >= 0) m_list->setCurrentItem(items[std::min(current, count - 1)]);
  ShowBody(m_list);
  setWindowTitle(ReviewTitle(errors, count - errors));
  setAccessibleName(windowTitle());
  emit updated();
}

void CReviewPanel::ShowNote(const QString& text, const QString& title) {
  m_list->clear();
  m_note->setText(text);
  m_note->setAccessibleName(text);
  ShowBody(m_note);
  setWindowTitle(title);
  setAccessibleName(title);
  if (!text.isEmpty()) emit updated();
}

// The keyboard stays in the panel when what the panel shows changes.
void CReviewPanel::ShowBody(QWidget* shown) {
  const bool hadFocus = m_body->currentWidget()->hasFocus();
  m_body->setCurrentWidget(shown);
  setFocusProxy(shown);
  if (hadFocus) shown->setFocus();
}

void CReviewPanel::GoToLine(QTreeWidgetItem* item) {
  if (item == nullptr) return;
  m_view.window()->activateWindow();  // the panel may float in a window of its own
  m_view.setFocus(Qt::OtherFocusReason);
  m_review->GoTo(item->data(kClassColumn, kFieldRole).toString());
}

}  // namespace f7301
