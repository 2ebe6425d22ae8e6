#pragma once
// The program speaks Spanish whatever the desktop's language: Qt's own
// dialogs and buttons (qtbase), the browser's context menu (qtwebengine) and
// the browser engine itself (its error pages, navigator.language and the
// Accept-Language it sends) all follow the locale set here.
class QCoreApplication;

namespace f7301 {

// The language of everything the program shows (a BCP 47 tag).
inline constexpr const char* kProgramLanguage = "es";

// Makes Spanish the default locale and installs Qt's Spanish translations
// (Debian's qt6-translations-l10n) into `app`, then the program's own words
// for the texts of Qt's dialogs that those leave in English or word as in
// Spain ("fichero"). Must run before the first
// browser profile exists: the engine takes its language from the default
// locale when it starts. Returns how many of the two translations were found;
// a missing one leaves its texts in English and the program runs on.
int UseSpanishEverywhere(QCoreApplication& app);

}  // namespace f7301
