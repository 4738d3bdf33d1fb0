// The class view's server on a made-up measurement, for bench/class_view_load.py
// and for looking at the page: a block every 56.7 ms (as the card gives them)
// with a slowly changing current, and a point of the record at every block
// or every `--every` seconds.
//   class_view_server [--port N] [--seconds S] [--every S] [--points N] [--steady 1]
//                     [--panel FILE.png]
// --every -1 takes no points; --steady 1 keeps the current still (22 mA);
// --fit 1 shows U against I with its line.
// The token is kept where the program keeps it ($XDG_CONFIG_HOME), so a
// server started again on the same port serves the same link.
// Prints `class-view http://127.0.0.1:PORT/?k=TOKEN` once it listens; at the
// end, on standard error, the clients it dropped.
#include "app/classview/class_panel.h"
#include "app/classview/class_server.h"
#include "app/classview/feed.h"
#include "app/classview/live_hub.h"
#include "app/classview/token_store.h"
#include "lab/csv_writer.h"
#include "lab/record/point_record.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QTimer>
#include <cmath>
#include <cstdio>

namespace {

using app::classview::RecordChange;

class MadeUpFeed : public app::classview::Feed {
public:
    MadeUpFeed(double every, bool steady, bool fit) : every_(every), steady_(steady), fit_(fit) {
        clock_.start();
        blocks_.setTimerType(Qt::PreciseTimer);
        blocks_.setInterval(57);
        connect(&blocks_, &QTimer::timeout, this, &MadeUpFeed::block);
        blocks_.start();
    }

    // Points of an earlier stretch of the record; the live ones follow them.
    void addPoints(int n) {
        for (int i = 0; i < n; ++i) record_.add(pointAt(i * 0.0567));
        offset_ = n * 0.0567;
    }

    QJsonObject live() const override {
        const lab::LabPoint p = pointAt(seconds());
        QJsonObject circuit;
        for (const lab::Quantity q : lab::kQuantities)
            if (q != lab::Quantity::Time) circuit[lab::keyOf(q)] = p[q];
        circuit["Constants"] = "reference";
        const double ma = p[lab::Quantity::Current];
        const QJsonObject readouts{{"Panel3", QStringLiteral("%1 mA").arg(ma, 0, 'f', 1)},
                                   {"Panel2", QStringLiteral("%1 V").arg(p[lab::Quantity::Voltage] / 1000, 0, 'f', 2)}};
        QJsonObject last;
        if (!record_.empty()) {
            const lab::LabPoint l = record_.point(record_.size() - 1);
            for (const lab::Quantity q : lab::kQuantities) last[lab::keyOf(q)] = l[q];
        }
        // On a 100 Ω resistor U = 100 Ω · I: the line the lab would fit.
        const QJsonValue line = fit_ ? QJsonValue(QJsonObject{{"Slope", 100.0},
                                                              {"Intercept", 0.0},
                                                              {"R2", 1.0},
                                                              {"Points", static_cast<qint64>(record_.size())},
                                                              {"SlopeUnit", "Ω"}})
                                     : QJsonValue();
        const QJsonObject lab{{"Points", static_cast<qint64>(record_.size())},
                              {"Last", last},
                              {"Fit", line},
                              {"Runs", QJsonArray{QJsonObject{{"Run", 1}, {"Name", "Řada 1"}}}},
                              {"Graph", QJsonObject{{"Y", fit_ ? "VoltageMillivolts" : "CurrentMilliamps"},
                                                    {"X", fit_ ? "CurrentMilliamps" : "TimeSeconds"},
                                                    {"LogX", false},
                                                    {"LogY", false},
                                                    {"Fit", fit_}}}};
        return {{"circuit", circuit}, {"readouts", readouts}, {"lab", lab}};
    }
    QJsonObject state() const override { return {{"circuit", live()["circuit"]}}; }
    QByteArray recordCsv(const lab::CsvDialect& dialect) const override { return lab::csvOf(record_, dialect); }
    QJsonArray recordRows() const override {
        QJsonArray rows;
        for (std::size_t i = 0; i < record_.size(); ++i) rows.append(row(record_.point(i)));
        return rows;
    }

private:
    static QJsonArray row(const lab::LabPoint& p) {
        QJsonArray r;
        for (const lab::Quantity q : lab::kQuantities) r.append(std::isfinite(p[q]) ? QJsonValue(p[q]) : QJsonValue());
        r.append(1);
        return r;
    }
    lab::LabPoint pointAt(double t) const {
        lab::LabPoint p;
        p[lab::Quantity::Time] = t;
        p[lab::Quantity::Frequency] = 50.0 + 0.01 * std::sin(t / 7);
        p[lab::Quantity::Current] = steady_ ? 22.0 : 22.0 + 3.0 * std::sin(t / 10);
        p[lab::Quantity::Voltage] = p[lab::Quantity::Current] * 100.0;
        p[lab::Quantity::Impedance] = 100.0;
        p[lab::Quantity::Phase] = 0.2 * std::sin(t / 3);
        p[lab::Quantity::Power] = p[lab::Quantity::Current] * p[lab::Quantity::Voltage] / 1000.0;
        p[lab::Quantity::PowerFactor] = 1.0;
        return p;
    }
    double seconds() const { return offset_ + clock_.elapsed() / 1000.0; }
    void block() {
        emit blockMeasured();
        const double t = seconds();
        if (every_ < 0 || t < nextPoint_) return;
        nextPoint_ = t + every_;
        const lab::LabPoint p = pointAt(t);
        record_.add(p);
        emit recordChanged(RecordChange{RecordChange::Kind::Added, static_cast<qsizetype>(record_.size() - 1), row(p)});
    }

    double every_;
    bool steady_;
    bool fit_;
    double nextPoint_ = 0;
    double offset_ = 0;
    QElapsedTimer clock_;
    QTimer blocks_;
    lab::PointRecord record_;
};

}  // namespace

int main(int argc, char** argv) {
    // No display needed: the panel's picture is drawn offscreen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    quint16 port = 0;
    double seconds = 60;
    double every = 1;
    int points = 0;
    bool steady = false;
    bool fit = false;
    QString panel;
    const QStringList args = application.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == "--port") port = static_cast<quint16>(args[i + 1].toUInt());
        else if (args[i] == "--seconds") seconds = args[i + 1].toDouble();
        else if (args[i] == "--every") every = args[i + 1].toDouble();
        else if (args[i] == "--points") points = args[i + 1].toInt();
        else if (args[i] == "--steady") steady = args[i + 1].toInt() != 0;
        else if (args[i] == "--fit") fit = args[i + 1].toInt() != 0;
        else if (args[i] == "--panel") panel = args[i + 1];
        else {
            std::fprintf(stderr, "unknown option %s\n", qPrintable(args[i]));
            return 2;
        }
    }
    MadeUpFeed feed(every, steady, fit);
    feed.addPoints(points);
    app::classview::TokenStore tokens{app::classview::defaultTokenFile()};
    app::classview::ClassServer server(feed, tokens);
    const QString problem = server.start(QHostAddress(QHostAddress::LocalHost), port);
    if (!problem.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(problem));
        return 1;
    }
    std::printf("%s\n", qPrintable(app::classview::announcement(server.links().front())));
    std::fflush(stdout);
    if (!panel.isEmpty()) {
        app::classview::ClassPanel shown(server, server.port());
        shown.resize(480, 640);
        shown.show();
        QTimer::singleShot(300, [&] {
            shown.grab().save(panel);
            application.quit();
        });
        return application.exec();
    }
    QTimer::singleShot(static_cast<int>(seconds * 1000), &application, &QCoreApplication::quit);
    const int code = application.exec();
    std::fprintf(stderr, "dropped %lld\n", static_cast<long long>(server.hub()->dropped()));
    return code;
}
