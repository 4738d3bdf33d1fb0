#include "lab/quantity.h"

#include <QStringList>
#include <cmath>

namespace lab {
namespace {

struct QuantityText {
    const char* key;
    const char* symbol;
    const char* unit;
    const char* name;
    const char* caption;  // beside the live value
    int decimals;
};

constexpr QuantityText kTexts[kQuantityCount] = {
    {"TimeSeconds", "t", "s", "čas", "Čas t", 3},
    {"FrequencyHz", "f", "Hz", "kmitočet", "Kmitočet f", 2},
    {"CurrentMilliamps", "I", "mA", "proud", "Proud I", 4},
    {"VoltageMillivolts", "U", "mV", "napětí", "Napětí U", 3},
    {"ImpedanceOhms", "|Z|", "Ω", "impedance zátěže", "Impedance zátěže |Z|", 3},
    {"PhaseDegrees", "φ", "°", "fázový posun zátěže", "Fázový posun zátěže φ", 2},
    {"PowerMilliwatts", "P", "mW", "činný výkon zátěže", "Činný výkon zátěže P", 5},
    {"PowerFactor", "λ", "", "účiník zátěže", "Účiník λ = P / (U·I)", 4},
};

const QuantityText& textOf(Quantity q) { return kTexts[indexOf(q)]; }

}  // namespace

QString keyOf(Quantity q) { return QString::fromLatin1(textOf(q).key); }
QString symbolOf(Quantity q) { return QString::fromUtf8(textOf(q).symbol); }
QString unitOf(Quantity q) { return QString::fromUtf8(textOf(q).unit); }
QString nameOf(Quantity q) { return QString::fromUtf8(textOf(q).name); }
QString captionOf(Quantity q) { return QString::fromUtf8(textOf(q).caption); }
int decimalsOf(Quantity q) { return textOf(q).decimals; }

QString headerOf(Quantity q) {
    const QString unit = unitOf(q);
    return unit.isEmpty() ? symbolOf(q) : QStringLiteral("%1 (%2)").arg(symbolOf(q), unit);
}

const QLocale& czechNumbers() {
    static const QLocale locale = [] {
        QLocale l(QLocale::Czech);
        l.setNumberOptions(QLocale::OmitGroupSeparator);
        return l;
    }();
    return locale;
}

QString cellText(double value, Quantity q) {
    return std::isfinite(value) ? czechNumbers().toString(value, 'f', decimalsOf(q)) : QStringLiteral("–");
}

QString withUnit(const QString& number, const QString& unit) {
    if (unit.isEmpty() || unit == QStringLiteral("°")) return number + unit;
    return number + QChar(0x00A0) + unit;
}

QString ratioUnit(Quantity y, Quantity x) {
    const QString top = unitOf(y);
    const QString bottom = unitOf(x);
    if (y == Quantity::Voltage && x == Quantity::Current) return QStringLiteral("Ω");
    if (top == bottom) return {};
    if (bottom.isEmpty()) return top;
    return QStringLiteral("%1/%2").arg(top.isEmpty() ? QStringLiteral("1") : top, bottom);
}

std::optional<Quantity> quantityByKey(const QString& key) {
    for (Quantity q : kQuantities)
        if (key == keyOf(q)) return q;
    return std::nullopt;
}

QString quantityKeys() {
    QStringList keys;
    for (Quantity q : kQuantities) keys << keyOf(q);
    return keys.join(QStringLiteral(", "));
}

}  // namespace lab
