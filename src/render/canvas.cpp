#include "render/canvas.h"

#include "render/fonts.h"
#include "render/stroke.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>
#include <utility>

namespace render {

Canvas::Canvas(int width, int height) : m_width(std::max(width, 0)), m_height(std::max(height, 0)) {}

Canvas::~Canvas() { closeDisplayPainter(); }

const QImage& Canvas::displayImage() const {
    closeDisplayPainter();
    return m_display;
}

QPainter& Canvas::displayPainter() {
    auto& painter = m_displayPainter.painter;
    if (!painter) {
        painter = std::make_unique<QPainter>(&m_display);
        painter->setRenderHint(QPainter::Antialiasing, true);
        painter->setRenderHint(QPainter::TextAntialiasing, true);
        painter->scale(m_sx, m_sy);
    }
    return *painter;
}

void Canvas::closeDisplayPainter() const { m_displayPainter.close(); }

Canvas::OpenPainter::OpenPainter(const OpenPainter& other) { other.close(); }

Canvas::OpenPainter& Canvas::OpenPainter::operator=(const OpenPainter& other) {
    close();
    other.close();
    return *this;
}

Canvas::OpenPainter::~OpenPainter() = default;

void Canvas::OpenPainter::close() const {
    if (painter) {
        painter->end();
        painter.reset();
    }
}

QImage& Canvas::surface() {
    if (m_image.isNull() && m_width > 0 && m_height > 0) {
        m_image = QImage(m_width, m_height, QImage::Format_RGB32);
        m_image.fill(0xFFFFFFFFu);
    }
    return m_image;
}

void Canvas::lineTo(int x, int y) {
    const QPoint from = m_penPos;
    m_penPos = QPoint(x, y);
    QImage& img = surface();
    if (img.isNull())
        return;
    if (m_recording || !m_display.isNull()) {
        Operation op{m_layer, false, from.x(), from.y(), x, y, m_penWidth, m_penColor, {}, {}, 0, false, 0};
        if (!m_display.isNull())
            displayLine(op);
        record(std::move(op));
    }
    {
        const std::int64_t reach = std::max(m_penWidth, 1) / 2 + 2;
        const std::int64_t l = std::max<std::int64_t>(std::min(from.x(), x) - reach, -1);
        const std::int64_t r = std::min<std::int64_t>(std::max(from.x(), x) + reach, m_width);
        const std::int64_t t = std::max<std::int64_t>(std::min(from.y(), y) - reach, -1);
        const std::int64_t b = std::min<std::int64_t>(std::max(from.y(), y) + reach, m_height);
        if (l <= r && t <= b)
            markDirty(QRect(QPoint(static_cast<int>(l), static_cast<int>(t)), QPoint(static_cast<int>(r), static_cast<int>(b))));
    }
    const QRgb color = 0xFF000000u | m_penColor;
    uchar* const bits = img.bits();  // one detach check per line, not per row
    const qsizetype bytesPerLine = img.bytesPerLine();
    auto fill = [&](std::int64_t row, std::int64_t firstColumn, std::int64_t lastColumn) {
        const std::int64_t first = std::max<std::int64_t>(firstColumn, 0);
        const std::int64_t last = std::min<std::int64_t>(lastColumn, m_width - 1);
        if (first > last)
            return;
        auto* line = reinterpret_cast<QRgb*>(bits + row * bytesPerLine);
        std::fill(line + first, line + last + 1, color);
    };
    if (const StrokeSpans::Spans* spans = m_spans.find(from.x(), from.y(), x, y, m_penWidth)) {
        const auto count = static_cast<std::int64_t>(spans->rows.size());
        const std::int64_t top = std::max<std::int64_t>(spans->firstRow, 0);
        const std::int64_t bottom = std::min<std::int64_t>(spans->firstRow + count - 1, m_height - 1);
        for (std::int64_t row = top; row <= bottom; ++row) {
            const StrokeSpans::Row& r = spans->rows[static_cast<std::size_t>(row - spans->firstRow)];
            if (r.painted)
                fill(row, from.x() + std::int64_t{r.first}, from.x() + std::int64_t{r.last});
        }
        return;
    }
    const Stroke stroke(from.x(), from.y(), x, y, m_penWidth);
    const std::int64_t top = std::max<std::int64_t>(stroke.firstRow(), 0);
    const std::int64_t bottom = std::min<std::int64_t>(stroke.lastRow(), m_height - 1);
    const auto uniform = stroke.uniformRows();
    for (std::int64_t row = top; row <= bottom; ++row) {
        if (uniform && row >= uniform->first && row <= uniform->last) {
            // The body of a vertical line (most lines drawn): the same columns
            // on every row, clipped once.
            const std::int64_t first = std::max<std::int64_t>(uniform->columns.first, 0);
            const std::int64_t last = std::min<std::int64_t>(uniform->columns.last, m_width - 1);
            const std::int64_t end = std::min(uniform->last, bottom);
            if (first <= last) {
                const auto count = static_cast<std::size_t>(last - first + 1);
                for (std::int64_t r = row; r <= end; ++r)
                    std::fill_n(reinterpret_cast<QRgb*>(bits + r * bytesPerLine) + first, count, color);
            }
            row = end;
            continue;
        }
        if (const auto cols = stroke.columns(row))
            fill(row, cols->first, cols->last);
    }
}

void Canvas::line(int x1, int y1, int x2, int y2) {
    moveTo(x1, y1);
    lineTo(x2, y2);
}

void Canvas::textOut(int x, int y, const QString& text) {
    QImage& img = surface();
    if (img.isNull() || text.isEmpty())
        return;
    QFont font(m_fontName);
    const int pixels = std::max(pointsToPixels(m_fontPoints), 1);
    font.setPixelSize(pixels);
    font.setStyleStrategy(QFont::NoAntialias);
    font.setKerning(false);
    const QFontMetrics metrics(font, &img);
    // Text positions are designed for the cell of Arial-metric fonts: ascent
    // 1854/2048 and descent 434/2048 of the em. The free stand-ins (Liberation,
    // Nimbus) share the glyph metrics but some report a taller cell; placing
    // text by Arial's cell keeps their glyphs where the designs expect.
    const int ascent = static_cast<int>((static_cast<std::int64_t>(pixels) * 1854 + 1024) / 2048);
    const int cellHeight = static_cast<int>((static_cast<std::int64_t>(pixels) * 2288 + 1024) / 2048);
    // Nothing of a text that starts right of or below the image, or ends left
    // of or above it, can show (with a cell height to spare for strokes that
    // overhang the cell; checked in 64 bits, positions are arbitrary).
    const std::int64_t left = x;
    const std::int64_t top = y;
    if (left >= m_width || top >= m_height || left + metrics.horizontalAdvance(text) + cellHeight < 0 ||
        top + cellHeight < 0)
        return;
    QPainter painter(&img);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    if (!m_brushClear)
        painter.fillRect(x, y, metrics.horizontalAdvance(text), cellHeight, QColor::fromRgb(m_brushColor));
    painter.setFont(font);
    painter.setPen(QColor::fromRgb(m_fontColor));
    painter.drawText(x, y + ascent, text);
    painter.end();

    const int advance = metrics.horizontalAdvance(text);
    markDirty(QRect(x - cellHeight / 4, y - 2, advance + cellHeight / 2, cellHeight + 4));
    if (m_recording || !m_display.isNull()) {
        Operation op{m_layer, true, x, y, 0, 0, 0, m_fontColor, text, m_fontName, m_fontPoints, m_brushClear,
                     m_brushColor};
        if (!m_display.isNull())
            displayText(op);
        record(std::move(op));
    }
}

void Canvas::beginLayer(Layer layer) {
    m_layer = layer;
    if (!m_recording)
        return;
    if (layer == Layer::Background) {
        m_operations.clear();
        m_recordedOfLayer = {};
        return;
    }
    auto forget = [layer](const Operation& op) { return op.layer == layer; };
    std::size_t& count = m_recordedOfLayer[static_cast<std::size_t>(layer)];
    // The pointer moves many times a second and its operations are usually
    // the last ones recorded: drop that tail, and look through the rest only
    // when operations of the layer lie before it.
    auto tail = m_operations.end();
    while (tail != m_operations.begin() && forget(*std::prev(tail)))
        --tail;
    count -= static_cast<std::size_t>(m_operations.end() - tail);
    m_operations.erase(tail, m_operations.end());
    if (count > 0)
        std::erase_if(m_operations, forget);
    count = 0;
}

void Canvas::setRecording(bool on) {
    m_recording = on;
    if (!on) {
        m_operations.clear();
        m_recordedOfLayer = {};
    }
}

void Canvas::record(Operation op) {
    if (m_recording) {
        ++m_recordedOfLayer[static_cast<std::size_t>(op.layer)];
        m_operations.push_back(std::move(op));
    }
}

void Canvas::setDisplayScale(double sx, double sy) {
    closeDisplayPainter();
    if (!(sx > 0) || !(sy > 0) || (sx == 1.0 && sy == 1.0)) {
        m_sx = m_sy = 1.0;
        m_display = QImage();
        return;
    }
    if (sx == m_sx && sy == m_sy && !m_display.isNull())
        return;
    m_sx = sx;
    m_sy = sy;
    redrawDisplay();
}

QRect Canvas::takeDirtyRect() {
    const QRect drawn = m_dirty & QRect(0, 0, m_width, m_height);
    m_dirty = QRect();
    if (!m_display.isNull() || m_image.isNull()) {
        m_handedOut = QImage();  // what the screen shows is the display rendering
        return drawn;
    }
    if (m_handedOut.isNull()) {
        m_handedOut = m_image.copy();
        return drawn;
    }
    if (drawn.isEmpty())
        return drawn;
    // Of what was drawn, only the pixels that differ from the bitmap at the
    // last call: a pointer move repaints much of the band with the colours it
    // had (lines of a ramp overlap, so most pixels change and change back).
    int left = m_width, right = -1, top = m_height, bottom = -1;
    const auto rowBytes = static_cast<std::size_t>(drawn.width()) * sizeof(QRgb);
    for (int y = drawn.top(); y <= drawn.bottom(); ++y) {
        const auto* now = reinterpret_cast<const QRgb*>(m_image.constScanLine(y)) + drawn.left();
        const auto* was = reinterpret_cast<const QRgb*>(std::as_const(m_handedOut).constScanLine(y)) + drawn.left();
        if (std::memcmp(now, was, rowBytes) == 0)
            continue;
        int first = 0;
        while (now[first] == was[first])
            ++first;
        int last = drawn.width() - 1;
        while (now[last] == was[last])
            --last;
        left = std::min(left, drawn.left() + first);
        right = std::max(right, drawn.left() + last);
        top = std::min(top, y);
        bottom = y;
    }
    if (right < 0)
        return {};
    const QRect changed(QPoint(left, top), QPoint(right, bottom));
    const auto changedBytes = static_cast<std::size_t>(changed.width()) * sizeof(QRgb);
    for (int y = changed.top(); y <= changed.bottom(); ++y) {
        std::memcpy(reinterpret_cast<QRgb*>(m_handedOut.scanLine(y)) + changed.left(),
                    reinterpret_cast<const QRgb*>(m_image.constScanLine(y)) + changed.left(), changedBytes);
    }
    return changed;
}

void Canvas::redrawDisplay() {
    const int w = static_cast<int>(std::ceil(m_width * m_sx));
    const int h = static_cast<int>(std::ceil(m_height * m_sy));
    if (w <= 0 || h <= 0) {
        m_display = QImage();
        return;
    }
    closeDisplayPainter();
    m_display = QImage(w, h, QImage::Format_RGB32);
    m_display.fill(0xFFFFFFFFu);
    for (const Operation& op : m_operations) {
        if (op.isText)
            displayText(op);
        else
            displayLine(op);
    }
    markDirty(QRect(0, 0, m_width, m_height));
}

// The line of the bitmap's pen shape (render/stroke.h) in continuous design
// coordinates, where the bitmap's pixel (px, py) is the square from (px, py)
// to (px + 1, py + 1): centred on the pixel centres, w wide, ending
// min(w / 2, 1.5) beyond both end points.
void Canvas::displayLine(const Operation& op) {
    QPainter& painter = displayPainter();
    const double w = std::max(op.penWidth, 1);
    if (op.x1 == op.x2) {
        // Vertical (the bands' and ticks' lines): a rectangle, filled faster
        // than a stroked line.
        const double e = std::min(w / 2.0, 1.5);
        const double top = std::min(op.y1, op.y2) + 0.5 - e;
        const double bottom = std::max(op.y1, op.y2) + 0.5 + e;
        // Whole device pixels: the edges of neighbouring lines then meet
        // without seams, and a tick's edges are as sharp as the screen's.
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.fillRect(QRectF(op.x1 + 0.5 - w / 2.0, top, w, bottom - top), QColor::fromRgb(op.color));
        painter.setRenderHint(QPainter::Antialiasing, true);
        return;
    }
    QPointF a(op.x1 + 0.5, op.y1 + 0.5);
    QPointF b(op.x2 + 0.5, op.y2 + 0.5);
    double dx = b.x() - a.x();
    double dy = b.y() - a.y();
    const double length = std::hypot(dx, dy);
    if (length == 0.0) {
        dx = 0.0;
        dy = 1.0;
    } else {
        dx /= length;
        dy /= length;
    }
    const double e = std::min(w / 2.0, 1.5);
    a -= QPointF(dx * e, dy * e);
    b += QPointF(dx * e, dy * e);
    painter.setPen(QPen(QColor::fromRgb(op.color), w, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(a, b);
}

void Canvas::displayText(const Operation& op) {
    QFont font(op.fontName);
    const int pixels = std::max(pointsToPixels(op.fontPoints), 1);
    font.setPixelSize(pixels);
    font.setKerning(false);
    font.setHintingPreference(QFont::PreferNoHinting);
    const int ascent = static_cast<int>((static_cast<std::int64_t>(pixels) * 1854 + 1024) / 2048);
    const int cellHeight = static_cast<int>((static_cast<std::int64_t>(pixels) * 2288 + 1024) / 2048);
    QPainter& painter = displayPainter();
    if (!op.brushClear) {
        const QFontMetrics metrics(font);
        painter.fillRect(QRectF(op.x1, op.y1, metrics.horizontalAdvance(op.text), cellHeight),
                         QColor::fromRgb(op.brushColor));
    }
    painter.setFont(font);
    painter.setPen(QColor::fromRgb(op.color));
    painter.drawText(QPointF(op.x1, op.y1 + ascent), op.text);
}

}  // namespace render
