#include "app/run_files.h"

#include "platform/files/guarded_files.h"
#include "platform/files/file_identity.h"
#include "platform/files/regular_file.h"

#include <QDir>
#include <vector>

namespace app {
namespace {

namespace files = platform::files;

constexpr const char* kImageNames[] = {"Image1", "Image2", "Image3", "Image4", "Image5"};

// Every file of the run that no other write may go over.
std::vector<files::GuardedFile> runFiles(const Options& options, const QString& calibrationFile) {
    std::vector<files::GuardedFile> out;
    auto add = [&out](const QString& path, const QString& owner, const QString& english, const QString& czech) {
        if (!path.isEmpty()) out.push_back({path, owner, english, czech});
    };
    add(calibrationFile, kProfileOwner,
        QStringLiteral("the calibration profile file '%1'").arg(calibrationFile),
        QStringLiteral("soubor s profily kalibrace"));
    if (options.audio == QLatin1String("file"))
        add(options.inputWav, {}, QStringLiteral("the file this run reads (--input-wav '%1')").arg(options.inputWav),
            QStringLiteral("nahrávka, kterou program čte (--input-wav)"));
    add(options.outputWav, QStringLiteral("--output-wav"),
        QStringLiteral("the recording --output-wav '%1' writes").arg(options.outputWav),
        QStringLiteral("nahrávka, kterou program zapisuje (--output-wav)"));
    add(options.stateFile, QStringLiteral("--state"),
        QStringLiteral("the file --state '%1' writes").arg(options.stateFile),
        QStringLiteral("soubor, do kterého program zapíše svůj stav (--state)"));
    add(options.snapshot, QStringLiteral("--snapshot"),
        QStringLiteral("the picture --snapshot '%1' writes").arg(options.snapshot),
        QStringLiteral("obrázek, který program zapíše (--snapshot)"));
    if (!options.imagesDir.isEmpty())
        for (const char* name : kImageNames) {
            const QString image = QDir(options.imagesDir).filePath(QStringLiteral("%1.png").arg(QLatin1String(name)));
            add(image, QStringLiteral("--images"), QStringLiteral("a picture --images '%1' writes").arg(image),
                QStringLiteral("obrázek, který program zapíše (--images)"));
        }
    return out;
}

// The outputs to check against the guarded files: each option's file, and
// the files of lab:export / lab:plot (which have no owner).
std::vector<std::pair<QString, QString>> outputsOf(const Options& options,
                                                   const std::vector<files::GuardedFile>& guarded) {
    std::vector<std::pair<QString, QString>> out;  // what names it, path
    for (const files::GuardedFile& file : guarded)
        if (!file.owner.isEmpty() && file.owner != kProfileOwner) out.emplace_back(file.owner, file.path);
    for (const QString& action : options.actions)
        for (const char* kind : {"lab:export=", "lab:plot="})
            if (action.startsWith(QLatin1String(kind)))
                out.emplace_back(action.section(QLatin1Char('='), 0, 0), action.section(QLatin1Char('='), 1));
    return out;
}

}  // namespace

QString checkRunFiles(const Options& options, const QString& calibrationFile) {
    std::vector<files::GuardedFile> guarded = runFiles(options, calibrationFile);
    files::guardFiles(guarded);
    for (const auto& [option, path] : outputsOf(options, guarded)) {
        const QString owner = option.startsWith(QLatin1String("lab:")) ? QString() : option;
        if (const auto over = files::guardedFileAt(path, owner)) {
            files::guardFiles({});
            return QStringLiteral("%1 '%2' is %3; it would be written over").arg(option, path, over->english);
        }
    }
    if (!options.outputWav.isEmpty()) {
        const files::FileKind kind = files::fileKind(files::nativePath(options.outputWav));
        if (kind != files::FileKind::Missing && kind != files::FileKind::Regular) {
            files::guardFiles({});
            return QStringLiteral("--output-wav '%1' is %2, not a regular file")
                .arg(options.outputWav, QLatin1String(files::fileKindText(kind)));
        }
    }
    return {};
}

}  // namespace app
