#include "app/classview/token_store.h"

#include "app/classview/token.h"
#include "platform/files/regular_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace app::classview {
namespace {

// A token file is a line; anything longer is not one of ours.
constexpr qint64 kLongestFile = 256;

QString notKept(const QString& why) {
    return QStringLiteral("Odkaz nelze uložit (%1): platí jen do ukončení programu.").arg(why);
}

}  // namespace

QString defaultTokenFile() {
    const QString name = QStringLiteral("pristroje/class-view-token");
    if (QDir::isAbsolutePath(qEnvironmentVariable("XDG_CONFIG_HOME")) ||
        QDir::isAbsolutePath(qEnvironmentVariable("HOME"))) {
        const QString location = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
        if (QDir::isAbsolutePath(location)) return QDir(location).filePath(name);
    }
    return {};
}

TokenStore::TokenStore(QString path) : path_(std::move(path)) {
    if (path_.isEmpty()) {
        token_ = newToken();
        return;
    }
    const auto kind = platform::files::fileKind(QFile::encodeName(path_).toStdString());
    if (kind == platform::files::FileKind::Regular) {
        QFile file(path_);
        if (!file.open(QIODevice::ReadOnly)) {
            token_ = newToken();
            problem_ = notKept(file.errorString());
            return;
        }
        const QByteArray text = file.read(kLongestFile).trimmed();
        if (isWellFormedToken(text)) {
            token_ = text;
            return;
        }
    } else if (kind != platform::files::FileKind::Missing) {
        token_ = newToken();
        problem_ = notKept(QStringLiteral("%1 není obyčejný soubor").arg(path_));
        return;
    }
    token_ = newToken();
    save();
}

void TokenStore::renew() {
    token_ = newToken();
    if (!path_.isEmpty()) save();
}

void TokenStore::save() {
    problem_.clear();
    const QString folder = QFileInfo(path_).absolutePath();
    if (!QDir().mkpath(folder)) {
        problem_ = notKept(QStringLiteral("nelze vytvořit složku %1").arg(folder));
        return;
    }
    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly)) {
        problem_ = notKept(file.errorString());
        return;
    }
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const QByteArray line = token_ + '\n';
    if (file.write(line) != line.size() || !file.commit()) {
        problem_ = notKept(file.errorString());
        file.cancelWriting();
    }
}

}  // namespace app::classview
