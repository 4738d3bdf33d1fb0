#pragma once
// Writes a whole file or nothing: through a temporary file that replaces the
// old one only when everything was written (QSaveFile).
#include <QByteArray>
#include <QString>
#include <functional>

class QIODevice;

namespace lab {

// `write` writes the contents to the device and says whether it could.
// Returns "" or why the file could not be written (the system's words).
QString saveWhole(const QString& path, const std::function<bool(QIODevice&)>& write);
QString saveWhole(const QString& path, const QByteArray& contents);

}  // namespace lab
