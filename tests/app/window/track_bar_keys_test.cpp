// The generator's bars answer the keyboard with a step the teacher sees:
// each arrow and PageUp/PageDown moves the bar, runs its change handler as a
// user's move does, and changes the source's readout.
#include "app/window/form.h"
#include "platform/mixer/sim/classic_card.h"
#include "support/rig.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <gtest/gtest.h>

namespace {

void press(QWidget* w, Qt::Key key) {
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &down);
    QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &up);
}

TEST(TrackBarKeys, ArrowsAndPagesMoveBothBarsVisiblyThroughTheirHandlers) {
    testsupport::Rig rig;
    rig.useSim();
    rig.useMixers({platform::mixer::sim::classicCardTopology()});
    app::window::TForm1& form = rig.createWindow();
    ASSERT_EQ(form.chooseMenuEntry(QStringLiteral("digitlnvoltmetrstdavhozdroje50Hz1")), QString());
    auto& session = form.session();

    // Amplitude: from FormCreate's 100, every key changes the source's voltage
    // readout (which counts in 20 mV) and the generator.
    QString text = form.Panel6->caption();
    int amplitude = form.state.GeneratorAmplitude;
    for (const Qt::Key key : {Qt::Key_Right, Qt::Key_Right, Qt::Key_Up, Qt::Key_PageUp, Qt::Key_Left,
                              Qt::Key_PageDown, Qt::Key_Down}) {
        press(form.TrackBar1, key);
        EXPECT_NE(form.Panel6->caption(), text) << "key " << key;
        EXPECT_NE(form.state.GeneratorAmplitude, amplitude) << "key " << key;
        EXPECT_EQ(session.barPosition(app::session::Bar::Amplitude), form.TrackBar1->position());
        text = form.Panel6->caption();
        amplitude = form.state.GeneratorAmplitude;
    }
    // 100 + 3 half ticks + two ticks - half a tick - two ticks - half a tick.
    EXPECT_EQ(form.TrackBar1->position(), 100 + 250 + 250 + 250 + 1000 - 250 - 1000 - 250);
    press(form.TrackBar1, Qt::Key_End);
    EXPECT_EQ(form.Panel10->caption(), QStringLiteral("3.56 V"));

    // Frequency: an arrow is the readout's own step of 5 Hz, a page one tick.
    press(form.TrackBar2, Qt::Key_Right);
    EXPECT_EQ(form.GeneratorFrequency, 55);
    EXPECT_EQ(form.Panel5->caption(), QStringLiteral("55 Hz"));
    press(form.TrackBar2, Qt::Key_PageUp);
    EXPECT_EQ(form.GeneratorFrequency, 75);
    EXPECT_EQ(form.Edit3->text(), QStringLiteral(" 75 Hz"));
    // Down at the lowest frequency the bar stops there.
    for (int i = 0; i < 5; ++i) press(form.TrackBar2, Qt::Key_PageDown);
    EXPECT_EQ(form.GeneratorFrequency, 20);
    EXPECT_EQ(form.Panel5->caption(), QStringLiteral("20 Hz"));
}

}  // namespace
