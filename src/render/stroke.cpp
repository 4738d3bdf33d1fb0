#include "render/stroke.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace render {

namespace {
constexpr double kInf = std::numeric_limits<double>::infinity();
// The ends reach no farther than those of the 3-pixel pen.
constexpr double kMaxEndReach = 1.5;
}  // namespace

Stroke::Stroke(int x1, int y1, int x2, int y2, int width)
    : m_x1(x1), m_y1(y1), m_x2(x2), m_y2(y2), m_dx(m_x2 - m_x1), m_dy(m_y2 - m_y1) {
    m_length = std::sqrt(m_dx * m_dx + m_dy * m_dy);
    if (m_length > 0) {
        m_ux = m_dx / m_length;
        m_uy = m_dy / m_length;
    } else {
        m_ux = 0;
        m_uy = 1;
    }
    m_r = std::max(width, 1) / 2.0;
    m_e = std::min(m_r, kMaxEndReach);

    // s = ux X + uy Y (along), t = -uy X + ux Y (across); s^2/e^2 + t^2/r^2 <= 1.
    const double ie2 = 1.0 / (m_e * m_e);
    const double ir2 = 1.0 / (m_r * m_r);
    m_p = m_ux * m_ux * ie2 + m_uy * m_uy * ir2;
    m_q = m_ux * m_uy * (ie2 - ir2);
    m_s = m_uy * m_uy * ie2 + m_ux * m_ux * ir2;

    // Vertical reach of an end ellipse (it also bounds the body's corners).
    const double reach = std::sqrt(m_e * m_e * m_uy * m_uy + m_r * m_r * m_ux * m_ux);
    m_firstRow = static_cast<std::int64_t>(std::ceil(std::min(m_y1, m_y2) - reach - kNudge));
    m_lastRow = static_cast<std::int64_t>(std::floor(std::max(m_y1, m_y2) + reach - kNudge));

    m_vertical = x1 == x2;
    m_bodyColumns = {static_cast<std::int64_t>(std::ceil(m_x1 - m_r - kNudge)),
                     static_cast<std::int64_t>(std::floor(m_x1 + m_r - kNudge))};
}

std::optional<Stroke::UniformRows> Stroke::uniformRows() const {
    // Rows whose nudged centre y + n lies between the end points: min..max - 1.
    if (!m_vertical || m_length == 0)
        return std::nullopt;
    const auto top = static_cast<std::int64_t>(std::min(m_y1, m_y2));
    const auto bottom = static_cast<std::int64_t>(std::max(m_y1, m_y2));
    return UniformRows{top, bottom - 1, m_bodyColumns};
}

std::optional<Stroke::Columns> Stroke::columns(std::int64_t y) const {
    if (y < m_firstRow || y > m_lastRow)
        return std::nullopt;
    const double qy = static_cast<double>(y) + kNudge;
    if (m_vertical && m_length > 0 && qy >= std::min(m_y1, m_y2) && qy <= std::max(m_y1, m_y2))
        return m_bodyColumns;  // the general case below gives the same, only slower
    double lo = 0;
    double hi = 0;
    if (!edges(y, lo, hi))
        return std::nullopt;
    return rounded(lo, hi);
}

std::optional<Stroke::Columns> Stroke::rounded(double lo, double hi) {
    const auto first = static_cast<std::int64_t>(std::ceil(lo - kNudge));
    const auto last = static_cast<std::int64_t>(std::floor(hi - kNudge));
    if (first > last)
        return std::nullopt;
    return Columns{first, last};
}

bool Stroke::edges(std::int64_t y, double& lo, double& hi) const {
    const double qy = static_cast<double>(y) + kNudge;
    lo = kInf;
    hi = -kInf;

    // The two ends.
    auto end = [&](double cx, double cy) {
        const double yy = qy - cy;
        const double b = m_q * yy;
        const double disc = b * b - m_p * (m_s * yy * yy - 1.0);
        if (disc >= 0) {
            const double root = std::sqrt(disc);
            lo = std::min(lo, cx + (-b - root) / m_p);
            hi = std::max(hi, cx + (-b + root) / m_p);
        }
    };
    end(m_x1, m_y1);
    end(m_x2, m_y2);

    // The body: points whose projection falls on the segment and whose
    // distance from its line is at most r. In X = x - x1, v = qy - y1:
    //   0 <= X*dx + v*dy <= length^2   and   |dx*v - dy*X| <= r*length.
    if (m_length > 0) {
        const double v = qy - m_y1;
        const double length2 = m_length * m_length;
        const double rLength = m_r * m_length;
        double xlo = -kInf;
        double xhi = kInf;
        bool empty = false;
        if (m_dx != 0) {
            double t0 = (0 - v * m_dy) / m_dx;
            double t1 = (length2 - v * m_dy) / m_dx;
            if (m_dx < 0)
                std::swap(t0, t1);
            xlo = std::max(xlo, t0);
            xhi = std::min(xhi, t1);
        } else if (v * m_dy < 0 || v * m_dy > length2) {
            empty = true;
        }
        if (m_dy != 0) {
            double c0 = (m_dx * v - rLength) / m_dy;
            double c1 = (m_dx * v + rLength) / m_dy;
            if (m_dy < 0)
                std::swap(c0, c1);
            xlo = std::max(xlo, c0);
            xhi = std::min(xhi, c1);
        } else if (std::abs(m_dx * v) > rLength) {
            empty = true;
        }
        if (!empty && xlo <= xhi) {
            lo = std::min(lo, m_x1 + xlo);
            hi = std::max(hi, m_x1 + xhi);
        }
    }

    return lo <= hi;
}

}  // namespace render
