#pragma once
// Overload that cannot be missed: while a channel of the line input clips, a
// red note across that instrument's band says so and what to do, in letters
// read from the back of the classroom; it goes when the clipping ends. With
// or without a card's profile: a clipped input reads wrong either way.
#include "app/status/band_note.h"

#include <QObject>

namespace app::session {
class Session;
}

namespace app::status {

class OverloadNote : public QObject {
public:
    // Notes over the ammeter's and the voltmeter's bands (owned by their
    // images); follows the session's word that the clipping began or ended.
    OverloadNote(const session::Session& session, HintBand ammeter, HintBand voltmeter);

    // The notes as they stand (hidden while their channel does not clip).
    const BandNote& ammeterNote() const { return *ammeter_; }
    const BandNote& voltmeterNote() const { return *voltmeter_; }

private:
    void update();

    const session::Session& session_;
    BandNote* ammeter_ = nullptr;
    BandNote* voltmeter_ = nullptr;
};

}  // namespace app::status
