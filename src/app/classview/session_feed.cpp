#include "app/classview/session_feed.h"

#include "app/lab/lab_session.h"
#include "app/session/session.h"
#include "lab/csv_writer.h"
#include "measure/reference/readout_format.h"

#include <cmath>

namespace app::classview {
namespace {

QJsonValue number(double v) { return std::isfinite(v) ? QJsonValue(v) : QJsonValue(); }

// What names a file of this computer stays out of what the students get.
QJsonValue withoutPaths(const QJsonValue& value) {
    if (value.isObject()) {
        QJsonObject out;
        const QJsonObject in = value.toObject();
        for (auto it = in.begin(); it != in.end(); ++it) {
            if (it.key().contains(QLatin1String("File")) || it.key().contains(QLatin1String("Path")) ||
                it.key() == QLatin1String("Folder"))
                continue;
            out.insert(it.key(), withoutPaths(it.value()));
        }
        return out;
    }
    if (value.isArray()) {
        QJsonArray out;
        for (const QJsonValue& v : value.toArray()) out.append(withoutPaths(v));
        return out;
    }
    return value;
}

QString withUnit(const QString& digits) {
    return digits.endsWith(QLatin1String(" A")) ? digits : digits + QStringLiteral(" mA");
}

}  // namespace

SessionFeed::SessionFeed(const session::Session& session, const lab::LabSession& lab, QObject* parent)
    : Feed(parent), session_(session), lab_(lab) {
    connect(&session, &session::Session::blockMeasured, this, &Feed::blockMeasured);
    connect(&lab, &lab::LabSession::pointAdded, this, [this] {
        const std::size_t last = lab_.record().size() - 1;
        emit recordChanged({RecordChange::Kind::Added, static_cast<qsizetype>(last), row(last)});
    });
    // Rows deleted or put back, runs renamed: the pages get the record afresh.
    const auto afresh = [this] { emit recordChanged({RecordChange::Kind::Cleared, 0, {}}); };
    connect(&lab, &lab::LabSession::recordEdited, this, afresh);
    connect(&lab, &lab::LabSession::runsChanged, this, afresh);
}

QJsonObject SessionFeed::live() const {
    const QJsonObject all = session_.stateJson();  // the lab's part is in it
    const QJsonObject lab = all.value(QStringLiteral("lab")).toObject();
    QJsonArray runs;
    for (const QJsonValue& r : lab.value(QStringLiteral("Runs")).toArray())
        runs.append(QJsonObject{{"Run", r[QStringLiteral("Id")]}, {"Name", r[QStringLiteral("Name")]}});
    const auto& s = session_.state;
    return QJsonObject{
        {"circuit", all.value(QStringLiteral("circuit"))},
        // The ammeter's digits as the window shows them, with the unit its box gives them.
        {"readouts",
         QJsonObject{{"Panel3", withUnit(QString::fromStdString(measure::formatAmmeterReadout(s.AmmeterValue)).trimmed())},
                     {"Panel2", QString::fromStdString(measure::formatVoltmeterReadout(s.VoltmeterValue))}}},
        {"lab", QJsonObject{{"Points", lab.value(QStringLiteral("Points"))},
                            {"Last", lab.value(QStringLiteral("Last"))},
                            {"Fit", lab.value(QStringLiteral("Fit"))},
                            {"Runs", runs},
                            {"Graph", lab.value(QStringLiteral("Graph"))}}},
    };
}

QJsonObject SessionFeed::state() const { return withoutPaths(session_.stateJson()).toObject(); }

QByteArray SessionFeed::recordCsv(const ::lab::CsvDialect& dialect) const { return ::lab::csvOf(lab_.record(), dialect); }

QJsonArray SessionFeed::row(std::size_t index) const {
    const ::lab::PointRecord& record = lab_.record();
    QJsonArray values;
    for (const ::lab::Quantity q : ::lab::kQuantities) values.append(number(record.value(index, q)));
    values.append(record.runOf(index));
    return values;
}

QJsonArray SessionFeed::recordRows() const {
    QJsonArray rows;
    for (std::size_t i = 0; i < lab_.record().size(); ++i) rows.append(row(i));
    return rows;
}

}  // namespace app::classview
