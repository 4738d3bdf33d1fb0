// In a Czech session the toolkit's own dialogs speak Czech: a message box's
// buttons read "Ano" and "Ne", not "Yes" and "No".
#include "app/toolkit_translations.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTranslator>
#include <gtest/gtest.h>

namespace {

TEST(ToolkitTranslations, AMessageBoxOfACzechSessionAnswersAnoAndNe) {
    QCoreApplication& application = *QCoreApplication::instance();
    ASSERT_EQ(app::installToolkitTranslations(application, QLocale(QLocale::Czech, QLocale::Czechia)), QString())
        << "is qt6-translations-l10n installed?";
    QMessageBox box(QMessageBox::Question, QStringLiteral("Učitelské přístroje"), QStringLiteral("Smazat body?"),
                    QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(box.button(QMessageBox::Yes)->text().remove(QLatin1Char('&')), QStringLiteral("Ano"));
    EXPECT_EQ(box.button(QMessageBox::No)->text().remove(QLatin1Char('&')), QStringLiteral("Ne"));
    // The other tests of this program keep the toolkit's English.
    for (QTranslator* t : application.findChildren<QTranslator*>()) {
        QCoreApplication::removeTranslator(t);
        delete t;
    }
    // An English session needs no catalogue and has nothing to report.
    EXPECT_EQ(app::installToolkitTranslations(application, QLocale(QLocale::English)), QString());
    for (QTranslator* t : application.findChildren<QTranslator*>()) {
        QCoreApplication::removeTranslator(t);
        delete t;
    }
}

}  // namespace
