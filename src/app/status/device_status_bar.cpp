#include "app/status/device_status_bar.h"

#include "app/session/session.h"
#include "app/status/status_line.h"
#include "platform/wave/device_status.h"

#include <QDateTime>

namespace app::status {
namespace {

namespace wave = platform::wave;

// How long "it is back" stays on the line.
constexpr auto kBackShownFor = std::chrono::seconds(5);

QString clockTime(std::chrono::system_clock::time_point t) {
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(t.time_since_epoch()).count();
    return QDateTime::fromMSecsSinceEpoch(ms).toString(QStringLiteral("H:mm:ss"));
}

QString what(wave::Direction d) {
    return d == wave::Direction::Input ? QStringLiteral("záznam") : QStringLiteral("přehrávání");
}

void append(QString& text, const QString& part) {
    if (part.isEmpty()) return;
    if (!text.isEmpty()) text += QStringLiteral("   ");
    text += part;
}

}  // namespace

DeviceStatusBar::DeviceStatusBar(const session::Session& session, StatusLine& line) : QObject(&line), line_(line) {
    connect(&session, &session::Session::deviceStateChanged, this, &DeviceStatusBar::refresh);
    expiry_.setSingleShot(true);
    connect(&expiry_, &QTimer::timeout, this, &DeviceStatusBar::refresh);
    refresh();
}

QString DeviceStatusBar::text(std::chrono::system_clock::time_point now) {
    QString text;
    const auto missingIn = wave::deviceOutage(wave::Direction::Input);
    const auto missingOut = wave::deviceOutage(wave::Direction::Output);
    const auto missing = [&](const wave::DeviceOutage& o, const QString& which) {
        append(text, QStringLiteral("Zvukové zařízení „%1“ (%2) není k dispozici od %3, zkouším ho znovu připojit.")
                         .arg(QString::fromStdString(o.device), which, clockTime(o.since)));
    };
    const auto back = [&](wave::Direction d) {
        const auto r = wave::lastDeviceReturn(d);
        return r && now - r->at < kBackShownFor ? r : std::nullopt;
    };
    const auto backIn = missingIn ? std::nullopt : back(wave::Direction::Input);
    const auto backOut = missingOut ? std::nullopt : back(wave::Direction::Output);
    const auto isBack = [&](const wave::DeviceReturn& r, const QString& which) {
        append(text, QStringLiteral("Zvukové zařízení „%1“ (%2) je zase připojeno.")
                         .arg(QString::fromStdString(r.device), which));
    };
    // One device for both directions (as "default" is): one sentence.
    if (missingIn && missingOut && missingIn->device == missingOut->device) {
        missing(missingIn->since < missingOut->since ? *missingIn : *missingOut, QStringLiteral("záznam i přehrávání"));
    } else {
        if (missingIn) missing(*missingIn, what(wave::Direction::Input));
        if (missingOut) missing(*missingOut, what(wave::Direction::Output));
    }
    if (backIn && backOut && backIn->device == backOut->device) {
        isBack(*backIn, QStringLiteral("záznam i přehrávání"));
    } else {
        if (backIn) isBack(*backIn, what(wave::Direction::Input));
        if (backOut) isBack(*backOut, what(wave::Direction::Output));
    }
    append(text, QString::fromStdString(wave::lastDeviceError()));
    const auto overruns = wave::xrunCount(wave::Direction::Input);
    const auto underruns = wave::xrunCount(wave::Direction::Output);
    if (overruns + underruns > 0)
        append(text, QStringLiteral("recording overruns: %1, playback underruns: %2").arg(overruns).arg(underruns));
    return text;
}

void DeviceStatusBar::refresh() {
    const auto now = std::chrono::system_clock::now();
    line_.set(StatusSlot::Devices, text(now));
    // A return is said for a few seconds: look again when that has passed.
    std::chrono::system_clock::time_point latest{};
    for (const auto d : {wave::Direction::Input, wave::Direction::Output})
        if (const auto r = wave::lastDeviceReturn(d)) latest = std::max(latest, r->at);
    if (now - latest < kBackShownFor)
        expiry_.start(std::chrono::duration_cast<std::chrono::milliseconds>(latest + kBackShownFor - now) +
                      std::chrono::milliseconds(1));
}

}  // namespace app::status
