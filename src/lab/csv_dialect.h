#pragma once
// The two dialects of CSV the lab writes: a semicolon between fields and a
// decimal comma (what a spreadsheet in a decimal-comma locale such as Czech
// reads as numbers), or a comma and a decimal point (everywhere else).
#include <QLocale>

namespace lab {

struct CsvDialect {
    char separator = ',';
    char decimal = '.';
    bool operator==(const CsvDialect&) const = default;
};

inline constexpr CsvDialect kSemicolonDecimalComma{';', ','};
inline constexpr CsvDialect kCommaDecimalPoint{',', '.'};

// A locale whose decimal separator is a comma (cs_CZ) gets the semicolon
// dialect, every other one the comma dialect.
CsvDialect dialectFor(const QLocale& locale);

}  // namespace lab
