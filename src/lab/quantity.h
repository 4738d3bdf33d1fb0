#pragma once
// The quantities of a lab point, in the order of the CSV's columns, with the
// names scripts use (the --state `circuit` keys), their symbols and units.
#include <QLocale>
#include <QString>
#include <array>
#include <cstddef>
#include <optional>

namespace lab {

enum class Quantity { Time, Frequency, Current, Voltage, Impedance, Phase, Power, PowerFactor };
inline constexpr std::size_t kQuantityCount = 8;
inline constexpr std::array<Quantity, kQuantityCount> kQuantities{
    Quantity::Time,      Quantity::Frequency, Quantity::Current, Quantity::Voltage,
    Quantity::Impedance, Quantity::Phase,     Quantity::Power,   Quantity::PowerFactor};

inline std::size_t indexOf(Quantity q) { return static_cast<std::size_t>(q); }

QString keyOf(Quantity q);     // "TimeSeconds", "FrequencyHz", "CurrentMilliamps", ... (--state `circuit`)
QString symbolOf(Quantity q);  // "t", "f", "I", "U", "|Z|", "φ", "P", "λ"
QString unitOf(Quantity q);    // "s", "Hz", "mA", "mV", "Ω", "°", "mW", "" (λ has none)
// Czech: "čas", "kmitočet", "proud", ..., "impedance zátěže": |Z|, φ, P and
// the power factor are the load's own, the divider's current taken out.
QString nameOf(Quantity q);
// Beside a live value: "Proud I", ..., "Účiník λ = P / (U·I)" (the power
// factor is the active power's share, not the cosine of the fundamentals' phase).
QString captionOf(Quantity q);
// "t (s)", "|Z| (Ω)", "λ": a CSV column's and an axis's title.
QString headerOf(Quantity q);
// Czech numbers as the lab writes them: a decimal comma and no group
// separator ("1775,8"), so that a column is no wider than it must be.
const QLocale& czechNumbers();
// Decimals a value is written with (CSV, table).
int decimalsOf(Quantity q);
// The value as the table shows it ("1775,8", "–" when not known).
QString cellText(double value, Quantity q);
// A number and its unit joined by a no-break space, so that a line never
// breaks between them; a degree sign follows the number straight ("12,5°").
QString withUnit(const QString& number, const QString& unit);

// The unit of y / x, as a slope is given: "Ω" for mV/mA, "mV/Hz", "" for
// the same units.
QString ratioUnit(Quantity y, Quantity x);

// By key; nothing for an unknown one.
std::optional<Quantity> quantityByKey(const QString& key);
// The keys, for messages: "TimeSeconds, FrequencyHz, ...".
QString quantityKeys();

}  // namespace lab
