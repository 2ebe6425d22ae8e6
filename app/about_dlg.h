#pragma once
// "Acerca de Formulario7301": the program's name and version.
#include <QDialog>

namespace f7301 {

class CAboutDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CAboutDlg(QWidget* parent = nullptr);
};

}  // namespace f7301
