#pragma once
// The program with its real window, as the window tests drive it: started
// with --state and --snapshot in a folder of its own, it says on its standard
// output each time its window has been painted at a new size or state
// ("shown ..."); the tests wait for that sign, never for a fixed time. Closing
// its standard input makes it write the state and the snapshot and end.
#include <QImage>
#include <QProcess>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <optional>
#include <string>

namespace gui {

// One "shown" line: in screen pixels, the window without its frame, and the
// instruments (the client area's stage) in it.
struct Shown {
    QSize window;
    bool fullScreen = false;
    QRect stage;
};
std::optional<Shown> parseShown(const QString& line);

class WindowRun {
public:
    explicit WindowRun(const QProcessEnvironment& environment);
    ~WindowRun();

    // Starts the program with `arguments` (after --state and --snapshot).
    bool start(const QStringList& arguments);
    // Waits until the window says it is shown as `wanted` asks; the last
    // such sign, or nothing (the program ended, or `timeoutMs` passed).
    std::optional<Shown> waitShown(const std::function<bool(const Shown&)>& wanted, int timeoutMs = 60000);
    // Ends the standard input and waits for the end: the exit code (-1 when
    // it did not end normally).
    int finish();

    qint64 pid() const { return process_.processId(); }
    QString path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }
    // What the program wrote on stderr so far, and the signs it gave (for
    // the message of a failure).
    QString errors();
    std::string story();
    // Keeps the folder (its screenshots, to look at after a failure).
    void keep() { dir_.setAutoRemove(false); }

private:
    QTemporaryDir dir_;
    QProcess process_;
    QByteArray pending_;  // stdout not yet split into lines
    QByteArray stderr_;
    QStringList shown_;  // every sign, in order
};

// How many pixels of two images of one size differ by more than `tolerance`
// in some colour channel (-1: the sizes differ).
int pixelsApart(const QImage& a, const QImage& b, int tolerance);

// What of a picture of the client area is not the spare room around the
// instruments: the instruments' rectangle.
QRect instrumentsIn(const QImage& clientArea);

}  // namespace gui
