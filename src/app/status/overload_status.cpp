#include "app/status/overload_status.h"

#include "app/status/status_line.h"
#include "app/session/overload_text.h"
#include "app/session/session.h"
#include "measure/true_rms/circuit_values.h"

namespace app::status {

OverloadStatus::OverloadStatus(const session::Session& session, StatusLine& line)
    : QObject(&line), session_(session), line_(line) {
    connect(&session, &session::Session::overloadChanged, this, &OverloadStatus::update);
    connect(&session, &session::Session::calibrationChanged, this, &OverloadStatus::update);
    update();
}

void OverloadStatus::update() {
    const auto& state = session_.state;
    const bool promised = measure::usesProfile(state);
    line_.set(StatusSlot::Overload, promised ? session::overloadText(state) : QString());
}

}  // namespace app::status
