#include "gui/window_run.h"

#include "app/window/client_area.h"

#include <QDeadlineTimer>
#include <QImage>
#include <QRegularExpression>

#include <algorithm>
#include <cstdlib>

namespace gui {

std::optional<Shown> parseShown(const QString& line) {
    static const QRegularExpression re(
        QStringLiteral("^shown window=(\\d+)x(\\d+) fullscreen=([01]) stage=(-?\\d+),(-?\\d+),(\\d+)x(\\d+)$"));
    const auto m = re.match(line.trimmed());
    if (!m.hasMatch()) return std::nullopt;
    auto n = [&m](int i) { return m.captured(i).toInt(); };
    return Shown{QSize(n(1), n(2)), n(3) == 1, QRect(n(4), n(5), n(6), n(7))};
}

WindowRun::WindowRun(const QProcessEnvironment& environment) { process_.setProcessEnvironment(environment); }

WindowRun::~WindowRun() {
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(5000);
    }
}

bool WindowRun::start(const QStringList& arguments) {
    process_.start(QStringLiteral(PRISTROJE_BINARY),
                   QStringList{QStringLiteral("--state"), path("window.json"), QStringLiteral("--snapshot"),
                               path("window.png")} +
                       arguments);
    return process_.waitForStarted(30000);
}

std::optional<Shown> WindowRun::waitShown(const std::function<bool(const Shown&)>& wanted, int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    while (true) {
        pending_ += process_.readAllStandardOutput();
        stderr_ += process_.readAllStandardError();
        std::optional<Shown> found;
        for (qsizetype end = pending_.indexOf('\n'); end >= 0; end = pending_.indexOf('\n')) {
            const QString line = QString::fromLatin1(pending_.left(end));
            pending_.remove(0, end + 1);
            const std::optional<Shown> shown = parseShown(line);
            if (shown) shown_ << line;
            if (shown && wanted(*shown)) found = shown;
        }
        if (found) return found;
        if (process_.state() == QProcess::NotRunning || deadline.hasExpired()) return std::nullopt;
        process_.waitForReadyRead(static_cast<int>(std::min<qint64>(deadline.remainingTime(), 1000)));
    }
}

int WindowRun::finish() {
    process_.closeWriteChannel();
    if (!process_.waitForFinished(60000)) return -1;
    stderr_ += process_.readAllStandardError();
    return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
}

QString WindowRun::errors() {
    stderr_ += process_.readAllStandardError();
    return QString::fromLocal8Bit(stderr_);
}

std::string WindowRun::story() {
    return ("signs: " + shown_.join(QStringLiteral("; ")) + "\nstderr: " + errors()).toStdString();
}

int pixelsApart(const QImage& a, const QImage& b, int tolerance) {
    if (a.size() != b.size()) return -1;
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            if (std::abs(qRed(p) - qRed(q)) > tolerance || std::abs(qGreen(p) - qGreen(q)) > tolerance ||
                std::abs(qBlue(p) - qBlue(q)) > tolerance)
                ++count;
        }
    return count;
}

QRect instrumentsIn(const QImage& clientArea) {
    const QImage image = clientArea.convertToFormat(QImage::Format_RGB32);
    int left = image.width(), right = -1, top = image.height(), bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if ((row[x] | 0xFF000000u) != app::window::kSpareRoomColor) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = y;
            }
    }
    return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

}  // namespace gui
