#include "app/qt_user_prompts.h"

#include <QFileInfo>
#include <QString>

#include "app/dialog_folders.h"
#include "app/formulario_view.h"
#include "app/modal_prompts.h"

namespace f7301 {
namespace {

std::optional<std::string> ToUtf8(const std::optional<QString>& text) {
  if (!text) return std::nullopt;
  return text->toUtf8().toStdString();
}

QString FromUtf8(const std::string& text) { return QString::fromUtf8(text); }

}  // namespace

std::optional<std::string> CQtUserPrompts::ChooseDestinationDirectory(const std::string& proposal) {
  const std::optional<QString> chosen =
      AskDestinationDirectory(m_view.window(), FromUtf8(proposal));
  // The register of declarations looks there too.
  if (chosen && QFileInfo(*chosen).isDir()) RememberChosenDestination(*chosen);
  return ToUtf8(chosen);
}

std::optional<std::string> CQtUserPrompts::ChooseDeclarationFile() {
  return ChooseDeclarationFile(kDeclarationFileCaption);
}

std::optional<std::string> CQtUserPrompts::ChooseDeclarationFile(const char* caption) {
  const QString startFolder = LastDeclarationFolder(ProposedDestination());
  const std::optional<QString> chosen =
      AskDeclarationFile(m_view.window(), startFolder, QString::fromUtf8(caption));
  if (chosen && QFileInfo(*chosen).isFile()) RememberDeclarationFolder(*chosen);
  return ToUtf8(chosen);
}

void CQtUserPrompts::ShowAppMessage(const std::string& text) {
  ShowMessage(m_view.window(), PromptKind::AppMessage, FromUtf8(text),
              QString::fromLatin1(kAppTitle));
}

void CQtUserPrompts::ShowViewMessage(const std::string& text, const std::string& caption) {
  ShowMessage(m_view.window(), PromptKind::ViewMessage, FromUtf8(text), FromUtf8(caption));
}

void CQtUserPrompts::ShowGeneratedPage(const std::string& page) { m_view.ShowGeneratedPage(page); }

}  // namespace f7301
