#include "app/classview/class_panel.h"

#include "app/classview/class_server.h"
#include "app/classview/listen_choice.h"
#include "app/classview/qr_code.h"
#include "app/classview/token_store.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>

namespace app::classview {
namespace {

// Ports tried after the first one before the system picks any.
constexpr int kNextPorts = 9;
// The code's side on screen, at the least; never under 8 px a module.
constexpr int kCodeSide = 400;

}  // namespace

ClassPanel::ClassPanel(ClassServer& server, quint16 port, QWidget* parent)
    : QWidget(parent), server_(server), port_(port) {
    setObjectName(QStringLiteral("classPanel"));
    setWindowTitle(QStringLiteral("Třída"));
    auto* layout = new QVBoxLayout(this);

    auto* choice = new QHBoxLayout;
    auto* networkLabel = new QLabel(QStringLiteral("Síť:"), this);
    network_ = new QComboBox(this);
    network_->setObjectName(QStringLiteral("classNetwork"));
    networkLabel->setBuddy(network_);
    choice->addWidget(networkLabel);
    choice->addWidget(network_, 1);
    layout->addLayout(choice);

    auto* buttons = new QHBoxLayout;
    start_ = new QPushButton(QStringLiteral("Spustit"), this);
    start_->setObjectName(QStringLiteral("classStart"));
    stop_ = new QPushButton(QStringLiteral("Zastavit"), this);
    stop_->setObjectName(QStringLiteral("classStop"));
    newLink_ = new QPushButton(QStringLiteral("Nový odkaz"), this);
    newLink_->setObjectName(QStringLiteral("classNewLink"));
    newLink_->setToolTip(QStringLiteral("Dosavadní odkaz přestane platit a otevřené stránky se odpojí."));
    buttons->addWidget(start_);
    buttons->addWidget(stop_);
    buttons->addStretch(1);
    buttons->addWidget(newLink_);
    layout->addLayout(buttons);

    code_ = new QLabel(this);
    code_->setObjectName(QStringLiteral("classCode"));
    code_->setAlignment(Qt::AlignCenter);
    layout->addWidget(code_, 1);

    links_ = new QLabel(this);
    links_->setObjectName(QStringLiteral("classLinks"));
    links_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    links_->setAlignment(Qt::AlignCenter);
    QFont big = links_->font();
    big.setPointSize(big.pointSize() + 4);
    links_->setFont(big);
    layout->addWidget(links_);

    devices_ = new QLabel(this);
    devices_->setObjectName(QStringLiteral("classDevices"));
    devices_->setAlignment(Qt::AlignCenter);
    devices_->setFont(big);
    layout->addWidget(devices_);

    problem_ = new QLabel(this);
    problem_->setObjectName(QStringLiteral("classProblem"));
    problem_->setWordWrap(true);
    layout->addWidget(problem_);

    connect(start_, &QPushButton::clicked, this, &ClassPanel::startServing);
    connect(stop_, &QPushButton::clicked, this, [this] {
        server_.stop();
        problem_->clear();
    });
    connect(newLink_, &QPushButton::clicked, this, [this] { server_.renewToken(); });
    connect(&server_, &ClassServer::linksChanged, this, &ClassPanel::refresh);
    connect(&server_, &ClassServer::clientsChanged, this, &ClassPanel::refresh);
    fillChoices();
    refresh();
}

void ClassPanel::fillChoices() {
    const QString before = network_->currentText();
    network_->clear();
    for (const ListenChoice& c : listenChoices()) network_->addItem(c.label, QVariant::fromValue(c.address.toString()));
    const int again = network_->findText(before);
    if (again >= 0) network_->setCurrentIndex(again);
}

void ClassPanel::startServing() {
    const QHostAddress address(network_->currentData().toString());
    QString problem;
    for (int n = 0; n <= kNextPorts + 1; ++n) {
        const quint16 port = n <= kNextPorts && port_ != 0 ? static_cast<quint16>(port_ + n) : 0;
        problem = server_.start(address, port);
        if (problem.isEmpty() || port == 0) break;
    }
    problem_->setText(problem);
    if (!problem.isEmpty()) return;
    for (const QUrl& link : server_.links()) {
        std::fputs(qPrintable(announcement(link) + QLatin1Char('\n')), stdout);
        std::fflush(stdout);
    }
}

void ClassPanel::refresh() {
    const bool on = server_.listening();
    start_->setEnabled(!on);
    stop_->setEnabled(on);
    network_->setEnabled(!on);
    if (!on) fillChoices();
    // Started from elsewhere (the command line): the choice says where it listens.
    if (on) {
        int at = network_->findData(server_.address().toString());
        if (at < 0) {
            network_->addItem(server_.address().toString(), server_.address().toString());
            at = network_->count() - 1;
        }
        network_->setCurrentIndex(at);
    }
    const QList<QUrl> links = server_.links();
    if (links.isEmpty()) {
        code_->clear();
        code_->setText(QStringLiteral("Vypnuto: žádný port není otevřený."));
        links_->clear();
        devices_->clear();
    } else {
        const QByteArray first = links.front().toString(QUrl::FullyEncoded).toUtf8();
        QImage image = qrCode(first);
        if (!image.isNull()) {
            const int modules = image.width() / kSmallestModule;
            image = qrCode(first, std::max(kSmallestModule, kCodeSide / std::max(modules, 1)));
            code_->setPixmap(QPixmap::fromImage(image));
        }
        QStringList shown;
        for (const QUrl& l : links) shown << l.toString(QUrl::FullyEncoded);
        links_->setText(shown.join(QLatin1Char('\n')));
        devices_->setText(QStringLiteral("Připojená zařízení: %1").arg(server_.clients()));
    }
    if (problem_->text().isEmpty()) problem_->setText(server_.tokens().problem());
}

}  // namespace app::classview
