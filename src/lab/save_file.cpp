#include "lab/save_file.h"

#include <QSaveFile>

namespace lab {

QString saveWhole(const QString& path, const std::function<bool(QIODevice&)>& write) {
    if (path.isEmpty()) return QStringLiteral("no file name");
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return file.errorString();
    if (!write(file)) {
        const QString problem = file.errorString();
        file.cancelWriting();
        return problem.isEmpty() || problem == QLatin1String("Unknown error") ? QStringLiteral("write failed")
                                                                              : problem;
    }
    if (!file.commit()) return file.errorString();
    return {};
}

QString saveWhole(const QString& path, const QByteArray& contents) {
    return saveWhole(path, [&contents](QIODevice& device) { return device.write(contents) == contents.size(); });
}

}  // namespace lab
