#include "render/fonts.h"

#include <QFont>
#include <QFontInfo>
#include <QStringList>
#include <gtest/gtest.h>

namespace render {
namespace {

TEST(Fonts, WindowsFaceNamesFallToTheInstalledFreeFonts) {
    registerFontSubstitutions();
    registerFontSubstitutions();  // a second call changes nothing
    const QStringList substitutes = QFont::substitutes(QStringLiteral("Arial Narow CE"));
    // A stand-in whose "1" has no foot first, so the decimal points show.
    EXPECT_EQ(substitutes.join(",").toLower(), "nimbus sans narrow,liberation sans narrow");
    const auto familyOf = [](const char* name) { return QFontInfo(QFont(QString::fromLatin1(name))).family(); };
    EXPECT_TRUE(familyOf("Arial Narow CE").startsWith(QStringLiteral("Nimbus Sans Narrow")));
    EXPECT_EQ(familyOf("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    EXPECT_EQ(familyOf("Small Fonts"), QStringLiteral("Liberation Sans"));
    EXPECT_EQ(familyOf("Arial Black"), QStringLiteral("Liberation Sans"));
}

TEST(Fonts, PointsAreCharacterHeightsAtNinetySixPixelsPerInch) {
    EXPECT_EQ(pointsToPixels(60), 80);
    EXPECT_EQ(pointsToPixels(65), 87);  // 86.67
    EXPECT_EQ(pointsToPixels(8), 11);   // 10.67
    EXPECT_EQ(pointsToPixels(3), 4);    // 4 exactly
    EXPECT_EQ(pointsToPixels(0), 0);
}

}  // namespace
}  // namespace render
