#pragma once
// The class view of one run: its token (kept in its file), its feed of the
// session and the lab, its server, and the teacher's window "Třída" with the
// panel, made when first asked for. Off until the teacher starts it, or
// --class-view starts it at once.
#include "app/classview/class_server.h"
#include "app/classview/session_feed.h"
#include "app/classview/token_store.h"
#include "app/options.h"

#include <QPointer>

class QWidget;

namespace app::classview {

class ClassView : public QObject {
public:
    ClassView(const session::Session& session, const lab::LabSession& lab, QWidget& mainWindow);

    // Listens at `place`, says the links on standard output; "" or why not (Czech).
    QString start(const ClassViewPlace& place);
    // Shows the window "Třída" beside the main window, or brings it forward.
    void openPanel();
    ClassServer& server() { return server_; }

private:
    QWidget& mainWindow_;
    TokenStore tokens_;
    SessionFeed feed_;
    ClassServer server_;
    QPointer<QWidget> window_;
};

}  // namespace app::classview
