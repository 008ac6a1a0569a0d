#pragma once

#include "SolidDrawing.h"

#include <QPointF>

#include <cstddef>
#include <vector>

class QPainter;
class QSizeF;

namespace ek::viewer {

// Draws the scene's objects as lit solids with QPainter, as SolidDrawing
// lays them out, antialiased as the painter is set.
class SolidRenderer {
public:
    // selection: indices into objects, the active object last.
    void draw(QPainter& painter, const std::vector<SceneObject>& objects,
              const std::vector<std::size_t>& selection, const ekCamera& camera,
              const QSizeF& size);

private:
    SolidDrawing m_drawing;
    // Scratch kept across frames so that steady frames allocate nothing.
    std::vector<QPointF> m_polygon;
};

} // namespace ek::viewer
