#pragma once

#include <ek3DManipulation/ekGizmoNodeBase.h>
#include <ek3DManipulation/ekGizmoStyle.h>

namespace ek {

class ekNode;

// A handle group as its gizmo node drives it, whatever the mode: the node
// calls the group of its mode through these instead of a switch per call.
class ekGizmoGroup : public ekGizmoNodeBase {
public:
    // Makes the group's lines and hangs them under lineParent, the owner's
    // engine node: the group needs nothing else of its owner. The lines
    // take their colours and widths from style, which the group reads
    // again whenever it paints or applyStyle is called. All three outlive
    // the group.
    void build(ekGizmoNode* owner, ekNode& lineParent, const ekGizmoStyle& style);

    // Every handle back to its axis colour, whatever wrote it last (the host
    // may recolour any line); notifyOwner marks the owner for redraw. A hover
    // that finds no handle asks this of every gizmo at every move, so only
    // the lines whose colour differs are written.
    void applyDefaultColors(bool notifyOwner);
    // Axis (0..2) in the highlight colour, the others in their own.
    virtual void highlight(unsigned int axis) = 0;
    // Shows the handles of the enabled axes that are not faded, or hides
    // every line.
    void setVisible(bool visible);
    // Bit (1 << axis) set: that axis's handles are faded, hidden whatever
    // the mask and the visibility say. Only the handles of axes whose bit
    // changed are touched; drag feedback stays as it is.
    void setFaded(unsigned char faded);
    // Shows or hides the drag feedback of axis (0..2); arrows have none.
    virtual void setActiveState(unsigned int axis, bool active);
    // The style's widths on every line and its highlight colour; then the
    // default colours.
    void applyStyle();

    // The engine node the lines hang from; not owned.
    ekNode& lineParent() const { return *m_lineParent; }

protected:
    virtual void buildLines() = 0;
    // Gives every handle its axis colour and hides the drag feedback that
    // the defaults do not show.
    virtual void paintDefaultColors() = 0;
    // Shows or hides the handles of axis (0..2).
    virtual void showAxis(unsigned int axis, bool shown) = 0;
    // What setVisible does besides the axis handles.
    virtual void setOtherLinesVisible(bool visible) = 0;
    // Sets every line's width from the style.
    virtual void applyWidths() = 0;

    // The colour of axis's handles.
    Wm4::ColorRGBA axisColor(unsigned int axis) const
    {
        return Wm4::ColorRGBA(m_style->axisColors[axis]);
    }
    // The device pixels of a handle stroke whose own width is ownWidth
    // logical pixels.
    float handleWidth(float ownWidth) const;
    // The device pixels of a drag feedback line of ownWidth logical pixels.
    float feedbackWidth(float ownWidth) const;

private:
    // Whether the handles of axis are drawn now.
    bool showsAxis(unsigned int axis) const;

    ekNode* m_lineParent = nullptr;
    const ekGizmoStyle* m_style = nullptr;
    bool m_visible = false;
    unsigned char m_faded = 0;
};

} // namespace ek
