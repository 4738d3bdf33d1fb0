// The instrument menus, driven as a user would through headless runs: every
// enabled entry, the mode transitions, captions, bold marks and images.
#include "support/program_run.h"

#include <QImage>
#include <QJsonArray>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Outcome {
    QJsonObject state;
    QTemporaryDir dir;
    QImage image(const char* name) const { return QImage(dir.filePath(QStringLiteral("%1.png").arg(name))); }
    bool visible(const char* control) const {
        return state["controls"].toObject()[control].toObject()["visible"].toBool();
    }
    bool bold(const char* entry) const { return state["menu"].toObject()[entry].toObject()["default"].toBool(); }
    QString caption(const char* entry) const {
        return state["menu"].toObject()[entry].toObject()["caption"].toString();
    }
    int flag(const char* name) const { return state["state"].toObject()[name].toInt(); }
};

// Runs the actions on the simulated card, then 0.3 s more.
std::unique_ptr<Outcome> choose(const QStringList& actions) {
    auto o = std::make_unique<Outcome>();
    QStringList args{"--audio=sim", "--run-for", "0.3", "--images", o->dir.path()};
    for (const QString& a : actions) args << "--do" << a;
    testsupport::ProgramRun run;
    o->state = testsupport::runForState(o->dir, args, &run);
    EXPECT_FALSE(o->state.isEmpty()) << actions.join(' ').toStdString() << ": " << run.err.constData();
    return o;
}

const QString kLongAc = QString::fromUtf8("-střídavý") + QString(15, QLatin1Char(' '));

QImage rows(const QImage& image, int top, int bottom) { return image.copy(0, top, image.width(), bottom - top + 1); }

TEST(DisplayModes, AmmeterAnalogDigitalHidden) {
    const auto start = choose({});
    const auto digital = choose({"menu:digitlnstdavamprmetr50Hz1"});
    EXPECT_TRUE(digital->visible("Panel3"));
    EXPECT_EQ(digital->flag("AmmeterAnalogOff"), 1);
    EXPECT_TRUE(digital->bold("digitlnstdavamprmetr50Hz1"));
    EXPECT_FALSE(digital->bold("rukovidigitlnvoltmetr1"));
    EXPECT_EQ(digital->caption("stejnosmrn2"), kLongAc);
    // The face memory keeps following the reading while shown digitally.
    EXPECT_EQ(digital->state["state"].toObject()["AmmeterFaceFlags"].toArray()[0].toInt(), 1);

    const auto hidden = choose({"menu:NEZOBRAZITAMPRMETR1"});
    EXPECT_FALSE(hidden->visible("Panel3"));
    EXPECT_TRUE(hidden->bold("NEZOBRAZITAMPRMETR1"));
    // Digital and hidden both leave the blank band meter, without face or pointer.
    EXPECT_EQ(digital->image("Image1"), hidden->image("Image1"));
    EXPECT_NE(digital->image("Image1"), start->image("Image1"));

    // Back to analog: the face of the current range and the pointer, as at start.
    const auto analog = choose({"menu:digitlnstdavamprmetr50Hz1", "menu:rukovstejnosmrnamprmetr1"});
    EXPECT_FALSE(analog->visible("Panel3"));
    EXPECT_EQ(analog->flag("AmmeterAnalogOff"), 0);
    EXPECT_TRUE(analog->bold("rukovstejnosmrnamprmetr1"));
    EXPECT_EQ(analog->image("Image1"), start->image("Image1"));
    const auto twice = choose({"menu:digitlnstdavamprmetr50Hz1", "menu:rukovstejnosmrnamprmetr1",
                               "menu:rukovstejnosmrnamprmetr1"});
    EXPECT_EQ(twice->image("Image1"), analog->image("Image1"));
    EXPECT_EQ(twice->state["state"], analog->state["state"]);
}

TEST(DisplayModes, VoltmeterHiddenEntryLeavesTheBoldMark) {
    const auto start = choose({});
    const auto digital = choose({"menu:rukovstdavvoltmetr1"});
    EXPECT_TRUE(digital->visible("Panel2"));
    EXPECT_TRUE(digital->bold("rukovstdavvoltmetr1"));
    EXPECT_EQ(digital->caption("stejnosmrn1"), kLongAc);
    EXPECT_EQ(digital->flag("VoltmeterAnalogOff"), 1);

    const auto hidden = choose({"menu:rukovstdavvoltmetr1", "menu:NEZOBRAZITVOLTMETR1"});
    EXPECT_FALSE(hidden->visible("Panel2"));
    EXPECT_TRUE(hidden->bold("rukovstdavvoltmetr1"));
    EXPECT_FALSE(hidden->bold("NEZOBRAZITVOLTMETR1"));
    EXPECT_EQ(hidden->image("Image3"), digital->image("Image3"));

    const auto analog = choose({"menu:NEZOBRAZITVOLTMETR1", "menu:rukovstejnosmrnvoltmetr1"});
    EXPECT_TRUE(analog->bold("rukovstejnosmrnvoltmetr1"));
    EXPECT_FALSE(analog->bold("dvarukovadvadigitlnmicpstroje1"));
    EXPECT_EQ(analog->flag("VoltmeterAnalogOff"), 0);
    EXPECT_EQ(analog->image("Image3"), start->image("Image3"));
}

TEST(DisplayModes, SourceModesSwitchReadoutsAndGeneratorControls) {
    const auto digital = choose({"menu:digitlnvoltmetrstejnosmrnhozdroje2"});
    EXPECT_TRUE(digital->visible("Panel10"));
    EXPECT_FALSE(digital->visible("Panel5"));
    EXPECT_FALSE(digital->visible("Image5"));
    for (const char* c : {"TrackBar1", "Edit2", "TrackBar2", "Edit3"}) EXPECT_TRUE(digital->visible(c)) << c;
    EXPECT_EQ(digital->flag("SourceAnalogOff"), 1);
    EXPECT_EQ(digital->caption("stejnosmrn3"), QString::fromUtf8("-střídavý"));
    EXPECT_EQ(digital->caption("stejnosmrn1"), kLongAc);

    const auto pair = choose({"menu:digitlnvoltmetrstejnosmrnhozdroje2", "menu:digitlnvoltmetrstdavhozdroje50Hz1"});
    EXPECT_FALSE(pair->visible("Panel10"));
    EXPECT_TRUE(pair->visible("Panel5"));
    EXPECT_TRUE(pair->visible("Panel6"));
    EXPECT_FALSE(pair->visible("Panel4"));
    EXPECT_TRUE(pair->bold("digitlnvoltmetrstdavhozdroje50Hz1"));
    EXPECT_EQ(pair->image("Image2"), digital->image("Image2"));

    const auto hidden = choose({"menu:digitlnvoltmetrstdavhozdroje50Hz1", "menu:zobrazitvoltmetrstejnosmrnhozdroje4"});
    for (const char* c : {"Panel10", "Panel4", "Panel5", "Panel6", "TrackBar1", "Edit2", "TrackBar2", "Edit3"})
        EXPECT_FALSE(hidden->visible(c)) << c;
    EXPECT_TRUE(hidden->visible("Image5"));
    EXPECT_TRUE(hidden->bold("digitlnvoltmetrstdavhozdroje50Hz1"));
    EXPECT_EQ(hidden->image("Image2"), digital->image("Image2"));
    // The generator plays on; its controls cannot be reached.
    const auto blocked = testsupport::runProgram(
        {"--headless", "--audio=sim", "--do", "menu:zobrazitvoltmetrstejnosmrnhozdroje4", "--do", "track:TrackBar1=500"});
    EXPECT_EQ(blocked.exitCode, 2);
}

TEST(DisplayModes, AnalogSourceAfterADigitalSpellShowsTheFaceOfItsRange) {
    // 32000 → amplitude 22400 → 3200 mV: the 10 V range.
    const auto analogAll = choose({"track:TrackBar1=32000"});
    const auto viaDigital = choose({"menu:digitlnvoltmetrstejnosmrnhozdroje2", "track:TrackBar1=32000",
                                    "menu:zobrazitvoltmetrstejnosmrnhozdroje3"});
    EXPECT_EQ(viaDigital->flag("SourcePointerX"), analogAll->flag("SourcePointerX"));
    EXPECT_EQ(viaDigital->state["state"].toObject()["SourceFaceFlags"].toArray(), (QJsonArray{0, 0, 0, 1, 0, 0}));
    // Face band and the pointer itself agree with a source that stayed analog.
    EXPECT_EQ(rows(viaDigital->image("Image2"), 0, 128), rows(analogAll->image("Image2"), 0, 128));
    const int p = viaDigital->flag("SourcePointerX");
    EXPECT_EQ(viaDigital->image("Image2").pixel(p, 150), analogAll->image("Image2").pixel(p, 150));
    EXPECT_FALSE(viaDigital->visible("Panel10"));
    EXPECT_FALSE(viaDigital->visible("Image5"));
}

TEST(DisplayModes, TrackBarsSetTheGeneratorAndItsReadouts) {
    const auto o = choose({"menu:digitlnvoltmetrstdavhozdroje50Hz1", "track:TrackBar1=200", "track:TrackBar2=52"});
    const QJsonObject st = o->state["state"].toObject();
    EXPECT_EQ(st["GeneratorAmplitude"].toInt(), 140);
    EXPECT_EQ(st["GeneratorFrequency"].toInt(), 52);
    const QJsonObject c = o->state["controls"].toObject();
    EXPECT_EQ(c["Panel10"].toObject()["caption"].toString(), "0.02 V");
    EXPECT_EQ(c["Panel6"].toObject()["caption"].toString(), "0.02 V");
    EXPECT_EQ(c["Panel5"].toObject()["caption"].toString(), "50 Hz");
    EXPECT_EQ(c["Edit3"].toObject()["text"].toString(), " 50 Hz");
    // The player keeps running: the extra start attempt only leaves its text.
    EXPECT_EQ(o->state["audio"].toObject()["AudioOut1"].toObject()["ErrorMessage"].toString(),
              "Wave output device is already open");

    const auto f53 = choose({"menu:digitlnvoltmetrstdavhozdroje50Hz1", "track:TrackBar2=53"});
    EXPECT_EQ(f53->state["controls"].toObject()["Panel5"].toObject()["caption"].toString(), "55 Hz");
}

}  // namespace
