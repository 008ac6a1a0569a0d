#include "ekGroupLines.h"

#include "ekGizmoGroup.h"
#include "ekUnitAxes.h"

#include <ekSceneGraph/ekNode.h>

#include <cmath>

namespace ek {

namespace {

// Whether a style value can scale a width: a positive finite number.
bool isUsableWidth(float value)
{
    return value > 0.0f && std::isfinite(value);
}

} // namespace

float handleStrokeWidth(const ekGizmoStyle& style, float ownWidth)
{
    return feedbackStrokeWidth(style, isUsableWidth(style.lineWidth) ? style.lineWidth : ownWidth);
}

float feedbackStrokeWidth(const ekGizmoStyle& style, float ownWidth)
{
    return isUsableWidth(style.devicePixelRatio) ? ownWidth * style.devicePixelRatio : ownWidth;
}

void showLine(ekLine& line, bool shown)
{
    const ekSpatial::CullingMode mode = shown ? ekSpatial::CULL_DYNAMIC : ekSpatial::CULL_ALWAYS;
    if (line.getCullingMode() != mode) {
        line.setCullingMode(mode);
    }
}

void setShape(ekLine& line, std::initializer_list<Wm4::Vector3<float>> vertices,
              std::initializer_list<unsigned int> indices)
{
    int vertex = 0;
    for (const Wm4::Vector3<float>& position : vertices) {
        line.setVertexPosition(vertex++, position);
    }
    int slot = 0;
    for (unsigned int index : indices) {
        line.setIndex(slot++, index);
    }
}

void setRay(ekLine& line, const Wm4::Vector3<float>& end)
{
    setShape(line, {Wm4::Vector3<float>::ZERO, end}, {0, 1});
}

ekPointer<ekLine> sealShape(ekLine* shape)
{
    shape->getModelBound();
    return shape;
}

void makeShafts(ekAxisLines& shafts)
{
    // The translate and scale groups draw the same shafts.
    static const ekAxisLines kShapes = [] {
        ekAxisLines shapes;
        for (unsigned int axis = 0; axis < kAxisCount; ++axis) {
            auto* shaft = new ekLine(2u);
            setRay(*shaft, unitAxis(axis));
            shapes[axis] = sealShape(shaft);
        }
        return shapes;
    }();
    for (unsigned int axis = 0; axis < kAxisCount; ++axis) {
        shafts[axis] = lineOfShape(*kShapes[axis]);
    }
}

void attachToOwner(const ekGizmoGroup& group, ekLine& line)
{
    group.lineParent().attachChild(&line);
}

void markOwnerForRedraw(const ekGizmoGroup& group)
{
    group.lineParent().setDirty(0, true, false);
}

void paintHighlight(ekGizmoGroup& group, const Wm4::ColorRGBA& previous,
                    std::initializer_list<ekLine*> handles)
{
    // The stored colour keeps its own alpha; a highlight is always opaque.
    Wm4::ColorRGBA colour = group.getHighlightColor();
    colour.A() = 1.0f;
    for (ekLine* handle : handles) {
        handle->setColor(colour);
    }
    if (previous != colour) {
        markOwnerForRedraw(group);
    }
}

} // namespace ek
