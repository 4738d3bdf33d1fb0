// Overload that cannot be missed: on the bench at full amplitude on a small
// load the current channel clips, and a red note across the ammeter's band
// says so and what to do, without a profile; it goes when the amplitude is
// lowered. The voltmeter's band says nothing: its channel does not clip.
#include "app/session/overload_text.h"
#include "app/status/band_note.h"
#include "app/status/overload_note.h"
#include "support/rig.h"

#include <gtest/gtest.h>

namespace {

TEST(OverloadNote, ShownAcrossTheClippingInstrumentsBandWhileItClipsAndGoneAfter) {
    testsupport::Rig rig;
    bench::BenchConfig config;
    config.loadOhms = 1.0;
    rig.useBench(config);
    app::window::TForm1& form = rig.createWindow();
    auto band = [](app::window::controls::ImageControl* image) {
        return app::status::HintBand{image, QSize(image->canvas().width(), image->canvas().height())};
    };
    const app::status::OverloadNote notes(form.session(), band(form.Image1), band(form.Image3));
    const app::status::BandNote& ammeter = notes.ammeterNote();
    const app::status::BandNote& voltmeter = notes.voltmeterNote();
    EXPECT_TRUE(ammeter.isHidden());
    EXPECT_TRUE(voltmeter.isHidden());

    form.TrackBar1->userSetPosition(32000);
    rig.runFor(2.0);
    ASSERT_TRUE(form.state.LineInput.current.overload);
    ASSERT_FALSE(form.state.Calibration.has_value()) << "the reference card, no profile";
    EXPECT_FALSE(ammeter.isHidden());
    EXPECT_TRUE(voltmeter.isHidden());
    EXPECT_EQ(ammeter.parentWidget(), form.Image1);
    EXPECT_EQ(ammeter.text(), QString::fromUtf8("Vstup karty je přebuzený (ampérmetr): snižte amplitudu generátoru."));
    EXPECT_EQ(ammeter.text(), app::session::overloadText(true, false));
    // Large enough to read across the room, and the whole text inside the band.
    EXPECT_GE(ammeter.letterPixels(), 16);
    EXPECT_LE(ammeter.geometry().bottom(), form.Image1->height() - 1);

    form.TrackBar1->userSetPosition(2000);
    rig.runFor(2.0);
    EXPECT_FALSE(form.state.LineInput.current.overload);
    EXPECT_TRUE(ammeter.isHidden());
}

}  // namespace
