// The headers most of the program's sources include, compiled once per
// target (cmake/precompiled_headers.cmake). Each Qt module's headers only
// where the target links that module (its QT_*_LIB definition says so).
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#ifdef QT_CORE_LIB
#include <QByteArray>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QObject>
#include <QPointer>
#include <QProcess>
#include <QRect>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#endif

#ifdef QT_GUI_LIB
#include <QAction>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QShortcut>
#include <QTransform>
#endif

#ifdef QT_WIDGETS_LIB
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QSlider>
#include <QWidget>
#endif
