#pragma once
// The menu bar a little tighter than the toolkit draws it: the design's
// entries are wide (their captions carry runs of spaces) and, with the
// program's own last entry ("Měření a grafy (Ctrl+M)"), they would not all fit
// across the window at its design width; the last ones would go behind the
// bar's "»". Each entry keeps its caption whole; only the room between and
// around the captions is narrower.
#include <QProxyStyle>

namespace app::window {

class MenuBarStyle : public QProxyStyle {
public:
    // Over a style like the application's, whatever it is.
    MenuBarStyle();

    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override;
};

}  // namespace app::window
