#include "app/keypadview/keynavigation.h"

#include <limits>

namespace {

// Far enough that a control outside the row or column never wins over one
// inside it.
constexpr long long kOutOfLinePenalty = 1LL << 32;

bool overlapsVertically(const QRect &a, const QRect &b)
{
    return a.top() <= b.bottom() && b.top() <= a.bottom();
}

bool overlapsHorizontally(const QRect &a, const QRect &b)
{
    return a.left() <= b.right() && b.left() <= a.right();
}

int firstInReadingOrder(const QVector<QRect> &controls)
{
    int best = -1;
    for (int i = 0; i < controls.size(); ++i) {
        const QRect &r = controls[i];
        if (r.isNull())
            continue;
        if (best < 0) {
            best = i;
            continue;
        }
        const QRect &b = controls[best];
        const bool sameRow = overlapsVertically(r, b);
        if ((sameRow && r.left() < b.left()) || (!sameRow && r.top() < b.top()))
            best = i;
    }
    return best;
}

} // namespace

int neighbourInDirection(const QVector<QRect> &controls, int from, NavDirection direction)
{
    if (from < 0 || from >= controls.size() || controls[from].isNull())
        return firstInReadingOrder(controls);
    const QRect &origin = controls[from];
    const QPoint o = origin.center();
    int best = -1;
    long long bestScore = std::numeric_limits<long long>::max();
    for (int i = 0; i < controls.size(); ++i) {
        const QRect &r = controls[i];
        if (i == from || r.isNull())
            continue;
        const QPoint c = r.center();
        const bool horizontal = direction == NavDirection::Left || direction == NavDirection::Right;
        int primary = 0;
        switch (direction) {
        case NavDirection::Left: primary = o.x() - c.x(); break;
        case NavDirection::Right: primary = c.x() - o.x(); break;
        case NavDirection::Up: primary = o.y() - c.y(); break;
        case NavDirection::Down: primary = c.y() - o.y(); break;
        }
        if (primary <= 0)
            continue;
        const int secondary = horizontal ? qAbs(c.y() - o.y()) : qAbs(c.x() - o.x());
        const bool inLine = horizontal ? overlapsVertically(origin, r) : overlapsHorizontally(origin, r);
        const long long score =
            (inLine ? 0 : kOutOfLinePenalty) + primary + (inLine ? secondary : 2LL * secondary);
        if (score < bestScore) {
            bestScore = score;
            best = i;
        }
    }
    return best;
}
