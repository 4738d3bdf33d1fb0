#include "app/calibration/calibration_store.h"

#include "app/calibration/calibration_json.h"
#include "platform/files/regular_file.h"
#include "platform/files/whole_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QLockFile>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace app::calibration {
namespace {

namespace files = platform::files;

// Another program saving holds the lock for milliseconds; a lock left by a
// program that died is taken over (QLockFile checks its process).
constexpr int kLockWaitMs = 10000;

// A file's bytes, when it is a regular file of at most kLargestCalibrationFile bytes.
struct FileBytes {
    bool exists = false;
    QString problem;  // why it cannot be read
    QByteArray bytes;
};

FileBytes readBytes(const QString& path) {
    FileBytes out;
    const files::OpenedFile opened = files::openRegularFile(QFile::encodeName(path).toStdString());
    if (opened.fd < 0 && opened.kind == files::FileKind::Missing &&
        (opened.error == 0 || opened.error == ENOENT || opened.error == ENOTDIR))
        return out;
    out.exists = true;
    if (opened.fd < 0) {
        const bool regular = opened.kind == files::FileKind::Regular || opened.kind == files::FileKind::Missing;
        const QString why = QString::fromLocal8Bit(std::strerror(opened.error));
        out.problem = regular ? QStringLiteral("nelze ho přečíst (%1)").arg(why) : files::notRegularCzech(opened.kind);
        return out;
    }
    QFile file;
    if (!file.open(opened.fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(opened.fd);
        out.problem = QStringLiteral("nelze ho přečíst (%1)").arg(file.errorString());
        return out;
    }
    // Never more than the limit and one byte is read, whatever the file claims.
    if (opened.size <= kLargestCalibrationFile) out.bytes = file.read(kLargestCalibrationFile + 1);
    if (file.error() != QFileDevice::NoError)
        out.problem = QStringLiteral("nelze ho přečíst (%1)").arg(file.errorString());
    else if (opened.size > kLargestCalibrationFile || out.bytes.size() > kLargestCalibrationFile)
        out.problem = QStringLiteral("je větší než 1 MiB, a tak to nemůže být profil kalibrace");
    if (!out.problem.isEmpty()) out.bytes.clear();
    return out;
}

// Writes `bytes` as `path` through the file guard (whole or not at all);
// the reason when that fails (and `path` is as it was).
QString writeWhole(const QString& path, const QByteArray& bytes) {
    const files::WriteOutcome written = files::writeWholeFile(path, bytes, kProfileOwner);
    if (written.fault == files::WriteFault::System) return QStringLiteral("zápis selhal (%1)").arg(written.czech());
    return written.czech();
}

// The file's new contents, laid out for a person to read; without the
// indentation when that alone would make it larger than a profile file may
// be (it is refused when read back otherwise); none when even that is too large.
std::optional<QByteArray> layOut(const QJsonObject& root) {
    for (const QJsonDocument::JsonFormat format : {QJsonDocument::Indented, QJsonDocument::Compact}) {
        QByteArray bytes = QJsonDocument(root).toJson(format);
        if (bytes.size() <= kLargestCalibrationFile) return bytes;
    }
    return std::nullopt;
}

// Keeps the bytes of a file that could not be understood beside it, under a
// name that says so and when; the copy's name, or empty with `problem`.
QString keepBeside(const QString& path, const QByteArray& bytes, QString& problem) {
    const QString stamp = QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyy-MM-dd'T'HHmmss'Z'"));
    QString copy = QStringLiteral("%1.broken-%2").arg(path, stamp);
    for (int n = 2; QFileInfo::exists(copy); ++n) copy = QStringLiteral("%1.broken-%2-%3").arg(path, stamp).arg(n);
    problem = writeWhole(copy, bytes);
    if (!problem.isEmpty()) {
        problem = QStringLiteral("nelze ho uschovat jako %1: %2").arg(copy, problem);
        return {};
    }
    return copy;
}

}  // namespace

QString defaultCalibrationFile() {
    const QString name = QStringLiteral("pristroje/calibration.json");
    const QString home = qEnvironmentVariable("HOME");
    const QString location = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (QDir::isAbsolutePath(qEnvironmentVariable("XDG_CONFIG_HOME")) ||
        (QDir::isAbsolutePath(home) && QDir::isAbsolutePath(location)))
        return QDir(location).filePath(name);
    // A relative XDG_CONFIG_HOME does not count; without a home QStandardPaths
    // would answer a folder under "/", and there is no place for the file.
    if (QDir::isAbsolutePath(home)) return QDir(home).filePath(QStringLiteral(".config/") + name);
    return {};
}

CalibrationFileContents readCalibrationFile(const QString& path) {
    CalibrationFileContents out;
    const FileBytes file = readBytes(path);
    out.exists = file.exists;
    if (!file.exists) return out;
    if (!file.problem.isEmpty()) {
        out.error = file.problem;
        return out;
    }
    QJsonObject root;
    if (!parseRoot(file.bytes, root, out.error)) return out;
    if (!readCards(root, out.cards, out.error)) out.cards.clear();
    return out;
}

QString saveCalibrationEntry(const QString& path, const QString& key,
                             const std::optional<CalibrationProfile>& profile, QString* keptAs) {
    // What is replaced: the file itself, or the file its symlink leads to.
    const QFileInfo named(path);
    const bool linked = named.isSymLink();
    const QString target = linked ? named.canonicalFilePath() : named.absoluteFilePath();
    if (target.isEmpty()) return QStringLiteral("je to odkaz na soubor, který neexistuje");
    const files::FileKind kind = files::fileKind(QFile::encodeName(target).toStdString());
    if (kind != files::FileKind::Regular && kind != files::FileKind::Missing) return files::notRegularCzech(kind);

    const QString dir = QFileInfo(target).absolutePath();
    if (!QDir().mkpath(dir)) return QStringLiteral("nelze vytvořit složku %1").arg(dir);
    // One program at a time reads, merges and writes.
    QLockFile lock(target + QStringLiteral(".lock"));
    if (!lock.tryLock(kLockWaitMs)) {
        switch (lock.error()) {
            case QLockFile::LockFailedError:
                return QStringLiteral("soubor právě ukládá jiný program; zkuste to znovu");
            case QLockFile::PermissionError: return QStringLiteral("do složky %1 nelze zapisovat").arg(dir);
            default: return QStringLiteral("soubor nelze zamknout (%1.lock)").arg(target);
        }
    }

    const FileBytes old = readBytes(target);
    if (!old.problem.isEmpty()) return old.problem;
    QJsonObject root;
    if (old.exists) {
        QString why;
        std::map<QString, CalibrationProfile> valid;
        const bool parsed = parseRoot(old.bytes, root, why);
        if (!parsed || !readCards(root, valid, why)) {
            if (linked)
                return QStringLiteral("odkaz vede na soubor, který není čitelný profil kalibrace (%1)").arg(why);
            QString problem;
            const QString copy = keepBeside(target, old.bytes, problem);
            if (copy.isEmpty()) return problem;
            if (keptAs != nullptr) *keptAs = copy;
            root = parsed ? withValidCards(root, valid) : QJsonObject();
        }
    }
    QJsonObject cards = root.value(QLatin1String("Cards")).toObject();
    if (profile)
        cards[key] = profileJson(*profile);
    else
        cards.remove(key);
    root[QLatin1String("Cards")] = cards;
    const std::optional<QByteArray> bytes = layOut(root);
    if (!bytes)
        return QStringLiteral("soubor s profily by měl víc než 1 MiB a program by ho už nenačetl; odeberte z něj "
                              "karty, které nepotřebujete");
    return writeWhole(target, *bytes);
}

}  // namespace app::calibration
