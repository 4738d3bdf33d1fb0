// The window in-process on the simulated card: the creation handler's steps,
// its failure path, and the idle loop's passes.
#include "app/window/form.h"
#include "audio/audio_in.h"
#include "audio/audio_out.h"
#include "platform/mixer/sim/classic_card.h"
#include "support/rig.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

namespace wave = platform::wave;
namespace mix = platform::mixer;

class FormTest : public ::testing::Test {
protected:
    void SetUp() override { sim_ = &rig_.useSim(); }
    void withMixers(std::vector<mix::MixerTopology> cards) { rig_.useMixers(std::move(cards)); }
    void create() { form_ = &rig_.createWindow(); }
    // Lets virtual time pass, handling every message, then one idle pass.
    void runFor(platform::Nanoseconds ns) { rig_.deliverFor(ns); }

    testsupport::Rig rig_;
    wave::sim::SimDriver* sim_ = nullptr;
    platform::Idle& idle_ = rig_.idle;
    app::window::TForm1* form_ = nullptr;
};

TEST_F(FormTest, WithoutAMixerTheMessageIsShownAndNothingIsStarted) {
    withMixers({});
    create();
    ASSERT_EQ(form_->errors(), QStringList{"No mixer device present in this system."});
    EXPECT_FALSE(idle_.installed());
    // Steps 1..13 ran: the instruments are drawn and the generator is set.
    EXPECT_EQ(form_->GeneratorFrequency, 50);
    EXPECT_EQ(form_->state.GeneratorAmplitude, 100);
    EXPECT_EQ(form_->Image1->canvas().image().pixel(400, 20), qRgb(255, 255, 0));
    EXPECT_EQ(form_->Image5->canvas().image().pixel(400, 10), qRgb(200, 200, 200));
    // Steps 15..17 did not: nothing is recorded or played, no pass runs.
    runFor(platform::kNanosecondsPerSecond);
    EXPECT_EQ(sim_->openStreams(wave::Direction::Input), 0);
    EXPECT_EQ(sim_->openStreams(wave::Direction::Output), 0);
    EXPECT_EQ(form_->AudioIn1->DoneCount(), 0);
    EXPECT_EQ(form_->state.SourcePointerX, 0);
}

TEST_F(FormTest, IdlePassesMeasureTheLatestBlockThenPlaceThePointers) {
    withMixers({mix::sim::classicCardTopology()});
    // A 50 Hz sine of known amplitude on both channels.
    sim_->setSignalSource([](const wave::WAVEFORMATEX& f, std::int64_t first, char* data, std::size_t frames) {
        auto* out = reinterpret_cast<std::int16_t*>(data);
        for (std::size_t i = 0; i < frames; ++i) {
            const double t = static_cast<double>(first + static_cast<std::int64_t>(i)) / f.nSamplesPerSec;
            const auto v = static_cast<std::int16_t>(std::lround(2000.0 * std::sin(2 * M_PI * 50 * t)));
            for (int c = 0; c < f.nChannels; ++c) *out++ = v;
        }
    });
    create();
    ASSERT_TRUE(form_->errors().isEmpty()) << form_->errors().join('\n').toStdString();
    ASSERT_TRUE(idle_.installed());
    runFor(platform::kNanosecondsPerSecond / 2);
    ASSERT_GT(form_->AudioIn1->DoneCount(), 5);
    EXPECT_GT(form_->AudioOut1->FilledCount(), 4);

    // Each pass measures first, so the pointers follow the block just measured.
    const auto& s = form_->state;
    EXPECT_NEAR(s.AmmeterValue, 2000 / std::sqrt(2.0) / std::sqrt(2.0) * 0.0142, 0.5);
    EXPECT_GT(s.VoltmeterValue, 1000);
    EXPECT_EQ(form_->Panel3->caption(), QString("%1").arg(std::nearbyint(s.AmmeterValue), 3));
    EXPECT_EQ(s.AmmeterFaceFlags[1], 1);  // 20 mA lies on the 30 mA range
    EXPECT_EQ(s.AmmeterPointerX, static_cast<int>(std::nearbyint(s.AmmeterValue * 23.3433L + 50)));
    EXPECT_EQ(s.AmmeterPointerDrawnX, s.AmmeterPointerX);
    EXPECT_EQ(s.SourcePointerX, 83);

    // Silence: the next blocks bring every reading back to 0.
    sim_->setSignalSource({});
    runFor(platform::kNanosecondsPerSecond / 2);
    EXPECT_EQ(s.AmmeterValue, 0);
    EXPECT_EQ(s.VoltmeterValue, 0);
    EXPECT_EQ(s.AmmeterPointerX, 50);
    EXPECT_EQ(form_->Panel2->caption(), "0.00 V");
}

}  // namespace
