#include "lab/record/flagged_points.h"

#include "lab/czech_count.h"

#include <QStringList>
#include <cmath>

namespace lab {
namespace {

// Where the points lie: "150, 159, 168 Hz" (the measured frequency, in whole
// hertz), or rows ("body 3, 4") for points without a frequency; at most ten.
QString placesOf(const PointRecord& record, const std::vector<std::size_t>& rows, bool czech, const QString& last) {
    constexpr std::size_t kNamed = 10;
    QStringList hertz, numbers;
    for (std::size_t k = 0; k < rows.size() && k < kNamed; ++k) {
        const double hz = record.value(rows[k], Quantity::Frequency);
        if (std::isfinite(hz))
            hertz << QString::number(std::lround(hz));
        else
            numbers << QString::number(rows[k] + 1);
    }
    const QString more = rows.size() > kNamed ? QStringLiteral(", …") : QString();
    QStringList parts;
    const auto joined = [&](const QStringList& l) {
        if (l.size() < 2 || !more.isEmpty() || !czech) return l.join(QStringLiteral(", "));
        return QStringList(l.mid(0, l.size() - 1)).join(QStringLiteral(", ")) + last + l.back();
    };
    if (!hertz.isEmpty()) parts << (czech ? QStringLiteral("při ") : QStringLiteral("at ")) + joined(hertz) + more + QStringLiteral(" Hz");
    if (!numbers.isEmpty())
        parts << (czech ? (numbers.size() == 1 ? QStringLiteral("bod ") : QStringLiteral("body ")) : QStringLiteral("rows ")) +
                     joined(numbers) + (hertz.isEmpty() ? more : QString());
    return parts.join(czech ? QStringLiteral(" a ") : QStringLiteral(" and "));
}

}  // namespace

FlaggedPoints flaggedPoints(const PointRecord& record, int runId) {
    FlaggedPoints f;
    for (std::size_t row = 0; row < record.size(); ++row) {
        if (!record.flagged(row) || (runId != 0 && record.runOf(row) != runId)) continue;
        (record.overload(row) ? f.overload : f.unsettled).push_back(row);
    }
    return f;
}

QString flaggedText(const PointRecord& record, const FlaggedPoints& flagged, std::size_t of) {
    if (flagged.count() == 0) return {};
    QStringList why;
    const QString andWord = QStringLiteral(" a ");
    if (!flagged.overload.empty())
        why << QStringLiteral("přebuzený vstup %1").arg(placesOf(record, flagged.overload, true, andWord));
    if (!flagged.unsettled.empty())
        why << QStringLiteral("neustálený údaj %1").arg(placesOf(record, flagged.unsettled, true, andWord));
    return QStringLiteral("Mimo proložení %1 z %2: %3.")
        .arg(czechCount(static_cast<long long>(flagged.count()), kPoints))
        .arg(of)
        .arg(why.join(QStringLiteral("; ")));
}

QString flaggedSummary(const PointRecord& record, const FlaggedPoints& flagged, std::size_t of) {
    QStringList why;
    if (!flagged.overload.empty())
        why << QStringLiteral("overload %1").arg(placesOf(record, flagged.overload, false, {}));
    if (!flagged.unsettled.empty())
        why << QStringLiteral("unsettled %1").arg(placesOf(record, flagged.unsettled, false, {}));
    return QStringLiteral("%1 of %2 points flagged: %3").arg(flagged.count()).arg(of).arg(why.join(QStringLiteral("; ")));
}

}  // namespace lab
