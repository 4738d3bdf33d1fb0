#pragma once

#include <QImage>
#include <QPoint>
#include <QRgb>
#include <QString>

namespace render {

// The drawing surface of one image: a bitmap of exactly the image's size, drawn
// with a pen (width, colour, current position; move-to and line-to) and a font
// (name, size in points, colour) over a solid or clear brush.
//
// The bitmap (QImage::Format_RGB32) is created at the first drawing operation,
// filled white; until then image() is a null QImage. Everything drawn outside
// the bitmap is clipped away. Drawing is exact and repeatable: the same calls
// give the same bytes.
//
// Lines: lineTo paints the wide-pen shape described in render/stroke.h (round
// ends reaching half the pen width beyond both end points; a vertical line of
// width 3 from (x, a) to (x, b) paints columns x-1..x+1, rows a-1..b+1), with
// no antialiasing, and moves the pen to the end point.
//
// Text: textOut(x, y, text) puts the top-left corner of the character cell at
// (x, y): the baseline lies the font's ascent below y. Characters are drawn in
// the font colour without antialiasing or kerning; with a solid brush the cell
// (advance width x cell height) is first filled with the brush colour, with a
// clear brush the background shows between the strokes. The font size is in
// points at 96 pixels per inch (see pointsToPixels in render/fonts.h).
//
// Initial state (as a fresh canvas of the window toolkit): pen width 1, black,
// at (0, 0); font "MS Sans Serif", 8 points, black; brush solid white.
class Canvas {
public:
    Canvas(int width, int height);

    int width() const { return m_width; }
    int height() const { return m_height; }
    const QImage& image() const { return m_image; }

    void setPenWidth(int width) { m_penWidth = width; }
    int penWidth() const { return m_penWidth; }
    void setPenColor(QRgb color) { m_penColor = color; }
    QRgb penColor() const { return m_penColor; }

    void moveTo(int x, int y) { m_penPos = QPoint(x, y); }
    void lineTo(int x, int y);
    QPoint penPosition() const { return m_penPos; }
    // moveTo(x1, y1) then lineTo(x2, y2).
    void line(int x1, int y1, int x2, int y2);

    void setFontName(const QString& name) { m_fontName = name; }
    const QString& fontName() const { return m_fontName; }
    void setFontSize(int points) { m_fontPoints = points; }
    int fontSize() const { return m_fontPoints; }
    void setFontColor(QRgb color) { m_fontColor = color; }
    QRgb fontColor() const { return m_fontColor; }

    void setBrushClear(bool clear) { m_brushClear = clear; }
    bool brushClear() const { return m_brushClear; }
    void setBrushColor(QRgb color) { m_brushColor = color; }
    QRgb brushColor() const { return m_brushColor; }

    void textOut(int x, int y, const QString& text);

private:
    // The bitmap, created on first use; null when the image has no area.
    QImage& surface();

    int m_width;
    int m_height;
    QImage m_image;
    int m_penWidth = 1;
    QRgb m_penColor = 0xFF000000u;
    QPoint m_penPos;
    QString m_fontName = QStringLiteral("MS Sans Serif");
    int m_fontPoints = 8;
    QRgb m_fontColor = 0xFF000000u;
    bool m_brushClear = false;
    QRgb m_brushColor = 0xFFFFFFFFu;
};

}  // namespace render
