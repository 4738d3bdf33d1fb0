#include "platform/wave/card_claim.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QSysInfo>
#include <QUrl>

#include <algorithm>
#include <cerrno>
#include <csignal>

namespace platform::wave {
namespace {

constexpr int kRecheckMs = 5000;

bool running(const CardUser& user) {
    // Another machine's program (a shared home): it cannot be asked.
    if (user.host != QSysInfo::machineHostName()) return true;
    return ::kill(static_cast<pid_t>(user.pid), 0) == 0 || errno != ESRCH;
}

std::optional<CardUser> userOf(const QString& path) {
    const QLockFile file(path);
    qint64 pid = 0;
    QString host, application;
    if (!file.getLockInfo(&pid, &host, &application)) return std::nullopt;
    return CardUser{pid, host, QFileInfo(path).lastModified()};
}

// The pids, to tell whether anything changed.
std::vector<qint64> pidsOf(const std::optional<CardUser>& holder, const std::vector<CardUser>& guests) {
    std::vector<qint64> out;
    out.push_back(holder ? holder->pid : 0);
    for (const CardUser& guest : guests) out.push_back(guest.pid);
    return out;
}

}  // namespace

QString defaultClaimFolder() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation))
        .filePath(QStringLiteral("pristroje-cards"));
}

CardClaim::CardClaim(const QString& folder, const QString& card)
    : folder_(folder),
      card_(card),
      fileName_(QString::fromLatin1(QUrl::toPercentEncoding(card))),
      lock_(QDir(folder).filePath(fileName_ + QStringLiteral(".lock"))) {
    // Only a lock whose program has died is stale, however old it is.
    lock_.setStaleLockTime(0);
    if (!QDir().mkpath(folder_)) {
        problem_ = QStringLiteral("the folder %1 cannot be made").arg(folder_);
        return;
    }
    if (!takeCard()) return;
    watcher_.addPath(folder_);
    QObject::connect(&watcher_, &QFileSystemWatcher::directoryChanged, &watcher_, [this] { look(); });
    recheck_.setInterval(kRecheckMs);
    QObject::connect(&recheck_, &QTimer::timeout, &recheck_, [this] { look(); });
    recheck_.start();
    relook_.setSingleShot(true);
    relook_.setInterval(50);
    QObject::connect(&relook_, &QTimer::timeout, &relook_, [this] { look(); });
    look();
}

CardClaim::~CardClaim() = default;

QString CardClaim::guestPrefix() const { return fileName_ + QStringLiteral(".guest-"); }

bool CardClaim::takeCard() {
    if (lock_.tryLock(0)) {
        ours_ = true;
        holder_.reset();
        guestLock_.reset();
        return true;
    }
    if (lock_.error() != QLockFile::LockFailedError) {
        problem_ = QStringLiteral("the lock %1 cannot be taken").arg(lock_.fileName());
        return false;
    }
    holder_ = userOf(lock_.fileName());
    if (!guestLock_) {
        guestLock_ = std::make_unique<QLockFile>(
            QDir(folder_).filePath(guestPrefix() + QString::number(QCoreApplication::applicationPid()) +
                                   QStringLiteral(".lock")));
        guestLock_->setStaleLockTime(0);
        if (!guestLock_->tryLock(0)) problem_ = QStringLiteral("the lock %1 cannot be taken").arg(guestLock_->fileName());
    }
    return true;
}

void CardClaim::look() {
    const std::vector<qint64> before = pidsOf(holder_, guests_);
    if (!ours_) takeCard();
    guests_.clear();
    if (ours_) {
        const QStringList names = QDir(folder_).entryList({guestPrefix() + QStringLiteral("*.lock")}, QDir::Files);
        for (const QString& name : names) {
            const QString path = QDir(folder_).filePath(name);
            const auto guest = userOf(path);
            if (!guest) {
                // Made a moment ago and not yet written: looked at again soon.
                if (!relook_.isActive()) relook_.start();
                continue;
            }
            if (running(*guest))
                guests_.push_back(*guest);
            else
                QFile::remove(path);  // left by a guest that was killed
        }
        std::sort(guests_.begin(), guests_.end(), [](const CardUser& a, const CardUser& b) { return a.pid < b.pid; });
    }
    if (pidsOf(holder_, guests_) != before)
        for (const auto& changed : listeners_) changed();
}

}  // namespace platform::wave
