#pragma once

#include <ek3DManipulation/ekGizmoStyle.h>

#include <ekSceneGraph/ekLine.h>
#include <ekSceneGraph/ekObject.h>

#include <Wm4/Wm4ColorRGB.h>
#include <Wm4/Wm4ColorRGBA.h>
#include <Wm4/Wm4Vector3.h>

#include <array>
#include <initializer_list>

namespace ek {

class ekGizmoGroup;

// Every group has one handle of each kind per axis.
constexpr unsigned int kAxisCount = 3;

// One line per axis, indexed by axis.
using ekAxisLines = std::array<ekPointer<ekLine>, kAxisCount>;

// The highlight colour every group starts from once built.
inline constexpr Wm4::ColorRGBA kBuildHighlightColor{1.0f, 1.0f, 1.0f, 1.0f};

// Whether bit (1 << axis) of an axis mask (enabled, faded) is set.
inline bool hasAxis(unsigned char mask, unsigned int axis)
{
    return ((static_cast<unsigned int>(mask) >> axis) & 1u) != 0;
}

// The colour without its alpha.
inline Wm4::ColorRGB rgbOf(const Wm4::ColorRGBA& colour)
{
    return {colour.R(), colour.G(), colour.B()};
}

// The device pixels of a handle stroke whose own width is ownWidth logical
// pixels: the style's width when it sets one, times its pixel ratio.
float handleStrokeWidth(const ekGizmoStyle& style, float ownWidth);
// The same for a drag feedback line, which keeps its own width.
float feedbackStrokeWidth(const ekGizmoStyle& style, float ownWidth);

// Drawn (CULL_DYNAMIC) or never drawn (CULL_ALWAYS); a line in that mode
// already is not written.
void showLine(ekLine& line, bool shown);

// Gives line width (device pixels) unless it has it already.
inline void setLineWidth(ekLine& line, float width)
{
    if (line.getWidth() != width) {
        line.setWidth(width);
    }
}

// Gives line colour unless it carries it already: reading is cheaper than
// writing, and most lines hold their colour from one call to the next.
inline void paintLine(ekLine& line, const Wm4::ColorRGBA& colour)
{
    if (line.getColor() != colour) {
        line.setColor(colour);
    }
}

// A new line drawing shape's vertices and slots, which every gizmo shares
// (see ekLine::ShapeOf).
inline ekLine* lineOfShape(const ekLine& shape)
{
    return new ekLine(ekLine::ShapeOf{shape});
}

// shape, ready to be shared by gizmos on any thread: its model bound is
// computed once, here, while only the thread making it sees it.
ekPointer<ekLine> sealShape(ekLine* shape);

// Sets the vertex positions (owner-local unless the line has a local
// transform) in vertex order, then the index slots in slot order.
void setShape(ekLine& line, std::initializer_list<Wm4::Vector3<float>> vertices,
              std::initializer_list<unsigned int> indices);

// One segment from the centre to end.
void setRay(ekLine& line, const Wm4::Vector3<float>& end);

// Makes the three shafts, from the centre to each unit axis end.
void makeShafts(ekAxisLines& shafts);

// Appends line to the children of the group's owner node.
void attachToOwner(const ekGizmoGroup& group, ekLine& line);

// Asks the engine to draw the group's owner node again.
void markOwnerForRedraw(const ekGizmoGroup& group);

// Gives handles the group's highlight colour made opaque, and marks the
// owner for redraw when that differs from previous (the colour the first
// handle had before the group's default colours were applied).
void paintHighlight(ekGizmoGroup& group, const Wm4::ColorRGBA& previous,
                    std::initializer_list<ekLine*> handles);

} // namespace ek
