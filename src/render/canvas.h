#pragma once

#include "render/stroke_spans.h"

#include <QImage>
#include <QPoint>
#include <QRgb>
#include <QRect>
#include <QString>

#include <array>
#include <memory>
#include <vector>

class QPainter;

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
//
// Display rendering. The bitmap is the image at its design size, pixel for
// pixel. A window shown larger than designed (a projector) asks for a second
// rendering at the screen's resolution: setDisplayScale(sx, sy) keeps, next to
// the bitmap, a displayImage() of the size scaled, drawn by the same lines and
// texts in design coordinates under a scaling transform, smooth (antialiased),
// so that it is as sharp as the screen allows. For a later change of scale the
// canvas keeps what it drew (with setRecording): the drawing of the last
// background, the last face and the last pointer (see beginLayer), and draws
// it again at the new scale. (What a tall face left below a later ordinary
// face is not drawn again.) The bitmap never depends on any of this.
class Canvas {
public:
    Canvas(int width, int height);
    ~Canvas();
    Canvas(const Canvas& other) = default;
    Canvas& operator=(const Canvas& other) = default;

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

    // What the next drawing operations are, for drawing them again at another
    // display scale, in the order drawn: a Background covers the whole image
    // and forgets all that was drawn before; a Face forgets the faces before it
    // (not the pointer standing below it); a Pointer, which erases the one
    // before, forgets the pointers before it.
    enum class Layer { Background, Face, Pointer };
    void beginLayer(Layer layer);
    // Keep the drawing operations (needed to change the display scale later).
    void setRecording(bool on);
    std::size_t recordedOperations() const { return m_operations.size(); }

    // A scale of 1 x 1 drops the display image; displayImage() is then null.
    void setDisplayScale(double sx, double sy);
    const QImage& displayImage() const;
    double displayScaleX() const { return m_sx; }
    double displayScaleY() const { return m_sy; }
    // The design-coordinate rectangle of the bitmap's pixels that changed
    // since the last call (empty when none did), for repainting no more than
    // that; with a display rendering, of all that was drawn since. The first
    // call gives all that was drawn. Whoever shows the bitmap calls it after
    // drawing and repaints the rectangle.
    QRect takeDirtyRect();

private:
    struct Operation {
        Layer layer;
        bool isText;
        int x1, y1, x2, y2;  // line end points, or the text's corner in x1, y1
        int penWidth;
        QRgb color;          // pen or font colour
        QString text;
        QString fontName;
        int fontPoints;
        bool brushClear;
        QRgb brushColor;
    };
    void record(Operation op);
    void displayLine(const Operation& op);
    void displayText(const Operation& op);
    void redrawDisplay();
    // The painter on the display image, kept open between operations (opening
    // one costs more than drawing a line); closed whenever the image is read.
    QPainter& displayPainter();
    void closeDisplayPainter() const;
    void markDirty(const QRect& r) { m_dirty |= r; }

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

    Layer m_layer = Layer::Background;
    bool m_recording = false;
    std::vector<Operation> m_operations;
    std::array<std::size_t, 3> m_recordedOfLayer{};  // operations recorded, per Layer
    double m_sx = 1.0;
    double m_sy = 1.0;
    // Declared before m_display: copying or assigning a canvas closes the
    // painters first, so that the image is copied as drawn; a copy opens a
    // painter of its own when it draws.
    struct OpenPainter {
        OpenPainter() = default;
        OpenPainter(const OpenPainter& other);
        OpenPainter& operator=(const OpenPainter& other);
        ~OpenPainter();
        void close() const;
        mutable std::unique_ptr<QPainter> painter;
    };
    OpenPainter m_displayPainter;
    QImage m_display;
    QRect m_dirty;
    QImage m_handedOut;  // the bitmap as it was at the last takeDirtyRect()
    StrokeSpans m_spans;  // the rows of the slanted lines drawn, by shape
};

}  // namespace render
