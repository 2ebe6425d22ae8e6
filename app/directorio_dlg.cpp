#include "app/directorio_dlg.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/dialog_folders.h"
#include "app/modal_prompts.h"

namespace f7301 {

CDirectorioDlg::CDirectorioDlg(QWidget* parent)
    : QDialog(parent),
      m_edit(new QLineEdit(this)),
      m_ok(new QPushButton(QStringLiteral("OK"), this)),
      m_cancel(new QPushButton(QStringLiteral("Cancel"), this)),
      m_buscar(new QPushButton(QStringLiteral("Buscar"), this)) {
  setWindowTitle(QStringLiteral("Directorio Destino"));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);

  auto* prompt =
      new QLabel(QStringLiteral("Ingrese el path del directorio donde se creara el archivo"), this);
  prompt->setAlignment(Qt::AlignCenter);
  prompt->setTextFormat(Qt::PlainText);
  m_edit->setMinimumWidth(380);

  auto* grid = new QGridLayout(this);
  grid->addWidget(prompt, 0, 0, 1, 2);
  grid->addWidget(m_edit, 1, 0);
  grid->addWidget(m_buscar, 1, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(m_ok);
  buttons->addSpacing(40);
  buttons->addWidget(m_cancel);
  buttons->addStretch(1);
  grid->addLayout(buttons, 2, 0, 1, 2);

  m_ok->setDefault(true);
  m_ok->setAutoDefault(true);
  setTabOrder(m_ok, m_cancel);
  setTabOrder(m_cancel, m_buscar);
  setTabOrder(m_buscar, m_edit);

  connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(m_buscar, &QPushButton::clicked, this, &CDirectorioDlg::OnBuscar);
}

int CDirectorioDlg::DoModal() { return exec(); }

void CDirectorioDlg::showEvent(QShowEvent* event) {
  m_edit->setText(m_strDirectorio);
  m_ok->setFocus();
  QDialog::showEvent(event);
}

void CDirectorioDlg::done(int result) {
  // Only OK takes the field's text; any other ending keeps the member.
  if (result == QDialog::Accepted) m_strDirectorio = m_edit->text();
  QDialog::done(result);
}

void CDirectorioDlg::OnBuscar() {
  // The chooser starts at the folder the field names, or the closest one
  // above it that exists.
  const auto folder = AskFolder(this, NearestExistingFolder(m_edit->text()));
  if (folder && !folder->isEmpty()) m_edit->setText(*folder);
}

}  // namespace f7301
