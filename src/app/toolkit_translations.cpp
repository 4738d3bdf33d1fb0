#include "app/toolkit_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace app {

QString installToolkitTranslations(QCoreApplication& application, const QLocale& locale) {
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    auto* translator = new QTranslator(&application);
    if (translator->load(locale, QString::fromLatin1(kToolkitCatalogue), QStringLiteral("_"), folder) &&
        QCoreApplication::installTranslator(translator))
        return {};
    delete translator;
    // The program speaks Czech: a Czech session without the toolkit's Czech
    // is worth a word; another language without a catalogue (English, C)
    // keeps the toolkit's own English.
    if (locale.language() != QLocale::Czech) return {};
    return QStringLiteral("Qt's Czech translation (%1_cs.qm) is not in %2, so its dialogs speak English; "
                          "install qt6-translations-l10n")
        .arg(QString::fromLatin1(kToolkitCatalogue), folder);
}

}  // namespace app
