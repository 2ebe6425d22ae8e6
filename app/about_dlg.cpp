#include "app/about_dlg.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace f7301 {

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Acerca de Formulario7301"));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);

  auto* icon = new QLabel(this);
  icon->setPixmap(QApplication::windowIcon().pixmap(32, 32));
  auto* name = new QLabel(QStringLiteral("VelaroLight Formulario7301 Versión 2.2"), this);
  name->setTextFormat(Qt::PlainText);
  auto* line2 = new QLabel(QStringLiteral("Declaración jurada mensual RTQ-7301"), this);
  line2->setTextFormat(Qt::PlainText);
  line2->setAlignment(Qt::AlignCenter);
  auto* ok = new QPushButton(QStringLiteral("Aceptar"), this);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  auto* grid = new QGridLayout(this);
  grid->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
  grid->addWidget(name, 0, 1);
  grid->addWidget(line2, 1, 1);
  grid->addWidget(ok, 0, 2, Qt::AlignTop);
  grid->setHorizontalSpacing(16);
  setFixedSize(sizeHint());
}

}  // namespace f7301
