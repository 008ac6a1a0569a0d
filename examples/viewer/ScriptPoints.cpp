// How a script names a point: pixels, or a handle of the latest layout
// with an offset.
#include "ScriptRunner.h"

#include "EditorSession.h"
#include "ScriptInput.h"
#include "ViewLayout.h"

#include <cmath>

namespace ek::viewer {
namespace {

// "A B": two numbers of pixels, a position or an offset.
bool readPixelPair(const QStringList& words, int& at, double& a, double& b, QString& error)
{
    if (!readPixels(words.value(at), a, error) || !readPixels(words.value(at + 1), b, error)) {
        return false;
    }
    at += 2;
    return true;
}

} // namespace

bool ScriptRunner::readPoint(const QStringList& words, int& at, QPoint& out, QString& error) const
{
    if (at >= words.size()) {
        error = QStringLiteral("a position is missing");
        return false;
    }
    double x = 0.0;
    double y = 0.0;
    const bool read = looksNumeric(words[at]) ? readPixelPair(words, at, x, y, error)
                                              : readHandlePoint(words, at, x, y, error);
    if (!read) {
        return false;
    }
    // A handle far off screen plus an offset can still land out of range.
    if (!(std::fabs(x) <= kMaxPixels && std::fabs(y) <= kMaxPixels)) {
        error = QStringLiteral("the position (%1, %2) lies beyond %3 pixels")
                    .arg(x)
                    .arg(y)
                    .arg(kMaxPixels, 0, 'f', 0);
        return false;
    }
    out = QPoint(qRound(x), qRound(y));
    return true;
}

bool ScriptRunner::readHandlePoint(const QStringList& words, int& at, double& x, double& y,
                                   QString& error) const
{
    int tip = -1;
    if (!readHandle(words[at], x, y, tip)) {
        error = QStringLiteral("'%1' is not a visible handle of the latest layout").arg(words[at]);
        return false;
    }
    ++at;
    double dx = 0.0;
    double dy = 0.0;
    if (words.value(at) == QLatin1String("along")) {
        if (tip < 0) {
            error = QStringLiteral("'along' follows a tip: tip0, tip1 or tip2");
            return false;
        }
        double distance = 0.0;
        if (!readPixels(words.value(at + 1), distance, error)) {
            return false;
        }
        const ScreenPoint& centre = m_session.lastLayout().centre;
        const double length = std::hypot(x - centre.x, y - centre.y);
        if (length == 0.0) {
            error = QStringLiteral("tip%1 lies on the centre: it points nowhere").arg(tip);
            return false;
        }
        dx = (x - centre.x) / length * distance;
        dy = (y - centre.y) / length * distance;
        at += 2;
    } else if (looksNumeric(words.value(at)) && !readPixelPair(words, at, dx, dy, error)) {
        return false;
    }
    x += dx;
    y += dy;
    return true;
}

bool ScriptRunner::readHandle(const QString& name, double& x, double& y, int& tip) const
{
    const ViewLayout& layout = m_session.lastLayout();
    const ScreenPoint* found = nullptr;
    if (name.startsWith(QLatin1Char('@'))) {
        for (const ObjectMark& object : layout.objects) {
            if (QString::fromStdString(object.name) == name.mid(1)) {
                found = &object.centre;
            }
        }
    } else if (layout.gizmoShown) {
        const int index = name.right(1).toInt();
        const bool indexed = name.size() > 1 && name.at(name.size() - 1).isDigit() && index < 3;
        if (name == QLatin1String("center")) {
            found = &layout.centre;
        } else if (indexed && name.chopped(1) == QLatin1String("tip")) {
            found = &layout.tips[std::size_t(index)];
            tip = index;
        } else if (indexed && name.chopped(1) == QLatin1String("ring")) {
            found = &layout.rings[std::size_t(index)];
        } else if (indexed && name.chopped(1) == QLatin1String("plane")) {
            found = &layout.planes[std::size_t(index)];
        } else if (name == QLatin1String("screen")) {
            found = &layout.screen;
        } else if (name == QLatin1String("viewring")) {
            found = &layout.viewRing;
        }
    }
    if (found == nullptr || !found->visible) {
        return false;
    }
    x = found->x;
    y = found->y;
    return true;
}

} // namespace ek::viewer
