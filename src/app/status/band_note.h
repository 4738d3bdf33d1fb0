#pragma once
// A note written across an instrument's band, where its face would be: for
// what the teacher must know before the instrument can show anything (no
// sound card). It lies over the image and grows with it, so it reads at every
// size of the window, and lets the mouse through.
#include <QRect>
#include <QWidget>

namespace app::status {

class BandNote : public QWidget {
public:
    // Over `area` of `image` (in the image's design pixels), in letters
    // `letterPx` design pixels high, wrapped to the area's width.
    BandNote(QWidget* image, QSize imageDesignSize, QRect area, int letterPx, const QString& text);

    const QString& text() const { return text_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void place();

    QSize design_;
    QRect area_;
    int letterPx_;
    QString text_;
};

}  // namespace app::status
