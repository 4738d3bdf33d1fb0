#include "app/command_line.h"

#include "app/audio_setup.h"
#include "app/scripting/lab_actions.h"
#include "bench/bench_rlc_parse.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QRegularExpression>

#include <cmath>
#include <limits>

namespace app {
namespace {

const char* const kDescription =
    "Classroom instruments on a sound card: an AC ammeter, an AC voltmeter and a sine\n"
    "generator with the voltmeter of its source.\n\n"
    "Actions (--do, repeatable, run in order after start-up, before --run-for):\n"
    "  menu:<entry name>              choose a menu entry as a click would\n"
    "  track:<TrackBar1|TrackBar2>=N  move a track bar to position N as the user would\n"
    "  wait:<seconds>                 let time pass\n"
    "  calibrate:ammeter=<mA>, calibrate:voltmeter=<V>, calibrate:source=<V>\n"
    "                                 the instrument's true value now (as a reference meter shows)\n"
    "  calibration:save, calibration:reset\n"
    "  lab:record=start|stop          record a point at every block, or every lab:interval=<seconds>\n"
    "  lab:point                      one point from a settled reading (the run waits for it)\n"
    "  lab:clear                      forget the recorded points\n"
    "  lab:sweep=<from>..<to>/<steps>/log|lin\n"
    "                                 a frequency sweep with TrackBar2 (the run waits for its end)\n"
    "  lab:graph=<Y>:<X>[:logx|logy|loglog]\n"
    "                                 the lab's graph, e.g. lab:graph=ImpedanceOhms:FrequencyHz; quantities:\n"
    "                                 TimeSeconds FrequencyHz CurrentMilliamps VoltageMillivolts\n"
    "                                 ImpedanceOhms PhaseDegrees PowerMilliwatts PowerFactor\n"
    "  lab:fit                        fit a line to the graph's points (--state lab.Fit)\n"
    "  lab:waveforms=freeze|run       hold the waveforms still, or let them run\n"
    "  lab:dialect=semicolon|comma    CSV: semicolon and decimal comma, or comma and decimal point\n"
    "                                 (default: the locale's)\n"
    "  lab:export=<file>.csv          the table of points (UTF-8, a header with units)\n"
    "  lab:plot=<file>.png|<file>.svg the lab's graph as shown\n"
    "A disabled or unknown menu entry, a hidden track bar, a refused calibration, a lab point that\n"
    "does not settle or a sweep that cannot run ends the run with code 2.\n\n"
    "Exit codes:\n"
    "  0  done\n"
    "  1  an input or output failed: a file that could not be read or written (--input-wav,\n"
    "     --output-wav, --snapshot, --images, --state, --print-readouts, lab:export, lab:plot),\n"
    "     a sound device that could not be opened or failed during a headless run; what could be\n"
    "     written was written\n"
    "  2  a bad command line or a refused action: an option or action that cannot be used, an\n"
    "     input file that cannot be used as one, a calibration that cannot be saved";

// Virtual time is counted in nanoseconds in 64 bits: a run of all its waits
// and --run-for together stays far within that (about 31 years).
constexpr double kLongestRunSeconds = 1e9;

// A finite number ("nan" and "inf" are not numbers of anything here).
bool parseNumber(const QString& text, double& out) {
    bool ok = false;
    out = text.toDouble(&ok);
    return ok && std::isfinite(out);
}

// The seconds of a well-formed wait:<seconds> action.
double waitSeconds(const QString& action) { return action.section(QLatin1Char(':'), 1).toDouble(); }

}  // namespace

QString checkActionSyntax(const QString& action) {
    static const QRegularExpression menu(QStringLiteral("^menu:.+$"));
    static const QRegularExpression track(QStringLiteral("^track:(TrackBar1|TrackBar2)=-?\\d+$"));
    static const QRegularExpression wait(QStringLiteral("^wait:\\d+(\\.\\d+)?$"));
    if (menu.match(action).hasMatch()) return {};
    // A position or a time is checked as what it becomes: a track bar's
    // position is a 32-bit integer, a wait a number of nanoseconds.
    if (track.match(action).hasMatch()) {
        bool ok = false;
        action.section(QLatin1Char('='), 1).toInt(&ok);
        if (ok) return {};
        return QStringLiteral("bad action \"%1\": a track bar position is a whole number from %2 to %3")
            .arg(action)
            .arg(std::numeric_limits<int>::min())
            .arg(std::numeric_limits<int>::max());
    }
    if (wait.match(action).hasMatch()) {
        if (waitSeconds(action) <= kLongestRunSeconds) return {};
        return QStringLiteral("bad action \"%1\": a wait lasts at most %2 seconds")
            .arg(action)
            .arg(kLongestRunSeconds, 0, 'f', 0);
    }
    static const QRegularExpression calibrate(
        QStringLiteral("^calibrate:(ammeter|voltmeter|source)=-?\\d+(\\.\\d+)?$"));
    static const QRegularExpression calibration(QStringLiteral("^calibration:(save|reset)$"));
    if (calibrate.match(action).hasMatch() || calibration.match(action).hasMatch()) return {};
    if (scripting::isLabAction(action)) return scripting::checkLabActionSyntax(action);
    return QStringLiteral("bad action \"%1\": expected menu:<entry name>, track:<TrackBar1|TrackBar2>=<position> "
                          "wait:<seconds>, calibrate:<ammeter|voltmeter|source>=<value> or "
                          "calibration:<save|reset>")
        .arg(action);
}

ParseResult parseCommandLine(const QStringList& arguments) {
    QCommandLineParser p;
    p.setApplicationDescription(QString::fromUtf8(kDescription));
    p.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help."));
    const QCommandLineOption version(QStringLiteral("version"), QStringLiteral("Show the version."));
    QStringList backends;
    for (const AudioBackend& b : audioBackends())
        backends << QStringLiteral("%1 (%2)").arg(QLatin1String(b.name), QLatin1String(b.description));
    const QCommandLineOption audio(QStringLiteral("audio"), QStringLiteral("Sound: %1.").arg(backends.join(", ")),
                                   QStringLiteral("mode"), QLatin1String(audioBackends().front().name));
    const QCommandLineOption inDev(QStringLiteral("input-device"), QStringLiteral("ALSA capture PCM."),
                                   QStringLiteral("name"), QStringLiteral("default"));
    const QCommandLineOption outDev(QStringLiteral("output-device"), QStringLiteral("ALSA playback PCM."),
                                    QStringLiteral("name"), QStringLiteral("default"));
    const QCommandLineOption mixDev(QStringLiteral("mixer-device"), QStringLiteral("ALSA mixer (ctl)."),
                                    QStringLiteral("name"), QStringLiteral("default"));
    const QCommandLineOption inWav(QStringLiteral("input-wav"),
                                   QStringLiteral("WAV file as line input (with --audio=file)."),
                                   QStringLiteral("file"));
    const QCommandLineOption outWav(QStringLiteral("output-wav"),
                                    QStringLiteral("Also write what the generator plays to this WAV file."),
                                    QStringLiteral("file"));
    const QCommandLineOption loop(QStringLiteral("loop"), QStringLiteral("Repeat the input WAV file."));
    const QCommandLineOption load(QStringLiteral("bench-load"),
                                  QStringLiteral("Bench: load resistor in ohms (default 100)."),
                                  QStringLiteral("ohms"), QStringLiteral("100"));
    const QCommandLineOption circuit(QStringLiteral("bench-circuit"),
                                     QStringLiteral("Bench: a series R, L, C load instead of the resistor, e.g. "
                                                    "R=100,C=10u or R=10,L=100m,C=10u (prefixes p n u m k M)."),
                                     QStringLiteral("elements"));
    const QCommandLineOption noise(QStringLiteral("bench-noise"),
                                   QStringLiteral("Bench: RMS of the noise added at the line input, in sample "
                                                  "units (default 0)."),
                                   QStringLiteral("level"), QStringLiteral("0"));
    const QCommandLineOption seed(QStringLiteral("bench-seed"), QStringLiteral("Bench: seed of the noise."),
                                  QStringLiteral("n"), QStringLiteral("1"));
    const QCommandLineOption list(QStringLiteral("list-devices"),
                                  QStringLiteral("List the capture and playback PCMs and the mixers."));
    const QCommandLineOption headless(QStringLiteral("headless"),
                                      QStringLiteral("Run without a window, on virtual time."));
    const QCommandLineOption runFor(QStringLiteral("run-for"),
                                    QStringLiteral("Run for this many seconds (headless)."),
                                    QStringLiteral("seconds"), QStringLiteral("0"));
    const QCommandLineOption doAction(QStringLiteral("do"), QStringLiteral("An action (see above)."),
                                      QStringLiteral("action"));
    const QCommandLineOption snapshot(QStringLiteral("snapshot"),
                                      QStringLiteral("Write the client area as shown to a PNG file."),
                                      QStringLiteral("file"));
    const QCommandLineOption images(QStringLiteral("images"),
                                    QStringLiteral("Write Image1..Image5 as PNG files into this folder."),
                                    QStringLiteral("dir"));
    const QCommandLineOption state(QStringLiteral("state"),
                                   QStringLiteral("Write controls, menu, state, audio, mixer and errors as JSON."),
                                   QStringLiteral("file"));
    const QCommandLineOption readouts(QStringLiteral("print-readouts"),
                                      QStringLiteral("Print the readings at the end of a headless run."));
    p.addOptions({help, version, audio, inDev, outDev, mixDev, inWav, outWav, loop, load, circuit, noise, seed, list,
                  headless, runFor, doAction, snapshot, images, state, readouts});
    const QCommandLineOption fullScreen(
        QStringLiteral("fullscreen"), QStringLiteral("Start full screen (F11 switches it in the window, Esc leaves it)."));
    const QCommandLineOption scale(QStringLiteral("scale"),
                                   QStringLiteral("Scale the whole window by a factor from 0.5 to 4, or auto: the "
                                                  "largest factor at which the window fits its screen."),
                                   QStringLiteral("factor"));
    p.addOptions({fullScreen, scale});
    const QCommandLineOption inputGain(QStringLiteral("bench-input-gain"),
                                       QStringLiteral("Bench: the card's line input is this many times as "
                                                      "sensitive as the reference card's (default 1)."),
                                       QStringLiteral("factor"), QStringLiteral("1"));
    const QCommandLineOption outputGain(QStringLiteral("bench-output-gain"),
                                        QStringLiteral("Bench: the card's output is this many times as strong "
                                                       "as the reference card's (default 1)."),
                                        QStringLiteral("factor"), QStringLiteral("1"));
    const QCommandLineOption calibrateWindow(QStringLiteral("calibrate"),
                                             QStringLiteral("Open the calibration window beside the main window."));
    const QCommandLineOption calibrationFile(QStringLiteral("calibration"),
                                             QStringLiteral("Calibration profiles from this file instead of "
                                                            "~/.config/pristroje/calibration.json."),
                                             QStringLiteral("file"));
    const QCommandLineOption noCalibration(QStringLiteral("no-calibration"),
                                           QStringLiteral("Apply no calibration profile: the reference card's "
                                                          "constants."));
    p.addOptions({inputGain, outputGain, calibrateWindow, calibrationFile, noCalibration});
    const QCommandLineOption labWindow(QStringLiteral("lab"),
                                       QStringLiteral("Open the lab window (\"Měření a grafy\": waveforms, "
                                                      "records, graphs, sweeps) beside the main window; Ctrl+M "
                                                      "in the main window opens it too."));
    p.addOption(labWindow);

    ParseResult result;
    if (!p.parse(arguments)) {
        result.exitCode = 2;
        result.message = p.errorText();
        return result;
    }
    if (p.isSet(help)) {
        result.message = p.helpText().replace(QStringLiteral("<executable_name>"), QStringLiteral("pristroje"));
        return result;
    }
    if (p.isSet(version)) {
        result.message = QStringLiteral("pristroje %1").arg(QStringLiteral(PRISTROJE_VERSION));
        return result;
    }
    if (!p.positionalArguments().isEmpty()) {
        result.exitCode = 2;
        result.message = QStringLiteral("unexpected argument \"%1\"").arg(p.positionalArguments().first());
        return result;
    }

    Options o;
    o.audio = p.value(audio);
    if (findAudioBackend(o.audio) == nullptr) {
        result.exitCode = 2;
        result.message = QStringLiteral("unknown --audio mode \"%1\": use %2").arg(o.audio, audioBackendNames());
        return result;
    }
    o.inputDevice = p.value(inDev);
    o.outputDevice = p.value(outDev);
    o.mixerDevice = p.value(mixDev);
    o.inputWav = p.value(inWav);
    o.outputWav = p.value(outWav);
    o.loop = p.isSet(loop);
    o.listDevices = p.isSet(list);
    o.headless = p.isSet(headless);
    o.actions = p.values(doAction);
    o.snapshot = p.value(snapshot);
    o.imagesDir = p.value(images);
    o.stateFile = p.value(state);
    o.printReadouts = p.isSet(readouts);
    o.fullScreen = p.isSet(fullScreen);
    o.scale = p.value(scale);
    o.calibrate = p.isSet(calibrateWindow);
    o.calibrationFile = p.value(calibrationFile);
    o.noCalibration = p.isSet(noCalibration);
    o.lab = p.isSet(labWindow);

    auto fail = [&](const QString& message) {
        result.exitCode = 2;
        result.message = message;
        return result;
    };
    if (!parseNumber(p.value(load), o.benchLoad) || o.benchLoad <= 0)
        return fail(QStringLiteral("--bench-load takes a resistance in ohms above 0"));
    if (p.isSet(circuit)) {
        if (p.isSet(load)) return fail(QStringLiteral("--bench-load and --bench-circuit cannot be used together"));
        const bench::BenchRlcParse parsed = bench::parseBenchRlc(p.value(circuit).toStdString());
        if (!parsed.load)
            return fail(QStringLiteral("--bench-circuit: %1").arg(QString::fromStdString(parsed.error)));
        o.benchCircuit = parsed.load;
    }
    if (!parseNumber(p.value(noise), o.benchNoise) || o.benchNoise < 0)
        return fail(QStringLiteral("--bench-noise takes a level of 0 or more"));
    bool seedOk = false;
    o.benchSeed = p.value(seed).toUInt(&seedOk, 10);
    if (!seedOk) return fail(QStringLiteral("--bench-seed takes a whole number from 0 to 4294967295"));
    if (!parseNumber(p.value(inputGain), o.benchInputGain) || !(o.benchInputGain > 0))
        return fail(QStringLiteral("--bench-input-gain takes a factor above 0"));
    if (!parseNumber(p.value(outputGain), o.benchOutputGain) || !(o.benchOutputGain > 0))
        return fail(QStringLiteral("--bench-output-gain takes a factor above 0"));
    if (!parseNumber(p.value(runFor), o.runFor) || o.runFor < 0 || o.runFor > kLongestRunSeconds)
        return fail(
            QStringLiteral("--run-for takes a number of seconds from 0 to %1").arg(kLongestRunSeconds, 0, 'f', 0));
    if (o.audio == QLatin1String("file") && o.inputWav.isEmpty())
        return fail(QStringLiteral("--audio=file needs --input-wav FILE"));
    if (!o.scale.isEmpty() && o.scale != QLatin1String("auto")) {
        double factor = 0;
        if (!parseNumber(o.scale, factor) || !(factor >= 0.5 && factor <= 4.0))
            return fail(QStringLiteral("--scale takes a factor from 0.5 to 4, or auto"));
    }
    double runSeconds = o.runFor;
    for (const QString& a : o.actions) {
        const QString problem = checkActionSyntax(a);
        if (!problem.isEmpty()) return fail(problem);
        if (a.startsWith(QLatin1String("wait:"))) runSeconds += waitSeconds(a);
    }
    if (runSeconds > kLongestRunSeconds)
        return fail(QStringLiteral("the waits and --run-for add up to more than %1 seconds")
                        .arg(kLongestRunSeconds, 0, 'f', 0));
    // In the window, --snapshot and --state are written when the standard input ends (window_report.h).
    const bool headlessOnly = !o.actions.isEmpty() || !o.imagesDir.isEmpty() || o.printReadouts;
    if (headlessOnly && !o.headless)
        return fail(QStringLiteral("--do, --images and --print-readouts need --headless"));
    result.options = o;
    return result;
}

}  // namespace app
