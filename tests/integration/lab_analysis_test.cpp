// The AC lesson's analysis headless on the virtual bench, against physics:
// the series circuit's resonance and impedance fits give f₀, Q, L and C, the
// marked maximum lies at f₀ between the grid's steps, Ohm's law through the
// origin gives R with its uncertainty, two circuits are two runs with a fit
// each, a line is not fitted on logarithmic axes, and the protocol is a PDF
// of one or two A4 pages with its fonts, its numbers and a drawn graph.
#include "support/program_run.h"

#include <QImage>
#include <QJsonArray>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

using testsupport::runForState;

// Of a series R, L, C with the shunt's 1 Ω in the loop.
double resonanceHz(double l, double c) { return 1 / (2 * std::numbers::pi * std::sqrt(l * c)); }
double quality(double r, double l, double c) { return std::sqrt(l / c) / (r + 1); }

QString tool(const QString& program, const QStringList& arguments) {
    QProcess p;
    p.start(program, arguments);
    if (!p.waitForFinished(30000) || p.exitCode() != 0) {
        ADD_FAILURE() << program.toStdString() << " failed: " << p.readAllStandardError().constData();
        return {};
    }
    return QString::fromUtf8(p.readAllStandardOutput());
}

class LabAnalysis : public ::testing::Test {
protected:
    QString path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }
    QJsonObject sweep(const QString& circuit, const QString& steps, const QStringList& more) {
        QStringList arguments{"--audio=bench", "--bench-circuit", circuit, "--bench-noise", "4", "--bench-seed", "7",
                              "--do", "track:TrackBar1=20000", "--do", "lab:sweep=" + steps};
        for (const QString& action : more) arguments << "--do" << action;
        testsupport::ProgramRun run;
        const QJsonObject s = runForState(dir_, arguments, &run);
        EXPECT_FALSE(s.isEmpty()) << run.err.constData();
        return s["lab"].toObject();
    }
    QTemporaryDir dir_;
};

// 30 logarithmic steps of R=100, L=100m, C=1u with the current about 1 % noisy
// at the ends: f₀ within 0.3 %, Q within 3 %, L and C within 2 %, each with
// an uncertainty; the protocol of the same graph.
TEST_F(LabAnalysis, ASeriesCircuitsSweepGivesItsResonanceQualityInductanceAndCapacitance) {
    const double f0 = resonanceHz(0.1, 1e-6);
    const QJsonObject current =
        sweep("R=100,L=100m,C=1u", "20..1000/30/log",
              {"lab:graph=CurrentMilliamps:FrequencyHz:logx", "lab:fit=resonance", "lab:report=" + path("r.pdf")});
    const QJsonObject fit = current["Fit"].toObject();
    EXPECT_EQ(fit["Model"].toString(), QStringLiteral("resonance"));
    EXPECT_LT(std::fabs(fit["F0"].toDouble() / f0 - 1), 0.003) << fit["F0"].toDouble();
    EXPECT_LT(std::fabs(fit["Q"].toDouble() / quality(100, 0.1, 1e-6) - 1), 0.03) << fit["Q"].toDouble();
    for (const char* name : {"F0Uncertainty", "QUncertainty", "BandwidthUncertainty", "I0Uncertainty"})
        EXPECT_GT(fit[QLatin1String(name)].toDouble(), 0) << name;
    EXPECT_NEAR(fit["Bandwidth"].toDouble(), fit["F0"].toDouble() / fit["Q"].toDouble(), 1e-6);
    EXPECT_DOUBLE_EQ(current["Peak"].toObject()["X"].toDouble(), fit["F0"].toDouble());

    const QJsonObject impedance =
        sweep("R=100,L=100m,C=1u", "20..1000/30/log", {"lab:graph=ImpedanceOhms:FrequencyHz:logx", "lab:fit=impedance"});
    const QJsonObject z = impedance["Fit"].toObject();
    EXPECT_LT(std::fabs(z["L"].toDouble() / 0.1 - 1), 0.02) << z["L"].toDouble();
    EXPECT_LT(std::fabs(z["C"].toDouble() / 1e-6 - 1), 0.02) << z["C"].toDouble();
    EXPECT_LT(std::fabs(z["F0"].toDouble() / f0 - 1), 0.003) << z["F0"].toDouble();
    EXPECT_GT(z["LUncertainty"].toDouble(), 0);

    // One or two A4 pages, every font embedded, the title, f₀ and Q, the table's rows.
    const QString info = tool(QStringLiteral("pdfinfo"), {path("r.pdf")});
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+[12]\\n")))) << info.toStdString();
    EXPECT_TRUE(info.contains(QStringLiteral("595 x 842 pts (A4)"))) << info.toStdString();
    const QStringList fonts = tool(QStringLiteral("pdffonts"), {path("r.pdf")}).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_GT(fonts.size(), 2);
    for (const QString& line : fonts.mid(2)) EXPECT_TRUE(line.contains(QStringLiteral(" yes "))) << line.toStdString();
    const QString text = tool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path("r.pdf"), QStringLiteral("-")});
    EXPECT_TRUE(text.contains(QStringLiteral("Laboratorní protokol")));
    EXPECT_TRUE(text.contains(QStringLiteral("R = 100 Ω, L = 100 mH, C = 1 µF")));
    const QString f0Text = QLocale(QLocale::Czech).toString(fit["F0"].toDouble(), 'f', 0);
    EXPECT_TRUE(text.contains(QStringLiteral("f₀ = ") + f0Text)) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Q = 3,1"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Běh 1"))) << text.toStdString();
    // The graph drawn: the page's upper half holds dark pixels of curve and axes.
    tool(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("40"), QStringLiteral("-png"),
                                      QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-singlefile"),
                                      path("r.pdf"), path("page")});
    const QImage page(path("page.png"));
    ASSERT_FALSE(page.isNull());
    int dark = 0;
    for (int y = page.height() / 5; y < page.height() / 2; ++y)
        for (int x = 0; x < page.width(); ++x) dark += qGray(page.pixel(x, y)) < 160 ? 1 : 0;
    EXPECT_GT(dark, 500);
}

// 40 logarithmic steps of R=10, L=100m, C=10u step past f₀ by 3 %: the marked
// maximum of the fitted curve lies within 0.5 % of it.
TEST_F(LabAnalysis, TheMarkedMaximumOfAResonanceLiesAtItsFrequencyBetweenTheSteps) {
    const QJsonObject lab =
        sweep("R=10,L=100m,C=10u", "20..1000/40/log", {"lab:graph=CurrentMilliamps:FrequencyHz:logx", "lab:fit=resonance"});
    EXPECT_LT(std::fabs(lab["Peak"].toObject()["X"].toDouble() / resonanceHz(0.1, 10e-6) - 1), 0.005)
        << lab["Peak"].toObject()["X"].toDouble();
}

// Ohm's law on R=47 at five amplitudes: the line through the origin gives R
// within 0.1 % with its uncertainty; a line is not fitted on a log axis.
TEST_F(LabAnalysis, OhmsLawThroughTheOriginGivesTheResistanceAndNoLineIsFittedOnALogAxis) {
    QStringList arguments{"--audio=bench", "--bench-load", "47"};
    for (int position = 6000; position <= 30000; position += 6000)
        arguments << "--do" << QStringLiteral("track:TrackBar1=%1").arg(position) << "--do" << "lab:point";
    arguments << "--do" << "lab:graph=VoltageMillivolts:CurrentMilliamps" << "--do" << "lab:fit=proportional";
    testsupport::ProgramRun run;
    const QJsonObject fit = runForState(dir_, arguments, &run)["lab"].toObject()["Fit"].toObject();
    EXPECT_EQ(fit["Model"].toString(), QStringLiteral("proportional"));
    EXPECT_LT(std::fabs(fit["Slope"].toDouble() / 47 - 1), 0.001) << fit["Slope"].toDouble();
    EXPECT_GT(fit["SlopeUncertainty"].toDouble(), 0);
    EXPECT_EQ(fit["SlopeUnit"].toString(), QStringLiteral("Ω"));

    arguments << "--do" << "lab:graph=VoltageMillivolts:CurrentMilliamps:loglog";
    const QJsonObject lab = runForState(dir_, arguments, &run)["lab"].toObject();
    EXPECT_TRUE(lab["Fit"].isNull());
    EXPECT_TRUE(lab["FitProblem"].toString().contains(QStringLiteral("logaritmických osách")));
}

// Two circuits swapped between two sweeps: two runs, both in the CSV, a fit each.
TEST_F(LabAnalysis, TwoCircuitsAreTwoRunsWithAFitEach) {
    const QJsonObject lab = sweep("R=10,L=100m,C=10u", "60..400/20/log",
                                  {"bench:circuit=R=47,L=100m,C=10u", "lab:run=new", "lab:sweep=60..400/20/log",
                                   "lab:graph=CurrentMilliamps:FrequencyHz:logx", "lab:fit=resonance",
                                   "lab:dialect=comma", "lab:export=" + path("two.csv")});
    const QJsonArray fits = lab["Fits"].toArray();
    ASSERT_EQ(fits.size(), 2);
    EXPECT_EQ(fits[1].toObject()["Run"].toString(), QStringLiteral("Běh 2"));
    for (int i = 0; i < 2; ++i)
        EXPECT_LT(std::fabs(fits[i].toObject()["F0"].toDouble() / resonanceHz(0.1, 10e-6) - 1), 0.003);
    EXPECT_LT(std::fabs(fits[0].toObject()["Q"].toDouble() / quality(10, 0.1, 10e-6) - 1), 0.03);
    EXPECT_LT(std::fabs(fits[1].toObject()["Q"].toDouble() / quality(47, 0.1, 10e-6) - 1), 0.03);
    const QByteArray csv = testsupport::readFile(path("two.csv"));
    EXPECT_EQ(csv.count(",\"Běh 1\"\n"), 20);
    EXPECT_EQ(csv.count(",\"Běh 2\"\n"), 20);
}

}  // namespace
