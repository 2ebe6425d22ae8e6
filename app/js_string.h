#pragma once
// A text written into a script the program runs in the page.
#include <QString>

namespace f7301 {

// `text` as a script's string literal, quotes and all.
QString JsString(const QString& text);

}  // namespace f7301
