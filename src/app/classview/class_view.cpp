#include "app/classview/class_view.h"

#include "app/classview/class_panel.h"

#include <QVBoxLayout>
#include <QWidget>
#include <cstdio>

namespace app::classview {
namespace {

// The port tried first when the teacher starts the class view.
constexpr quint16 kPort = 8080;

}  // namespace

ClassView::ClassView(const session::Session& session, const lab::LabSession& lab, QWidget& mainWindow)
    : QObject(&mainWindow),
      mainWindow_(mainWindow),
      tokens_(defaultTokenFile()),
      feed_(session, lab, this),
      server_(feed_, tokens_, this) {}

QString ClassView::start(const ClassViewPlace& place) {
    const QString problem = server_.start(place.address, place.port);
    if (!problem.isEmpty()) return problem;
    for (const QUrl& link : server_.links()) std::fprintf(stdout, "%s\n", qPrintable(announcement(link)));
    std::fflush(stdout);
    return {};
}

void ClassView::openPanel() {
    if (window_ == nullptr) {
        window_ = new QWidget(&mainWindow_, Qt::Window);
        window_->setObjectName(QStringLiteral("classViewWindow"));
        window_->setWindowTitle(QStringLiteral("Třída"));
        auto* layout = new QVBoxLayout(window_);
        layout->addWidget(new ClassPanel(server_, server_.listening() ? server_.port() : kPort, window_));
    }
    window_->show();
    window_->raise();
    window_->activateWindow();
}

}  // namespace app::classview
