#pragma once

#include "ClipPoint.h"

#include <QPointF>
#include <QSizeF>

namespace ek::viewer {

// The point's place in a view of size pixels (origin top-left, y down);
// the point must lie in front of the near plane.
inline QPointF toScreen(const ClipPoint& c, const QSizeF& size)
{
    const ViewPoint p = toView(c, size.width(), size.height());
    return {p.x, p.y};
}

} // namespace ek::viewer
