// The lab headless on the virtual bench, against the bench's truth: a
// resonance sweep finds the peak and |Z| there, a logarithmic sweep draws the
// whole curve within a minute of sound and puts the generator back, Ohm's law
// fitted on eight amplitudes gives the resistance, the waveforms show the
// phase of a capacitor, and both CSV dialects read back as numbers.
#include "support/program_run.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

using testsupport::runForState;

// |Z| of a series R, L, C at f.
double seriesImpedance(double r, double l, double c, double hz) {
    const double w = 2 * std::numbers::pi * hz;
    return std::hypot(r, w * l - 1 / (w * c));
}

// The CSV read back with Python's csv module: the header, then every row as
// numbers (an empty field as nan); "" and a message on stderr when it fails.
struct Table {
    QStringList header;
    std::vector<std::vector<double>> rows;
};

Table readWithPython(const QString& path, char delimiter, char decimal) {
    const QString script = QStringLiteral(
        "import csv, sys\n"
        "with open(sys.argv[1], newline='', encoding='utf-8-sig') as f:\n"
        "    rows = list(csv.reader(f, delimiter=sys.argv[2]))\n"
        "print('\\t'.join(rows[0]))\n"
        "for r in rows[1:]:\n"
        "    print('\\t'.join(repr(float(x.replace(sys.argv[3], '.'))) if x else 'nan' for x in r))\n");
    QProcess python;
    python.start(QStringLiteral("python3"), {QStringLiteral("-c"), script, path, QString(QLatin1Char(delimiter)),
                                             QString(QLatin1Char(decimal))});
    Table t;
    if (!python.waitForFinished(30000) || python.exitCode() != 0) {
        ADD_FAILURE() << "python3 could not read " << path.toStdString() << ": "
                      << python.readAllStandardError().constData();
        return t;
    }
    const QStringList lines = QString::fromUtf8(python.readAllStandardOutput()).split(QLatin1Char('\n'),
                                                                                        Qt::SkipEmptyParts);
    t.header = lines.value(0).split(QLatin1Char('\t'));
    for (int i = 1; i < lines.size(); ++i) {
        std::vector<double> row;
        for (const QString& cell : lines[i].split(QLatin1Char('\t'))) row.push_back(cell.toDouble());
        t.rows.push_back(row);
    }
    return t;
}

class Lab : public ::testing::Test {
protected:
    QString path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }
    QTemporaryDir dir_;
};

TEST_F(Lab, ALinearSweepFindsTheResonanceAndTheImpedanceThere) {
    testsupport::ProgramRun run;
    const QJsonObject s = runForState(
        dir_,
        {"--audio=bench", "--bench-circuit", "R=10,L=100m,C=10u", "--do", "track:TrackBar1=20000", "--do",
         "lab:sweep=100..220/61/lin", "--do", "lab:dialect=comma", "--do", "lab:export=" + path("sweep.csv")},
        &run);
    ASSERT_FALSE(s.isEmpty()) << run.err.constData();
    const QJsonObject sweep = s["lab"].toObject()["Sweep"].toObject();
    EXPECT_TRUE(sweep["Finished"].toBool());
    EXPECT_EQ(sweep["Step"].toInt(), 61);
    EXPECT_EQ(sweep["Unsettled"].toInt(), 0);
    EXPECT_EQ(s["lab"].toObject()["Points"].toInt(), 61);
    // The bar is back, hidden as before (the display mode does not show it).
    EXPECT_EQ(s["controls"].toObject()["TrackBar2"].toObject()["position"].toInt(), 50);
    EXPECT_FALSE(s["controls"].toObject()["TrackBar2"].toObject()["visible"].toBool());
    EXPECT_EQ(s["state"].toObject()["GeneratorFrequency"].toInt(), 50);

    const Table t = readWithPython(path("sweep.csv"), ',', '.');
    ASSERT_EQ(t.rows.size(), 61u);
    ASSERT_EQ(t.header.value(4), QStringLiteral("|Z| (Ω)"));
    const auto peak = std::max_element(t.rows.begin(), t.rows.end(), [](auto& a, auto& b) { return a[2] < b[2]; });
    const double f0 = 1 / (2 * std::numbers::pi * std::sqrt(0.1 * 10e-6));
    EXPECT_LT(std::fabs((*peak)[1] / f0 - 1), 0.01) << "peak at " << (*peak)[1] << " Hz";
    const double truth = seriesImpedance(10, 0.1, 10e-6, (*peak)[1]);
    EXPECT_LT(std::fabs((*peak)[4] / truth - 1), 0.02) << "|Z| " << (*peak)[4] << " against " << truth;
    // Every step at its frequency, in order.
    for (std::size_t i = 0; i < t.rows.size(); ++i) EXPECT_NEAR(t.rows[i][1], 100.0 + 2.0 * i, 0.05) << i;
}

TEST_F(Lab, ALogarithmicSweepDrawsTheWholeCurveWithinAMinuteOfSoundAndPutsTheGeneratorBack) {
    testsupport::ProgramRun run;
    const QJsonObject s = runForState(
        dir_,
        {"--audio=bench", "--bench-circuit", "R=10,L=100m,C=10u", "--do", "menu:digitlnvoltmetrstdavhozdroje50Hz1",
         "--do", "track:TrackBar1=20000", "--do", "track:TrackBar2=333", "--do", "lab:sweep=20..1000/40/log", "--do",
         "lab:plot=" + path("curve.svg")},
        &run);
    ASSERT_FALSE(s.isEmpty()) << run.err.constData();
    const QJsonObject lab = s["lab"].toObject();
    const QJsonObject sweep = lab["Sweep"].toObject();
    EXPECT_EQ(sweep["Step"].toInt(), 40);
    EXPECT_EQ(sweep["Unsettled"].toInt(), 0);
    EXPECT_LE(sweep["SoundSeconds"].toDouble(), 60.0);
    EXPECT_NEAR(lab["Last"].toObject()["FrequencyHz"].toDouble(), 1000, 0.1);
    // The graph follows the sweep on a logarithmic frequency axis.
    EXPECT_EQ(lab["Graph"].toObject()["X"].toString(), QStringLiteral("FrequencyHz"));
    EXPECT_TRUE(lab["Graph"].toObject()["LogX"].toBool());
    // The bar, shown in this display mode, is back where the teacher left it.
    EXPECT_EQ(s["controls"].toObject()["TrackBar2"].toObject()["position"].toInt(), 333);
    EXPECT_EQ(s["state"].toObject()["GeneratorFrequency"].toInt(), 333);
    EXPECT_TRUE(testsupport::readFile(path("curve.svg")).contains("<svg"));
}

TEST_F(Lab, OhmsLawOnEightAmplitudesFitsTheResistance) {
    QStringList arguments{"--audio=bench", "--bench-load", "100"};
    for (int position = 4000; position <= 32000; position += 4000)
        arguments << "--do" << QStringLiteral("track:TrackBar1=%1").arg(position) << "--do" << "lab:point";
    arguments << "--do" << "lab:graph=VoltageMillivolts:CurrentMilliamps" << "--do" << "lab:fit" << "--do"
              << "lab:plot=" + path("ohm.png");
    testsupport::ProgramRun run;
    const QJsonObject s = runForState(dir_, arguments, &run);
    ASSERT_FALSE(s.isEmpty()) << run.err.constData();
    const QJsonObject fit = s["lab"].toObject()["Fit"].toObject();
    EXPECT_EQ(fit["Points"].toInt(), 8);
    EXPECT_LT(std::fabs(fit["Slope"].toDouble() / 100.0 - 1), 0.01) << fit["Slope"].toDouble();
    EXPECT_GT(fit["R2"].toDouble(), 0.999);
    EXPECT_EQ(fit["SlopeUnit"].toString(), QStringLiteral("Ω"));
    EXPECT_TRUE(testsupport::readFile(path("ohm.png")).startsWith("\x89PNG"));
}

TEST_F(Lab, TheWaveformsShowTheCurrentLeadingACapacitorsVoltageByTheBenchsPhase) {
    testsupport::ProgramRun run;
    const QJsonObject s = runForState(
        dir_,
        {"--audio=bench", "--bench-circuit", "R=100,C=10u", "--do", "menu:digitlnvoltmetrstdavhozdroje50Hz1", "--do",
         "track:TrackBar1=20000", "--do", "track:TrackBar2=100", "--do", "wait:2", "--do", "lab:waveforms=freeze",
         "--run-for", "1"},
        &run);
    ASSERT_FALSE(s.isEmpty()) << run.err.constData();
    const QJsonObject waveform = s["lab"].toObject()["Waveform"].toObject();
    const double truth = s["bench"].toObject()["PhaseDegrees"].toDouble();
    ASSERT_LT(truth, -50);  // the voltage lags: the current leads
    EXPECT_TRUE(waveform["Triggered"].toBool());
    EXPECT_TRUE(waveform["Frozen"].toBool());
    EXPECT_NEAR(waveform["PhaseDegrees"].toDouble(), truth, 1.0);
    EXPECT_NEAR(waveform["FrequencyHz"].toDouble(), 100, 0.1);
}

TEST_F(Lab, BothCsvDialectsReadBackAsNumbersAndTheLocaleChoosesOne) {
    const QStringList points{"--audio=bench", "--bench-circuit", "R=100,C=10u", "--do", "track:TrackBar1=12000",
                             "--do", "lab:point", "--do", "track:TrackBar1=24000", "--do", "lab:point"};
    // The locale's dialect without lab:dialect.
    const QByteArray before = qgetenv("LC_ALL");
    qputenv("LC_ALL", "cs_CZ.UTF-8");
    testsupport::ProgramRun czech = testsupport::runProgram(
        QStringList{"--headless"} + points + QStringList{"--do", "lab:export=" + path("cs.csv")});
    qputenv("LC_ALL", "C");
    testsupport::ProgramRun english = testsupport::runProgram(
        QStringList{"--headless"} + points + QStringList{"--do", "lab:export=" + path("en.csv")});
    qputenv("LC_ALL", before);
    ASSERT_EQ(czech.exitCode, 0) << czech.err.constData();
    ASSERT_EQ(english.exitCode, 0) << english.err.constData();

    const Table cs = readWithPython(path("cs.csv"), ';', ',');
    const Table en = readWithPython(path("en.csv"), ',', '.');
    const QStringList header{"t (s)", "f (Hz)", "I (mA)", "U (mV)", "|Z| (Ω)", "φ (°)", "P (mW)", "λ"};
    EXPECT_EQ(cs.header, header);
    EXPECT_EQ(en.header, header);
    ASSERT_EQ(cs.rows.size(), 2u);
    ASSERT_EQ(en.rows.size(), 2u);
    for (std::size_t r = 0; r < 2; ++r)
        for (std::size_t c = 0; c < 8; ++c) {
            EXPECT_TRUE(std::isfinite(cs.rows[r][c])) << r << "," << c;
            EXPECT_EQ(cs.rows[r][c], en.rows[r][c]) << r << "," << c;
        }
    EXPECT_EQ(cs.rows[0][0], 0.0);  // time from 0 s
    // The capacitor at the generator's 50 Hz: the load's own phase -atan(1 / (w R C)).
    EXPECT_NEAR(cs.rows[0][5], -std::atan(1 / (2 * std::numbers::pi * 50 * 100 * 10e-6)) * 180 / std::numbers::pi, 0.1);

    // LibreOffice: the comma dialect with the import's built-in defaults, the
    // semicolon dialect with the import dialog's defaults (comma, semicolon and
    // tab as separators) in Czech.
    if (QStandardPaths::findExecutable(QStringLiteral("soffice")).isEmpty()) {
        std::printf("LibreOffice (soffice) not installed: its reading of the CSV is not checked\n");
        return;
    }
    QProcess office;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), dir_.path());
    office.setProcessEnvironment(env);
    const QString out = path("office");
    for (const QStringList& conversion :
         {QStringList{"--headless", "--convert-to", "fods", "--outdir", out, path("en.csv")},
          QStringList{"--headless", "--infilter=CSV:44/59/9,34,76,1,,1029", "--convert-to", "fods", "--outdir", out,
                      path("cs.csv")}}) {
        office.start(QStringLiteral("soffice"), conversion);
        ASSERT_TRUE(office.waitForFinished(120000));
    }
    for (const char* name : {"office/en.fods", "office/cs.fods"}) {
        const QByteArray sheet = testsupport::readFile(path(name));
        ASSERT_FALSE(sheet.isEmpty()) << name;
        EXPECT_EQ(sheet.count("office:value-type=\"float\""), 16) << name;  // two rows of eight numbers
        EXPECT_EQ(sheet.count("office:value-type=\"string\""), 8) << name;  // the header
    }
}

TEST_F(Lab, APlaceThatCannotBeWrittenEndsTheRunWithCode1AndARefusedPointOrSweepWithCode2) {
    QFile::remove(path("nowhere"));
    const testsupport::ProgramRun unwritable = testsupport::runProgram(
        {"--headless", "--audio=bench", "--do", "lab:export=" + path("nowhere/points.csv")});
    EXPECT_EQ(unwritable.exitCode, 1);
    EXPECT_TRUE(unwritable.err.contains("cannot write")) << unwritable.err.constData();
    EXPECT_FALSE(QFile::exists(path("nowhere/points.csv")));

    // A card whose input clips at this level: no point.
    const testsupport::ProgramRun clipped = testsupport::runProgram(
        {"--headless", "--audio=bench", "--bench-input-gain", "50", "--do", "track:TrackBar1=32000", "--do", "lab:point"});
    EXPECT_EQ(clipped.exitCode, 2);
    EXPECT_TRUE(clipped.err.contains("overloaded")) << clipped.err.constData();

    for (const char* bad : {"lab:sweep=10..1000/40/log", "lab:graph=Current:Time", "lab:interval=0.05"}) {
        const testsupport::ProgramRun refused =
            testsupport::runProgram({"--headless", "--audio=bench", "--do", QString::fromLatin1(bad)});
        EXPECT_EQ(refused.exitCode, 2) << bad;
    }
}

// Full amplitude on the series circuit: the steps that clip are recorded,
// flagged and named; every other point reads |Z| within 1 % of the load's
// truth; the run writes its state and its table, then ends with code 2.
TEST_F(Lab, ASweepWhoseStepsClipFlagsThemWritesEverythingAndEndsWithCode2) {
    testsupport::ProgramRun run;
    const QJsonObject s = runForState(
        dir_,
        {"--audio=bench", "--bench-circuit", "R=10,L=100m,C=10u", "--do", "track:TrackBar1=32000", "--do",
         "lab:sweep=20..1000/40/log", "--do", "lab:dialect=comma", "--do", "lab:export=" + path("clipped.csv")},
        &run, 2);
    ASSERT_FALSE(s.isEmpty()) << run.err.constData();
    EXPECT_TRUE(run.err.contains("points flagged: overload at")) << run.err.constData();
    const QJsonObject lab = s["lab"].toObject();
    EXPECT_EQ(lab["Points"].toInt(), 40);
    const QJsonObject flagged = lab["Flagged"].toObject();
    ASSERT_GE(flagged["Count"].toInt(), 1);
    EXPECT_EQ(lab["Sweep"].toObject()["Flagged"].toInt(), flagged["Count"].toInt());

    const Table t = readWithPython(path("clipped.csv"), ',', '.');
    ASSERT_EQ(t.rows.size(), 40u);
    ASSERT_EQ(t.header.value(8), QStringLiteral("přebuzeno"));
    ASSERT_EQ(t.header.value(9), QStringLiteral("ustáleno"));
    int flaggedRows = 0;
    for (const auto& row : t.rows) {
        const bool isFlagged = row[8] == 1 || row[9] == 0;
        const double truth = seriesImpedance(10, 0.1, 10e-6, row[1]);
        if (isFlagged) {
            ++flaggedRows;
            continue;
        }
        EXPECT_LT(std::fabs(row[4] / truth - 1), 0.01) << row[1] << " Hz: " << row[4] << " against " << truth;
    }
    EXPECT_EQ(flaggedRows, flagged["Count"].toInt());
    // The clipped step is the one nearest the resonance.
    EXPECT_NEAR(flagged["FrequenciesHz"].toArray().at(0).toDouble(), 159, 10);
}

// Headless editing: a row deleted and brought back, runs begun and named,
// and a sweep that begins a run of its own beside the points before it.
TEST_F(Lab, RowsAreDeletedAndUndoneAndRunsAreListedWithTheirPoints) {
    testsupport::ProgramRun run;
    const QJsonObject s = runForState(
        dir_,
        {"--audio=bench", "--bench-load", "47", "--do", "lab:run=name:Ohmův zákon", "--do", "track:TrackBar1=8000",
         "--do", "lab:point", "--do", "track:TrackBar1=16000", "--do", "lab:point", "--do", "track:TrackBar1=24000",
         "--do", "lab:point", "--do", "lab:delete=2", "--do", "lab:delete=1", "--do", "lab:undo", "--do",
         "lab:sweep=100..200/3/lin", "--do", "lab:export=" + path("runs.csv")},
        &run);
    ASSERT_FALSE(s.isEmpty()) << run.err.constData();
    const QJsonObject lab = s["lab"].toObject();
    EXPECT_EQ(lab["Points"].toInt(), 5);
    EXPECT_TRUE(lab["CanUndo"].toBool());
    EXPECT_TRUE(lab["CanRedo"].toBool());
    const QJsonArray runs = lab["Runs"].toArray();
    ASSERT_EQ(runs.size(), 2);
    EXPECT_EQ(runs[0].toObject()["Name"].toString(), QStringLiteral("Ohmův zákon"));
    EXPECT_EQ(runs[0].toObject()["Points"].toInt(), 2);
    EXPECT_EQ(runs[1].toObject()["Name"].toString(), QStringLiteral("Běh 2"));
    EXPECT_EQ(runs[1].toObject()["Points"].toInt(), 3);
    EXPECT_EQ(lab["Last"].toObject()["Run"].toString(), QStringLiteral("Běh 2"));
    // The run's column, in Czech, the numbers still numbers.
    const QByteArray csv = testsupport::readFile(path("runs.csv"));
    EXPECT_TRUE(csv.contains(",\"Ohmův zákon\"\n")) << csv.constData();
    EXPECT_TRUE(csv.contains(",\"Běh 2\"\n"));

    for (const char* bad : {"lab:delete=0", "lab:delete=x", "lab:run=rename"}) {
        const testsupport::ProgramRun refused =
            testsupport::runProgram({"--headless", "--audio=bench", "--do", QString::fromLatin1(bad)});
        EXPECT_EQ(refused.exitCode, 2) << bad;
    }
    const testsupport::ProgramRun nothing = testsupport::runProgram(
        {"--headless", "--audio=bench", "--do", "lab:delete=1"});
    EXPECT_EQ(nothing.exitCode, 2);
    EXPECT_TRUE(nothing.err.contains("there is no row 1")) << nothing.err.constData();
}

}  // namespace
