#pragma once
// What the command line asks of one run of the program.
#include "bench/bench_rlc.h"

#include <QHostAddress>
#include <QString>
#include <QStringList>
#include <optional>

namespace app {

struct ClassViewPlace {
    QHostAddress address;  // AnyIPv4: every interface
    quint16 port = 0;      // 0: one the system picks
};

struct Options {
    QString audio = QStringLiteral("alsa");  // alsa | bench | file | sim
    QString inputDevice = QStringLiteral("default");
    QString outputDevice = QStringLiteral("default");
    QString mixerDevice = QStringLiteral("default");
    QString inputWav;
    QString outputWav;
    bool loop = false;
    double benchLoad = 100.0;   // ohms
    std::optional<bench::BenchRlc> benchCircuit;  // --bench-circuit: a series R, L, C load instead
    double benchNoise = 0.0;    // noise RMS, in sample units of the line input
    quint32 benchSeed = 1;
    bool listDevices = false;
    double benchInputGain = 1.0;   // bench: the card's line input against the reference card
    double benchOutputGain = 1.0;  // bench: the card's output level against the reference card

    bool calibrate = false;   // --calibrate: the calibration window beside the main window
    QString calibrationFile;  // --calibration FILE, instead of the default file
    bool noCalibration = false;  // --no-calibration: no profile applies at start

    // --class-view [ADDRESS:]PORT: the class view serving from the start.
    std::optional<ClassViewPlace> classView;
    bool lab = false;  // --lab: the lab window ("Měření a grafy") beside the main window

    bool headless = false;
    double runFor = 0.0;  // seconds of virtual (or, with real sound, wall) time
    QStringList actions;  // --do, in order
    QString snapshot;
    QString imagesDir;
    QString stateFile;
    bool printReadouts = false;

    // The window on a projector: start full screen; scale the whole window by
    // a factor (0.5 .. 4) or "auto" (the largest that fits the screen); empty: 1.
    bool fullScreen = false;
    QString scale;
};

}  // namespace app
