#include "render/fonts.h"

#include <QFont>
#include <QStringList>

#include <cstdint>

namespace render {

void registerFontSubstitutions() {
    struct Substitution {
        const char* name;
        const char* installed;
    };
    static constexpr Substitution kSubstitutions[] = {
        {"Arial", "Liberation Sans"},
        {"Arial Narrow", "Liberation Sans Narrow"},
        {"Arial Black", "Liberation Sans"},
        {"MS Sans Serif", "Liberation Sans"},
        {"Small Fonts", "Liberation Sans"},
    };
    // The numerals' font. Its designed positions put each decimal point between
    // a "0" and a "1" without a foot (Arial's); Nimbus Sans Narrow has such a
    // "1", Liberation Sans Narrow's foot would hide the point.
    QFont::insertSubstitutions(QStringLiteral("Arial Narow CE"),
                               QStringList{QStringLiteral("Nimbus Sans Narrow"), QStringLiteral("Liberation Sans Narrow")});
    // insertSubstitution keeps one entry per pair, so repeated calls add nothing.
    for (const Substitution& s : kSubstitutions)
        QFont::insertSubstitution(QString::fromLatin1(s.name), QString::fromLatin1(s.installed));
}

int pointsToPixels(int points) {
    const std::int64_t n = static_cast<std::int64_t>(points) * 96;
    const std::int64_t q = (n >= 0 ? n + 36 : n - 36) / 72;  // half away from zero
    return static_cast<int>(q);
}

}  // namespace render
