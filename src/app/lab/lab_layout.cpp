// The lab window's two layouts, the sizes of its texts, its place beside the
// main window and its full screen.
#include "app/lab/graph_view.h"
#include "app/lab/lab_window.h"
#include "app/lab/live_values.h"
#include "app/lab/waveform_view.h"

#include <QApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace app::lab {

void LabWindow::arrange(Layout layout) {
    layout_ = layout;
    {
        const QSignalBlocker block(projector_);
        projector_->setChecked(layout == Layout::Projector);
    }
    // The panels move into a new body; the old one goes once they have left it.
    auto* body = new QWidget(this);
    auto* row = new QHBoxLayout(body);
    row->setContentsMargins(0, 0, 0, 0);
    auto* left = new QVBoxLayout;
    row->addLayout(left, 2);
    static const char* const kTitles[] = {"&Generátor", "Zá&znam", "Rozm&ítání"};
    while (controls_->count() > 0) controls_->removeTab(0);
    if (layout == Layout::Desk) {
        left->addWidget(controls_);
        for (std::size_t i = 0; i < settings_.size(); ++i) controls_->addTab(settings_[i], QString::fromUtf8(kTitles[i]));
        controls_->setCornerWidget(projector_, Qt::TopRightCorner);
        left->addWidget(message_);
        left->addWidget(tablePanel_, 1);
        auto* right = new QVBoxLayout;
        row->addLayout(right, 3);
        right->addWidget(waveformPanel_, 2);
        right->addWidget(graphChoice_);
        right->addWidget(graphPanel_, 3);
        for (QWidget* panel : std::initializer_list<QWidget*>{tablePanel_, waveformPanel_, graphPanel_, graphChoice_})
            panel->show();
    } else {
        // Fewer things at once: the settings in tabs on the left, the graph,
        // the waveforms and the table each filling the right.
        left->addWidget(controls_);
        for (std::size_t i = 0; i < settings_.size(); ++i) controls_->addTab(settings_[i], QString::fromUtf8(kTitles[i]));
        controls_->addTab(graphChoice_, QStringLiteral("Os&y grafu"));
        controls_->setCornerWidget(nullptr, Qt::TopRightCorner);
        left->addWidget(message_);
        left->addStretch(1);
        auto* views = new QTabWidget(body);
        views->setObjectName(QStringLiteral("views"));
        views->setUsesScrollButtons(false);
        row->addWidget(views, 3);
        views->addTab(graphPanel_, QStringLiteral("Gra&f"));
        views->addTab(waveformPanel_, QStringLiteral("Pr&ůběhy"));
        views->addTab(tablePanel_, QStringLiteral("&Tabulka"));
        views->setCornerWidget(projector_, Qt::TopRightCorner);
    }
    auto* root = static_cast<QVBoxLayout*>(this->layout());
    if (body_ != nullptr) {
        root->removeWidget(body_);
        delete body_;
    }
    root->addWidget(body, 1);
    body_ = body;
    projector_->show();
    reachSettings();
    live_->setColumns(layout == Layout::Projector ? 3 : 4);
    applyTextSizes();
}

int LabWindow::textPixels() const {
    double base = QFontInfo(QApplication::font()).pixelSize();
    if (layout_ == Layout::Projector) {
        // Pixels of the screen: with --scale the window's pixels are larger.
        const double ratio = std::max(1.0, devicePixelRatioF());
        base = std::ceil(kProjectorTextPixels / ratio);
    }
    return static_cast<int>(std::lround(base * zoom_));
}

void LabWindow::applyTextSizes() {
    const int px = textPixels();
    QFont text = QApplication::font();
    text.setPixelSize(px);
    setFont(text);
    const QFontMetrics metrics(text);
    live_->setTextSizes(px, static_cast<int>(std::lround(px * kValueScale)));
    QFont bold = text;
    bold.setBold(true);
    for (QLabel* l : {fitText_, flaggedText_}) {
        l->setFont(bold);
        l->setFixedHeight(QFontMetrics(bold).height() + 4);
    }
    graph_->setTextPixelSize(px);
    waveforms_->setTextPixelSize(px);
    table_->verticalHeader()->setDefaultSectionSize(metrics.height() + 6);
    table_->horizontalHeader()->setDefaultSectionSize(metrics.horizontalAdvance(QStringLiteral("00000,000")) + px / 2);
    message_->setMinimumHeight(2 * metrics.lineSpacing());
    // Every layout measures its widgets again in the new type.
    for (QLayout* l : findChildren<QLayout*>()) l->invalidate();
}

void LabWindow::zoomBy(int steps) {
    zoom_ = steps == 0 ? 1.0 : std::clamp(std::round((zoom_ + 0.1 * steps) * 10) / 10, kSmallestZoom, kLargestZoom);
    applyTextSizes();
    tell(QStringLiteral("Písmo: %1 %").arg(std::lround(zoom_ * 100)), false);
}

bool LabWindow::placeBeside(const QWidget& mainWindow) {
    const QScreen* screen = mainWindow.screen();
    if (screen == nullptr) return false;
    const QRect room = screen->availableGeometry();
    const QRect main = mainWindow.frameGeometry();
    // The frame the window manager puts around a window, as around the main window.
    const QRect inner = mainWindow.geometry();
    const QMargins frame(inner.left() - main.left(), inner.top() - main.top(), main.right() - inner.right(),
                         main.bottom() - inner.bottom());
    const QSize least = minimumSizeHint().expandedTo(minimumSize());
    const int besideWidth = room.right() - main.right() - frame.left() - frame.right();
    // A compositor places windows itself, and only it knows its panels: there
    // the lab is maximised unless it fits beside.
    const bool compositor = QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
    if (mainWindow.isFullScreen() || besideWidth < least.width() || (compositor && main.width() + least.width() > room.width()))
        return false;
    resize(QSize(besideWidth, room.height() - frame.top() - frame.bottom()).expandedTo(least));
    move(main.right() + 1, room.top());  // the frame's corner
    // The window manager frames a window when it first shows it: then the
    // window is fitted again to the screen's room, frame and all.
    QTimer::singleShot(kFrameWait, this, [this] { fitOnScreen(); });
    return true;
}

void LabWindow::fitOnScreen() {
    const QScreen* s = screen();
    if (s == nullptr || isFullScreen() || isMaximized() || !isVisible()) return;
    const QRect room = s->availableGeometry();
    const QRect outer = frameGeometry();
    if (room.contains(outer)) return;
    const QMargins frame(geometry().left() - outer.left(), geometry().top() - outer.top(),
                         outer.right() - geometry().right(), outer.bottom() - geometry().bottom());
    const QSize most(room.width() - frame.left() - frame.right(), room.height() - frame.top() - frame.bottom());
    const QSize size = this->size().boundedTo(most);
    resize(size);
    const int x = std::clamp(outer.left(), room.left(), room.right() + 1 - (size.width() + frame.left() + frame.right()));
    const int y = std::clamp(outer.top(), room.top(), room.bottom() + 1 - (size.height() + frame.top() + frame.bottom()));
    move(x, y);
}

void LabWindow::toggleFullScreen() {
    if (isFullScreen()) {
        if (wasMaximized_) {
            showMaximized();
            return;
        }
        showNormal();
        // Back where it was, whatever the window manager gives back first;
        // a window that began full screen (--fullscreen) gets the screen's room.
        if (normalPlace_.isValid())
            setGeometry(normalPlace_);
        else if (const QScreen* s = screen())
            resize(s->availableGeometry().size());
        QTimer::singleShot(kFrameWait, this, [this] { fitOnScreen(); });
        return;
    }
    wasMaximized_ = isMaximized();
    normalPlace_ = geometry();
    showFullScreen();
}

}  // namespace app::lab
