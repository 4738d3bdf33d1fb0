// The teacher's panel "Třída" through its widgets, its QR code read back by
// a scanner (zbarimg), and the page as served.
#include "app/classview/class_panel.h"
#include "app/classview/page.h"
#include "app/classview/qr_code.h"
#include "class_view_rig.h"

#include <QComboBox>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace {

using namespace classview_rig;
using app::classview::ClassPanel;
using app::classview::ClassServer;

template <class T>
T* part(QWidget& panel, const char* name) {
    T* w = panel.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

// What a phone's camera reads from the picture.
QString scanned(const QImage& image, const QTemporaryDir& dir) {
    const QString file = dir.filePath(QStringLiteral("code.png"));
    image.save(file);
    QProcess scanner;
    scanner.start(QStringLiteral("zbarimg"), {QStringLiteral("--raw"), QStringLiteral("-q"), file});
    if (!scanner.waitForFinished(20000)) return QStringLiteral("<zbarimg did not run: scripts/deps.sh installs zbar-tools>");
    return QString::fromUtf8(scanner.readAllStandardOutput()).trimmed();
}

TEST(ClassPanel, StartsOnTheChosenNetworkShowsTheLinkAndItsCodeAndStops) {
    QTemporaryDir dir;
    FixedFeed feed;
    app::classview::TokenStore tokens(dir.filePath(QStringLiteral("token")));
    ClassServer server(feed, tokens);
    const quint16 port = freePort();
    ClassPanel panel(server, port);
    auto* start = part<QPushButton>(panel, "classStart");
    auto* stop = part<QPushButton>(panel, "classStop");
    auto* network = part<QComboBox>(panel, "classNetwork");
    auto* links = part<QLabel>(panel, "classLinks");
    auto* code = part<QLabel>(panel, "classCode");
    auto* devices = part<QLabel>(panel, "classDevices");
    EXPECT_EQ(panel.windowTitle(), QStringLiteral("Třída"));

    // Off until started.
    EXPECT_TRUE(start->isEnabled());
    EXPECT_FALSE(stop->isEnabled());
    EXPECT_FALSE(server.listening());
    EXPECT_FALSE(portOpen(port));
    EXPECT_EQ(network->itemText(0), QStringLiteral("Všechna síťová rozhraní"));

    network->setCurrentIndex(network->findText(QStringLiteral("Jen tento počítač (127.0.0.1)")));
    start->click();
    ASSERT_TRUE(server.listening());
    EXPECT_EQ(server.port(), port);
    EXPECT_FALSE(start->isEnabled());
    EXPECT_FALSE(network->isEnabled());
    const QString link = QStringLiteral("http://127.0.0.1:%1/?k=%2").arg(port).arg(QString::fromLatin1(tokens.token()));
    EXPECT_EQ(links->text(), link);
    EXPECT_EQ(devices->text(), QStringLiteral("Připojená zařízení: 0"));

    // The code reads as the link, in modules of at least 8 pixels.
    const QImage shown = code->pixmap().toImage();
    const int modulesAcross = app::classview::qrCode(link.toUtf8(), 8).width() / 8;
    EXPECT_GE(shown.width() / modulesAcross, 8);
    EXPECT_EQ(scanned(shown, dir), link);

    LiveClient device;
    device.open(port, tokens.token());
    EXPECT_TRUE(waitUntil([&] { return devices->text() == QStringLiteral("Připojená zařízení: 1"); }));

    // A new link: another code, and the old pages are let go.
    part<QPushButton>(panel, "classNewLink")->click();
    EXPECT_NE(links->text(), link);
    EXPECT_TRUE(waitUntil([&] { return device.closed; }));
    EXPECT_EQ(scanned(code->pixmap().toImage(), dir), links->text());

    stop->click();
    EXPECT_FALSE(server.listening());
    EXPECT_FALSE(portOpen(port));
    EXPECT_TRUE(start->isEnabled());
    EXPECT_TRUE(links->text().isEmpty());
}

TEST(ClassPanel, TakesTheNextPortWhenItsOwnIsTaken) {
    FixedFeed feed;
    app::classview::TokenStore tokens{QString()};
    ClassServer first(feed, tokens);
    const quint16 port = freePort();
    ASSERT_EQ(first.start(QHostAddress(QHostAddress::LocalHost), port), "");
    ClassServer server(feed, tokens);
    ClassPanel panel(server, port);
    auto* network = part<QComboBox>(panel, "classNetwork");
    network->setCurrentIndex(network->count() - 1);
    part<QPushButton>(panel, "classStart")->click();
    ASSERT_TRUE(server.listening());
    EXPECT_NE(server.port(), port);
    EXPECT_TRUE(part<QLabel>(panel, "classProblem")->text().isEmpty());
}

TEST(ClassPage, IsCzechSelfContainedAndWithinItsBudget) {
    const QByteArray page = app::classview::pageBytes();
    EXPECT_LE(page.size(), 200 * 1024);
    EXPECT_TRUE(page.startsWith("<!doctype html>\n<html lang=\"cs\">"));
    // Nothing is fetched from elsewhere: no address in a src, href or url().
    const QRegularExpression outside(QStringLiteral("(src|href)\\s*=\\s*[\"']?(https?:)?//|url\\(\\s*[\"']?(https?:)?//|@import"),
                                     QRegularExpression::CaseInsensitiveOption);
    EXPECT_FALSE(outside.match(QString::fromUtf8(page)).hasMatch()) << outside.match(QString::fromUtf8(page)).captured().toStdString();
    EXPECT_FALSE(page.contains("<!--")) << "a mark left unfilled";
    EXPECT_FALSE(page.contains("sourceMappingURL"));
    EXPECT_TRUE(page.contains("aria-live=\"polite\""));
    EXPECT_TRUE(page.contains("Spojení přerušeno, připojuji znovu…"));
    EXPECT_TRUE(page.contains("Dygraph"));
}

}  // namespace
