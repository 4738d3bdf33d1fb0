#include "render/canvas.h"

#include "render/fonts.h"
#include "render/stroke.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace render {

Canvas::Canvas(int width, int height) : m_width(std::max(width, 0)), m_height(std::max(height, 0)) {}

QImage& Canvas::surface() {
    if (m_image.isNull() && m_width > 0 && m_height > 0) {
        m_image = QImage(m_width, m_height, QImage::Format_RGB32);
        m_image.fill(0xFFFFFFFFu);
    }
    return m_image;
}

void Canvas::lineTo(int x, int y) {
    const Stroke stroke(m_penPos.x(), m_penPos.y(), x, y, m_penWidth);
    m_penPos = QPoint(x, y);
    QImage& img = surface();
    if (img.isNull())
        return;
    const std::int64_t top = std::max<std::int64_t>(stroke.firstRow(), 0);
    const std::int64_t bottom = std::min<std::int64_t>(stroke.lastRow(), m_height - 1);
    const QRgb color = 0xFF000000u | m_penColor;
    const auto uniform = stroke.uniformRows();
    uchar* const bits = img.bits();  // one detach check per line, not per row
    const qsizetype bytesPerLine = img.bytesPerLine();
    for (std::int64_t row = top; row <= bottom; ++row) {
        std::optional<Stroke::Columns> cols;
        if (uniform && row >= uniform->first && row <= uniform->last)
            cols = uniform->columns;
        else
            cols = stroke.columns(row);
        if (!cols)
            continue;
        const std::int64_t first = std::max<std::int64_t>(cols->first, 0);
        const std::int64_t last = std::min<std::int64_t>(cols->last, m_width - 1);
        if (first > last)
            continue;
        auto* line = reinterpret_cast<QRgb*>(bits + row * bytesPerLine);
        std::fill(line + first, line + last + 1, color);
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
}

}  // namespace render
