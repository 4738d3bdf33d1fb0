#include "lab/csv_writer.h"

#include <charconv>
#include <cmath>

namespace lab {
namespace {

bool namesRuns(const PointRecord& record) {
    const auto& runs = record.runs();
    return runs.size() > 1 || (runs.size() == 1 && !runs.front().name.isEmpty());
}

// A text field, always quoted, a quote inside doubled.
void appendText(QByteArray& out, const QString& text) {
    out.append('"');
    out.append(text.toUtf8().replace('"', "\"\""));
    out.append('"');
}

}  // namespace

QByteArray csvOf(const PointRecord& record, const CsvDialect& dialect) {
    QByteArray out;
    // About 70 bytes a row.
    out.reserve(static_cast<qsizetype>(128 + record.size() * 80));
    out.append("\xEF\xBB\xBF");
    for (std::size_t i = 0; i < kQuantityCount; ++i) {
        if (i > 0) out.append(dialect.separator);
        out.append(headerOf(kQuantities[i]).toUtf8());
    }
    const bool runs = namesRuns(record);
    const bool flags = record.flaggedCount() > 0;
    if (runs) out.append(dialect.separator).append("běh");
    if (flags) out.append(dialect.separator).append("přebuzeno").append(dialect.separator).append("ustáleno");
    out.append('\n');
    QString title;  // of the run of the row before
    int titled = 0;
    char number[64];
    const bool quoted = dialect.decimal == ',';
    double halfUnit[kQuantityCount];
    for (std::size_t i = 0; i < kQuantityCount; ++i) halfUnit[i] = 0.5 * std::pow(10.0, -decimalsOf(kQuantities[i]));
    for (std::size_t row = 0; row < record.size(); ++row) {
        for (std::size_t i = 0; i < kQuantityCount; ++i) {
            if (i > 0) out.append(dialect.separator);
            const Quantity q = kQuantities[i];
            double v = record.value(row, q);
            if (!std::isfinite(v)) continue;
            // What rounds to zero is written as 0, never as "-0.000".
            if (std::fabs(v) < halfUnit[i]) v = 0.0;
            const auto result = std::to_chars(number, number + sizeof number, v, std::chars_format::fixed,
                                              decimalsOf(q));
            if (result.ec != std::errc()) continue;
            for (char* c = number; c != result.ptr; ++c)
                if (*c == '.') *c = dialect.decimal;
            if (quoted) out.append('"');
            out.append(number, result.ptr - number);
            if (quoted) out.append('"');
        }
        if (runs) {
            if (record.runOf(row) != titled) {
                titled = record.runOf(row);
                const Run* run = record.run(titled);
                title = run != nullptr ? runTitle(*run) : QString();
            }
            out.append(dialect.separator);
            appendText(out, title);
        }
        if (flags) {
            const auto flag = [&](bool on) {
                out.append(dialect.separator);
                if (quoted) out.append('"');
                out.append(on ? '1' : '0');
                if (quoted) out.append('"');
            };
            flag(record.overload(row));
            flag(record.settled(row));
        }
        out.append('\n');
    }
    return out;
}

}  // namespace lab
