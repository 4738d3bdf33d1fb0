#pragma once
// The toolkit's own texts (the buttons of message boxes, the file dialog) in
// the user's language, from the translations Qt ships (Debian:
// qt6-translations-l10n), so that a Czech session sees "Ano", "Uložit" and
// "Zrušit" in the dialogs beside the program's own Czech.
#include <QLocale>
#include <QString>

class QCoreApplication;

namespace app {

// The name of the toolkit's catalogue ("qtbase"), looked for in Qt's
// translations folder by the locale's languages.
inline constexpr const char* kToolkitCatalogue = "qtbase";

// Installs the toolkit's translation for `locale` into `application`.
// Returns the problem to report: empty when it was installed, or when the
// locale's language needs none (English, C); a message when a Czech session
// finds no Czech catalogue.
QString installToolkitTranslations(QCoreApplication& application, const QLocale& locale = QLocale());

}  // namespace app
