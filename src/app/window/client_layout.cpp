#include "app/window/client_layout.h"

#include "app/window/controls/control_font.h"
#include "app/window/form.h"
#include "app/window/window_definition.h"

#include <QEvent>

#include <cmath>

namespace app::window {

ClientLayout::ClientLayout(TForm1& form) : QObject(form.clientArea()), form_(form), client_(form.clientArea()) {
    client_->installEventFilter(this);
}

bool ClientLayout::eventFilter(QObject* watched, QEvent* event) {
    // Only the stored pointer is looked at first: while the window is being
    // destroyed the client area still sends events, and the form is gone.
    if (watched == client_ && event->type() == QEvent::Resize) place();
    return QObject::eventFilter(watched, event);
}

void ClientLayout::place() {
    const QWidget* client = client_;
    const double kx = std::max(1.0, double(client->width()) / kClientWidth);
    const double ky = std::max(1.0, double(client->height()) / kClientHeight);
    if (kx == kx_ && ky == ky_) return;
    kx_ = kx;
    ky_ = ky;
    const double fontScale = std::min(kx, ky);
    // Edges are scaled, not sizes, so that neighbouring controls still meet.
    auto edge = [](int at, double k) { return static_cast<int>(std::lround(at * k)); };
    for (const ControlDef& def : controlDefinitions()) {
        QWidget* w = form_.control(QString::fromUtf8(def.name));
        if (w == nullptr) continue;
        const int left = edge(def.left, kx);
        const int top = edge(def.top, ky);
        w->setGeometry(left, top, edge(def.left + def.width, kx) - left, edge(def.top + def.height, ky) - top);
        if (def.kind == ControlKind::Panel || def.kind == ControlKind::Edit ||
            def.kind == ControlKind::SpeedButton) {
            FontDef font = def.font;
            font.heightPx = static_cast<int>(std::lround(font.heightPx * fontScale));
            w->setFont(controls::controlFont(font));
        }
    }
}

}  // namespace app::window
