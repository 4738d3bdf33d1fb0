#pragma once
// A note written across an instrument's band: for what the teacher must know
// before the instrument can show anything true (no sound card, an input that
// clips). It lies over the image and grows with it, so it reads at every size
// of the window, and lets the mouse through.
#include <QColor>
#include <QRect>
#include <QWidget>

namespace app::status {

// A band of an instrument a note is drawn across: its image, and the image's
// size in the design's pixels.
struct HintBand {
    QWidget* image = nullptr;
    QSize design;
};

// How a note looks: the letters' colour, and the area's (none: the band
// shows through).
struct NoteLook {
    QColor text = Qt::black;
    QColor fill = Qt::transparent;
};

class BandNote : public QWidget {
public:
    // Over `area` of `image` (in the image's design pixels), in letters
    // `letterPx` design pixels high, wrapped to the area's width; smaller when
    // the text would not fit the area so. Shown at once.
    BandNote(QWidget* image, QSize imageDesignSize, QRect area, int letterPx, const QString& text,
             NoteLook look = {});

    const QString& text() const { return text_; }
    // The letters' height in screen pixels as the note draws them now.
    int letterPixels() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void place();
    QFont font() const;

    QSize design_;
    QRect area_;
    int letterPx_;
    QString text_;
    NoteLook look_;
};

}  // namespace app::status
