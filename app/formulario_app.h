#pragma once
// The program object: owns the QApplication, starts the program
// (InitInstance) and owns the one document and its main window.
#include <QApplication>
#include <QStringList>
#include <memory>

namespace f7301 {

class CFormularioDoc;
class CMainFrame;
class CTerminationSignals;

class CFormularioApp {
 public:
  // Registers the res: scheme, then creates the QApplication.
  CFormularioApp(int& argc, char** argv);
  ~CFormularioApp();

  // Start-up: settings, the document and its window, the command line, the
  // window shown maximised. False ends the program.
  bool InitInstance();

  // The command line after the program's name: nothing is a new document; a
  // path is opened for reading. False when that file cannot be opened (the
  // user has been told).
  bool ProcessShellCommand(const QStringList& arguments);

  int Run();

  CMainFrame* mainFrame() const { return m_mainFrame.get(); }
  CFormularioDoc& document() { return *m_document; }

 private:
  void WriteZoneSetting();

  std::unique_ptr<QApplication> m_app;
  std::unique_ptr<CFormularioDoc> m_document;
  std::unique_ptr<CMainFrame> m_mainFrame;
  std::unique_ptr<CTerminationSignals> m_termination;
};

}  // namespace f7301
