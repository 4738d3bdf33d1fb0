#include "lab/csv_dialect.h"

namespace lab {

CsvDialect dialectFor(const QLocale& locale) {
    return locale.decimalPoint() == QStringLiteral(",") ? kSemicolonDecimalComma : kCommaDecimalPoint;
}

}  // namespace lab
