#pragma once
// The user's answers for generating, saving and reopening declarations: the
// program's real dialogs and message boxes, and the view's browser page.
#include "declaration/user_prompts.h"

namespace f7301 {

class CFormularioView;

class CQtUserPrompts : public UserPrompts {
 public:
  explicit CQtUserPrompts(CFormularioView& view) : m_view(view) {}

  std::optional<std::string> ChooseDestinationDirectory(const std::string& proposal) override;
  std::optional<std::string> ChooseDeclarationFile() override;
  // The same dialog under another caption (UTF-8), for another command.
  std::optional<std::string> ChooseDeclarationFile(const char* caption);
  void ShowAppMessage(const std::string& text) override;
  void ShowViewMessage(const std::string& text, const std::string& caption) override;
  void ShowGeneratedPage(const std::string& page) override;

 private:
  CFormularioView& m_view;
};

}  // namespace f7301
