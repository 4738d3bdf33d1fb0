#include "app/status/overload_note.h"

#include "app/session/overload_text.h"
#include "app/session/session.h"
#include "app/status/band_note.h"

namespace app::status {

namespace {
// The pointer band, under the face's numerals and ticks and clear of the
// digital readout that covers the band above it (in the image's design pixels).
constexpr QRect kNoteArea(10, 134, 780, 30);
constexpr int kLetterPx = 24;
const NoteLook kRed{Qt::white, QColor(204, 0, 0)};
}  // namespace

OverloadNote::OverloadNote(const session::Session& session, HintBand ammeter, HintBand voltmeter)
    : QObject(ammeter.image), session_(session) {
    auto note = [](const HintBand& band, const QString& text) {
        auto* n = new BandNote(band.image, band.design, kNoteArea, kLetterPx, text, kRed);  // owned by the image
        n->setObjectName(QStringLiteral("OverloadNote"));
        n->hide();
        return n;
    };
    ammeter_ = note(ammeter, session::overloadText(true, false));
    voltmeter_ = note(voltmeter, session::overloadText(false, true));
    connect(&session, &session::Session::overloadChanged, this, &OverloadNote::update);
    update();
}

void OverloadNote::update() {
    const auto& input = session_.state.LineInput;
    ammeter_->setVisible(input.current.overload);
    voltmeter_->setVisible(input.voltage.overload);
    // Over whatever else lies on the band (the no-card hint has its own rows).
    if (input.current.overload) ammeter_->raise();
    if (input.voltage.overload) voltmeter_->raise();
}

}  // namespace app::status
