#include "app/command_line.h"

#include <QHostAddress>

#include "app/audio_setup.h"
#include "bench/bench_rlc_parse.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cmath>
#include <vector>

namespace app {
namespace {

const char* const kAbout =
    "Classroom instruments on a sound card: an AC ammeter, an AC voltmeter and a sine\n"
    "generator with the voltmeter of its source.";

const char* const kExitCodes =
    "Exit codes:\n"
    "  0  done\n"
    "  1  an input or output failed: a file that could not be read or written (--input-wav,\n"
    "     --output-wav, --snapshot, --images, --state, --print-readouts, lab:export, lab:plot),\n"
    "     a sound device that could not be opened or failed during a headless run; what could be\n"
    "     written was written\n"
    "  2  a bad command line or a refused action: an option or action that cannot be used, an\n"
    "     input file that cannot be used as one, a calibration that cannot be saved; no display\n"
    "     for the window without --headless\n"
    "  128+n  a headless run stopped by SIGTERM, SIGINT or SIGHUP (143, 130, 129) after writing\n"
    "     its outputs\n"
    "A headless wait for sound (lab:point, lab:sweep) ends 3 s after its device last delivered\n"
    "sound, or at once when the device fails (code 1).";

const char* const kActionEnd =
    "A disabled or unknown menu entry, a hidden track bar, a refused calibration, a lab point that\n"
    "does not settle or a sweep that cannot run ends the run with code 2. After a failed action no\n"
    "more actions are done, but every output is written (lab:export and lab:plot among them).";

// A finite number ("nan" and "inf" are not numbers of anything here).
bool parseNumber(const QString& text, double& out) {
    bool ok = false;
    out = text.toDouble(&ok);
    return ok && std::isfinite(out);
}

// What one option gives: its value (the default when not given) and whether it was given.
struct Given {
    QString value;
    bool set = false;
};

// One option of the command line: its names, its line of --help, its value's
// name and default (none: a switch), and what it sets in the options (the
// reason when its value cannot be used).
struct OptionRow {
    QStringList names;
    const char* help;
    const char* valueName = nullptr;
    const char* defaultValue = nullptr;
    QString (*read)(const Given& given, Options& o) = nullptr;
};

QString positiveFactor(const Given& g, double& out, const char* option) {
    if (!parseNumber(g.value, out) || !(out > 0)) return QStringLiteral("%1 takes a factor above 0").arg(QLatin1String(option));
    return {};
}

// The options, in the order --help lists them. --help, --version and --audio
// (whose text names the backends) are made apart.
const std::vector<OptionRow>& optionTable() {
    static const std::vector<OptionRow> rows{
        {{"input-device"}, "ALSA capture PCM.", "name", "default",
         [](const Given& g, Options& o) { o.inputDevice = g.value; return QString(); }},
        {{"output-device"}, "ALSA playback PCM.", "name", "default",
         [](const Given& g, Options& o) { o.outputDevice = g.value; return QString(); }},
        {{"mixer-device"}, "ALSA mixer (ctl).", "name", "default",
         [](const Given& g, Options& o) { o.mixerDevice = g.value; return QString(); }},
        {{"input-wav"}, "WAV file as line input (with --audio=file).", "file", nullptr,
         [](const Given& g, Options& o) { o.inputWav = g.value; return QString(); }},
        {{"output-wav"}, "Also write what the generator plays to this WAV file.", "file", nullptr,
         [](const Given& g, Options& o) { o.outputWav = g.value; return QString(); }},
        {{"loop"}, "Repeat the input WAV file.", nullptr, nullptr,
         [](const Given& g, Options& o) { o.loop = g.set; return QString(); }},
        {{"bench-load"}, "Bench: load resistor in ohms (default 100).", "ohms", "100",
         [](const Given& g, Options& o) {
             if (!parseNumber(g.value, o.benchLoad) || o.benchLoad <= 0)
                 return QStringLiteral("--bench-load takes a resistance in ohms above 0");
             return QString();
         }},
        {{"bench-circuit"},
         "Bench: a series R, L, C load instead of the resistor, e.g. R=100,C=10u or R=10,L=100m,C=10u (prefixes p n "
         "u m k M).",
         "elements", nullptr,
         [](const Given& g, Options& o) {
             if (!g.set) return QString();
             const bench::BenchRlcParse parsed = bench::parseBenchRlc(g.value.toStdString());
             if (!parsed.load) return QStringLiteral("--bench-circuit: %1").arg(QString::fromStdString(parsed.error));
             o.benchCircuit = parsed.load;
             return QString();
         }},
        {{"bench-noise"}, "Bench: RMS of the noise added at the line input, in sample units (default 0).", "level",
         "0",
         [](const Given& g, Options& o) {
             if (!parseNumber(g.value, o.benchNoise) || o.benchNoise < 0)
                 return QStringLiteral("--bench-noise takes a level of 0 or more");
             return QString();
         }},
        {{"bench-seed"}, "Bench: seed of the noise.", "n", "1",
         [](const Given& g, Options& o) {
             bool ok = false;
             o.benchSeed = g.value.toUInt(&ok, 10);
             return ok ? QString() : QStringLiteral("--bench-seed takes a whole number from 0 to 4294967295");
         }},
        {{"list-devices"}, "List the capture and playback PCMs and the mixers.", nullptr, nullptr,
         [](const Given& g, Options& o) { o.listDevices = g.set; return QString(); }},
        {{"headless"}, "Run without a window, on virtual time.", nullptr, nullptr,
         [](const Given& g, Options& o) { o.headless = g.set; return QString(); }},
        {{"run-for"}, "Run for this many seconds (headless).", "seconds", "0",
         [](const Given& g, Options& o) {
             if (!parseNumber(g.value, o.runFor) || o.runFor < 0 || o.runFor > kLongestRunSeconds)
                 return QStringLiteral("--run-for takes a number of seconds from 0 to %1")
                     .arg(kLongestRunSeconds, 0, 'f', 0);
             return QString();
         }},
        {{"do"}, "An action (see above).", "action", nullptr, nullptr},  // read with every value, below
        {{"snapshot"}, "Write the client area as shown to a PNG file.", "file", nullptr,
         [](const Given& g, Options& o) { o.snapshot = g.value; return QString(); }},
        {{"images"}, "Write Image1..Image5 as PNG files into this folder.", "dir", nullptr,
         [](const Given& g, Options& o) { o.imagesDir = g.value; return QString(); }},
        {{"state"}, "Write controls, menu, state, audio, mixer and errors as JSON.", "file", nullptr,
         [](const Given& g, Options& o) { o.stateFile = g.value; return QString(); }},
        {{"print-readouts"}, "Print the readings at the end of a headless run.", nullptr, nullptr,
         [](const Given& g, Options& o) { o.printReadouts = g.set; return QString(); }},
        {{"fullscreen"}, "Start full screen (F11 switches it in the window, Esc leaves it).", nullptr, nullptr,
         [](const Given& g, Options& o) { o.fullScreen = g.set; return QString(); }},
        {{"scale"},
         "Scale the whole window by a factor from 0.5 to 4, or auto: the largest factor at which the window fits "
         "its screen.",
         "factor", nullptr,
         [](const Given& g, Options& o) {
             o.scale = g.value;
             if (!g.set || o.scale == QLatin1String("auto")) return QString();
             double factor = 0;
             if (!parseNumber(o.scale, factor) || !(factor >= 0.5 && factor <= 4.0))
                 return QStringLiteral("--scale takes a factor from 0.5 to 4, or auto");
             return QString();
         }},
        {{"bench-input-gain"},
         "Bench: the card's line input is this many times as sensitive as the reference card's (default 1).",
         "factor", "1", [](const Given& g, Options& o) { return positiveFactor(g, o.benchInputGain, "--bench-input-gain"); }},
        {{"bench-output-gain"}, "Bench: the card's output is this many times as strong as the reference card's (default 1).",
         "factor", "1",
         [](const Given& g, Options& o) { return positiveFactor(g, o.benchOutputGain, "--bench-output-gain"); }},
        {{"calibrate"}, "Open the calibration window beside the main window.", nullptr, nullptr,
         [](const Given& g, Options& o) { o.calibrate = g.set; return QString(); }},
        {{"calibration"}, "Calibration profiles from this file instead of ~/.config/pristroje/calibration.json.",
         "file", nullptr, [](const Given& g, Options& o) { o.calibrationFile = g.value; return QString(); }},
        {{"no-calibration"}, "Apply no calibration profile: the reference card's constants.", nullptr, nullptr,
         [](const Given& g, Options& o) { o.noCalibration = g.set; return QString(); }},
        {{"lab"},
         "Open the lab window (\"Měření a grafy\": waveforms, records, graphs, sweeps) beside the main window; "
         "Ctrl+M or the menu entry \"Měření a grafy (Ctrl+M)\" in the main window opens it too.",
         nullptr, nullptr, [](const Given& g, Options& o) { o.lab = g.set; return QString(); }},
        {{"class-view"},
         "Serve the class view (the live values and the lab, read-only, to the students' browsers) on this port, "
         "of every network interface or of ADDRESS alone; prints \"class-view http://ADDRESS:PORT/?k=TOKEN\" once "
         "it listens. Headless, time runs as the wall clock's and it serves for --run-for seconds.",
         "[address:]port", nullptr,
         [](const Given& g, Options& o) {
             if (!g.set) return QString();
             const QString host = g.value.contains(QLatin1Char(':')) ? g.value.section(QLatin1Char(':'), 0, -2) : QString();
             bool ok = false;
             const uint port = g.value.section(QLatin1Char(':'), -1).toUInt(&ok);
             QHostAddress address(QHostAddress::AnyIPv4);
             if (!ok || port > 65535 || (!host.isEmpty() && !address.setAddress(host)) ||
                 address.protocol() != QAbstractSocket::IPv4Protocol)
                 return QStringLiteral("--class-view takes [ADDRESS:]PORT, an IPv4 address and a port from 0 to 65535");
             o.classView = ClassViewPlace{address, static_cast<quint16>(port)};
             return QString();
         }},
    };
    return rows;
}

QCommandLineOption optionOf(const OptionRow& row) {
    QCommandLineOption option(row.names, QString::fromUtf8(row.help));
    if (row.valueName != nullptr) option.setValueName(QString::fromLatin1(row.valueName));
    if (row.defaultValue != nullptr) option.setDefaultValue(QString::fromLatin1(row.defaultValue));
    return option;
}

QString description(std::span<const ActionFamily> families) {
    QString text = QString::fromUtf8(kAbout) +
                   QStringLiteral("\n\nActions (--do, repeatable, run in order after start-up, before --run-for):\n");
    for (const ActionFamily& f : families) text += QString::fromUtf8(f.help);
    return text + QString::fromUtf8(kActionEnd) + QStringLiteral("\n\n") + QString::fromUtf8(kExitCodes);
}

}  // namespace

QString checkAction(const QString& action, std::span<const ActionFamily> families) {
    for (const ActionFamily& f : families)
        if (f.owns(action)) return f.check(action);
    QStringList forms;
    for (const ActionFamily& f : families) forms << QString::fromUtf8(f.forms);
    return QStringLiteral("bad action \"%1\": expected %2").arg(action, forms.join(QStringLiteral(", ")));
}

ParseResult parseCommandLine(const QStringList& arguments, std::span<const ActionFamily> families) {
    QCommandLineParser p;
    p.setApplicationDescription(description(families));
    p.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help."));
    const QCommandLineOption version(QStringLiteral("version"), QStringLiteral("Show the version."));
    QStringList backends;
    for (const AudioBackend& b : audioBackends())
        backends << QStringLiteral("%1 (%2)").arg(QLatin1String(b.name), QLatin1String(b.description));
    const QCommandLineOption audio(QStringLiteral("audio"), QStringLiteral("Sound: %1.").arg(backends.join(", ")),
                                   QStringLiteral("mode"), QLatin1String(audioBackends().front().name));
    p.addOptions({help, version, audio});
    std::vector<QCommandLineOption> options;
    for (const OptionRow& row : optionTable()) {
        options.push_back(optionOf(row));
        p.addOption(options.back());
    }

    ParseResult result;
    auto fail = [&](const QString& message) {
        result.exitCode = 2;
        result.message = message;
        result.options.reset();
        return result;
    };
    if (!p.parse(arguments)) return fail(p.errorText());
    if (p.isSet(help)) {
        result.message = p.helpText().replace(QStringLiteral("<executable_name>"), QStringLiteral("pristroje"));
        return result;
    }
    if (p.isSet(version)) {
        result.message = QStringLiteral("pristroje %1").arg(QStringLiteral(PRISTROJE_VERSION));
        return result;
    }
    if (!p.positionalArguments().isEmpty())
        return fail(QStringLiteral("unexpected argument \"%1\"").arg(p.positionalArguments().first()));

    Options o;
    o.audio = p.value(audio);
    if (findAudioBackend(o.audio) == nullptr)
        return fail(QStringLiteral("unknown --audio mode \"%1\": use %2").arg(o.audio, audioBackendNames()));
    for (std::size_t i = 0; i < options.size(); ++i) {
        const OptionRow& row = optionTable()[i];
        if (row.read == nullptr) continue;
        if (const QString problem = row.read(Given{p.value(options[i]), p.isSet(options[i])}, o); !problem.isEmpty())
            return fail(problem);
    }
    o.actions = p.values(QStringLiteral("do"));

    // What one option cannot tell alone.
    if (p.isSet(QStringLiteral("bench-circuit")) && p.isSet(QStringLiteral("bench-load")))
        return fail(QStringLiteral("--bench-load and --bench-circuit cannot be used together"));
    if (o.audio == QLatin1String("file") && o.inputWav.isEmpty())
        return fail(QStringLiteral("--audio=file needs --input-wav FILE"));
    double runSeconds = o.runFor;
    for (const QString& a : o.actions) {
        if (const QString problem = checkAction(a, families); !problem.isEmpty()) return fail(problem);
        for (const ActionFamily& f : families)
            if (f.owns(a) && f.seconds != nullptr) runSeconds += f.seconds(a);
    }
    if (runSeconds > kLongestRunSeconds)
        return fail(QStringLiteral("the waits and --run-for add up to more than %1 seconds")
                        .arg(kLongestRunSeconds, 0, 'f', 0));
    // In the window, --snapshot and --state are written when the standard input ends (window_report.h).
    const bool headlessOnly = !o.actions.isEmpty() || !o.imagesDir.isEmpty() || o.printReadouts;
    if (headlessOnly && !o.headless) return fail(QStringLiteral("--do, --images and --print-readouts need --headless"));
    result.options = o;
    return result;
}

}  // namespace app
