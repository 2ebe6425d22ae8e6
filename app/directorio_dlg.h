#pragma once
// "Directorio Destino": asks where a new declaration file is to be written.
// The edit field starts with m_strDirectorio; OK copies the field back into
// it exactly as typed (no trimming, no existence check: the writer checks).
#include <QDialog>
#include <QString>

class QLineEdit;
class QPushButton;

namespace f7301 {

class CDirectorioDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CDirectorioDlg(QWidget* parent = nullptr);

  // Accepted on OK; Rejected on Cancel, Esc or the close box.
  int DoModal();

  QString m_strDirectorio;

  QLineEdit* edit() const { return m_edit; }
  QPushButton* okButton() const { return m_ok; }
  QPushButton* cancelButton() const { return m_cancel; }
  QPushButton* buscarButton() const { return m_buscar; }

 public slots:
  void done(int result) override;

 protected:
  void showEvent(QShowEvent* event) override;

 private slots:
  void OnBuscar();

 private:
  QLineEdit* m_edit;
  QPushButton* m_ok;
  QPushButton* m_cancel;
  QPushButton* m_buscar;
};

}  // namespace f7301
