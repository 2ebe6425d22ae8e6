#include "app/command_texts.h"

#include <QAction>

namespace f7301 {

void SetPrompt(QAction& action, const char* prompt) {
  const QString text = QString::fromUtf8(prompt);
  const auto lineFeed = text.indexOf(QLatin1Char('\n'));
  action.setStatusTip(text.left(lineFeed));
  action.setToolTip(lineFeed < 0 ? QString() : text.mid(lineFeed + 1));
}

}  // namespace f7301
