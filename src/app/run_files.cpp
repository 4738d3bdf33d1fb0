#include "app/run_files.h"

#include "platform/files/regular_file.h"

#include <QFile>
#include <utility>
#include <vector>

namespace app {
namespace {

namespace files = platform::files;

std::string native(const QString& path) { return QFile::encodeName(path).toStdString(); }

}  // namespace

QString checkRunFiles(const Options& options, const QString& calibrationFile) {
    std::vector<std::pair<const char*, QString>> inputs{{"--calibration", calibrationFile}};
    if (options.audio == QLatin1String("file")) inputs.emplace_back("--input-wav", options.inputWav);
    const std::pair<const char*, QString> outputs[] = {
        {"--output-wav", options.outputWav}, {"--state", options.stateFile}, {"--snapshot", options.snapshot}};
    for (const auto& [outputOption, output] : outputs) {
        if (output.isEmpty()) continue;
        // Only a regular file can be lost: /dev/null may be both.
        for (const auto& [inputOption, input] : inputs)
            if (!input.isEmpty() && files::fileKind(native(input)) == files::FileKind::Regular &&
                files::sameFile(native(output), native(input)))
                return QStringLiteral("%1 '%2' is the file this run reads (%3 '%4'); it would be written over")
                    .arg(QLatin1String(outputOption), output, QLatin1String(inputOption), input);
    }
    if (!options.outputWav.isEmpty()) {
        const files::FileKind kind = files::fileKind(native(options.outputWav));
        if (kind != files::FileKind::Missing && kind != files::FileKind::Regular)
            return QStringLiteral("--output-wav '%1' is %2, not a regular file")
                .arg(options.outputWav, QLatin1String(files::fileKindText(kind)));
    }
    return {};
}

}  // namespace app
