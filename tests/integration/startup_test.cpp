// Start-up of the whole program, headless on the simulated card: the window
// definition as shown, the start values, and repeatable output files.
#include "app/window/window_definition.h"
#include "support/program_run.h"

#include <QJsonArray>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using testsupport::runForState;

QString spaces(int n) { return QString(n, QLatin1Char(' ')); }

TEST(Startup, StateListsEveryControlAndMenuEntryAsDefined) {
    QTemporaryDir dir;
    testsupport::ProgramRun run;
    const QJsonObject s = runForState(dir, {"--audio=sim", "--run-for", "0.5"}, &run);
    ASSERT_FALSE(s.isEmpty()) << run.err.constData();

    const QJsonObject controls = s["controls"].toObject();
    EXPECT_EQ(controls.size(), 27);  // the 26 controls and the window itself, Form1
    const QJsonObject form = controls["Form1"].toObject();
    EXPECT_EQ(form["caption"].toString(), QString::fromUtf8(app::window::kWindowCaption));
    EXPECT_EQ(form["left"].toInt(), 0);  // FormCreate puts the window at the top-left corner
    EXPECT_EQ(form["top"].toInt(), 0);
    EXPECT_GE(form["width"].toInt(), app::window::kClientWidth);
    EXPECT_GT(form["height"].toInt(), app::window::kClientHeight);  // the menu bar above the client area
    struct Expect {
        const char* name;
        bool visible;
        bool enabled;
        const char* caption;
    };
    const Expect expected[] = {
        {"Image1", true, false, nullptr},   {"Image2", true, true, nullptr},
        {"Panel2", false, true, "0.00 V"},  {"Panel3", false, true, "  0"},
        {"Panel4", false, true, "275 mV"},  {"Panel5", false, true, " 50 Hz"},
        {"Panel6", false, true, " 0.00 V"}, {"Panel10", false, true, " 0.00 V"},
        {"Panel11", true, true, "mA"},      {"Panel12", true, true, "V"},
        {"Panel14", true, true, "nastavení amplitudy"},
        {"SpeedButton1", true, false, "st ampérmetr"},
        {"SpeedButton2", true, false, "st.  voltmetr"},
        {"SpeedButton3", true, false, "st. zdroj "},
    };
    for (const Expect& e : expected) {
        const QJsonObject c = controls[e.name].toObject();
        ASSERT_FALSE(c.isEmpty()) << e.name;
        EXPECT_EQ(c["visible"].toBool(), e.visible) << e.name;
        EXPECT_EQ(c["enabled"].toBool(), e.enabled) << e.name;
        if (e.caption != nullptr) {
            EXPECT_EQ(c["caption"].toString(), QString::fromUtf8(e.caption)) << e.name;
        }
    }
    // FormCreate shows Edit2 (covered by Panel14) and sets TrackBar1 to 100.
    EXPECT_TRUE(controls["Edit2"].toObject()["visible"].toBool());
    EXPECT_EQ(controls["Edit2"].toObject()["text"].toString(), QString::fromUtf8(" nastavení amplitudy"));
    EXPECT_EQ(controls["TrackBar1"].toObject()["position"].toInt(), 100);
    EXPECT_FALSE(controls["TrackBar2"].toObject()["visible"].toBool());
    EXPECT_EQ(controls["TrackBar2"].toObject()["position"].toInt(), 50);
    EXPECT_EQ(controls["Edit3"].toObject()["text"].toString(), "50 Hz");
    EXPECT_EQ(controls["Panel7"].toObject()["caption"].toString(),
              spaces(130) + QString::fromUtf8("REGULACE AMPLITUDY     GENERÁTORU   HARMONICKÉHO    NAPĚTÍ") +
                  spaces(4));
    const QJsonObject image2 = controls["Image2"].toObject();
    EXPECT_EQ(image2["left"].toInt(), -4);
    EXPECT_EQ(image2["top"].toInt(), 328);
    EXPECT_EQ(image2["height"].toInt(), 169);

    const QJsonObject menu = s["menu"].toObject();
    EXPECT_EQ(menu.size(), 35);  // the design's 34 and the lab's entry
    EXPECT_EQ(menu["volba"].toObject()["caption"].toString(), "volba   &VOLTMETRU");
    EXPECT_EQ(menu["mixnpult1"].toObject()["caption"].toString(), "volba   VOLTMETRU   &ZDROJE");
    EXPECT_EQ(menu["stejnosmrn1"].toObject()["caption"].toString(), QString::fromUtf8("střídavý") + spaces(11));
    EXPECT_EQ(menu["stejnosmrn2"].toObject()["caption"].toString(), QString::fromUtf8("-střídavý") + spaces(11));
    EXPECT_EQ(menu["nvod1"].toObject()["caption"].toString(), spaces(9) + QString::fromUtf8("návod"));
    EXPECT_EQ(menu["digitlnvoltmetrstdavhozdroje50Hz1"].toObject()["caption"].toString(),
              QString::fromUtf8("digitální voltmetr střídavého zdroje  a digitální měřič frekvence "));
    QStringList bold;
    for (auto it = menu.begin(); it != menu.end(); ++it)
        if (it.value().toObject()["default"].toBool()) bold << it.key();
    bold.sort();
    EXPECT_EQ(bold, (QStringList{"dvarukovadvadigitlnmicpstroje1", "rukovidigitlnvoltmetr1",
                                 "zobrazitvoltmetrstejnosmrnhozdroje1"}));
    for (const char* disabled : {"dvarukovadvadigitlnmicpstroje1", "rukovstejnosmrnvoltmetr2", "runvolbastupnic1",
                                 "rukovidigitlnvoltmetr1", "digitlnstejnosmrnamprmetr1",
                                 "zobrazitvoltmetrstejnosmrnhozdroje1", "digitlnvoltmetrstejnosmrnhozdroje1"})
        EXPECT_FALSE(menu[disabled].toObject()["enabled"].toBool()) << disabled;
    EXPECT_EQ(menu["do03V1"].toObject()["parent"].toString(), "runvolbastupnic1");

    // Start values: the instruments read 0 on their lowest range; the source
    // reads amplitude 100 / 7 mV on its 300 mV face with the pointer at 83.
    const QJsonObject st = s["state"].toObject();
    EXPECT_EQ(st["GeneratorAmplitude"].toInt(), 100);
    EXPECT_EQ(st["GeneratorFrequency"].toInt(), 50);
    EXPECT_EQ(st["AmmeterPointerX"].toInt(), 50);
    EXPECT_EQ(st["VoltmeterPointerX"].toInt(), 50);
    EXPECT_EQ(st["SourcePointerX"].toInt(), 83);
    EXPECT_EQ(st["AmmeterFaceFlags"].toArray(), (QJsonArray{1, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(st["SourceFaceFlags"].toArray(), (QJsonArray{1, 0, 0, 0, 0, 0}));
    EXPECT_TRUE(s["errors"].toArray().isEmpty());
}

TEST(Startup, TwoIdenticalRunsWriteIdenticalFiles) {
    QTemporaryDir a, b;
    const QStringList common{"--headless", "--audio=sim", "--run-for", "1", "--do", "track:TrackBar1=16000",
                             "--do", "menu:digitlnvoltmetrstdavhozdroje50Hz1"};
    for (const QTemporaryDir* d : {&a, &b}) {
        const auto run = testsupport::runProgram(common + QStringList{"--snapshot", d->filePath("s.png"), "--images",
                                                                      d->path(), "--state", d->filePath("s.json")});
        ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    }
    for (const char* f : {"s.png", "s.json", "Image1.png", "Image2.png", "Image3.png", "Image4.png", "Image5.png"}) {
        const QByteArray first = testsupport::readFile(a.filePath(f));
        ASSERT_FALSE(first.isEmpty()) << f;
        EXPECT_EQ(first, testsupport::readFile(b.filePath(f))) << f;
    }
}

// Without a desktop session (no runtime folder) the toolkit has nothing to
// say that a teacher or a script should read.
TEST(Startup, HeadlessRunsWithoutASessionSayNothingOnStderr) {
    QTemporaryDir dir;
    for (const QStringList& arguments :
         {QStringList{"--headless", "--audio=bench", "--run-for", "0.5", "--snapshot", dir.filePath("s.png")},
          QStringList{"--headless", "--audio=sim", "--run-for", "0.2", "--state", dir.filePath("s.json")}}) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(PRISTROJE_BINARY), arguments);
        ASSERT_TRUE(p.waitForFinished(120000));
        EXPECT_EQ(p.exitCode(), 0);
        EXPECT_EQ(p.readAllStandardError(), QByteArray()) << arguments.join(' ').toStdString();
    }
}

TEST(Startup, ActionsThatCannotBeDoneEndTheRunWithCode2) {
    for (const char* action : {"menu:nosuchentry", "menu:rukovstejnosmrnvoltmetr2", "menu:do03V1", "bogus"}) {
        const auto run = testsupport::runProgram({"--headless", "--audio=sim", "--do", action});
        EXPECT_EQ(run.exitCode, 2) << action;
        EXPECT_FALSE(run.err.trimmed().isEmpty()) << action;
    }
    // Entries without a handler can be chosen and do nothing.
    const auto run = testsupport::runProgram({"--headless", "--audio=sim", "--do", "menu:automatickvolbastupnic1"});
    EXPECT_EQ(run.exitCode, 0) << run.err.constData();
}

}  // namespace
