#pragma once

#include "ParameterEditor.h"

#include <ekSceneGraph/ekGenericTransformation.h>

#include <QWidget>

#include <array>
#include <cstddef>

class QDoubleSpinBox;
class QLabel;

namespace ek::viewer {

class EditorSession;
class JsonReport;

// The inspector: position, rotation (degrees) and scale of the active
// object, world or local as the orientation says, in nine spin boxes. A
// value typed and confirmed (Enter, or leaving the box) goes to the
// session's edit, the path the script's edit command takes, and so into
// the history; Enter then hands the keyboard back to the view, so that
// Ctrl+Z undoes the edit rather than the typing. refresh(), called after
// every frame, makes the boxes follow drags, undos and edits.
class TransformPanel : public QWidget {
public:
    // session and view must outlive the panel; view gets the keyboard back
    // after an edit and is redrawn.
    TransformPanel(EditorSession& session, QWidget& view, QWidget* parent = nullptr);

    // Shows the active object's values if they changed since last shown.
    // The box being typed into keeps what is typed.
    void refresh();
    // Reports where the boxes lie in window's pixels (see
    // JsonReport::inspector).
    void reportBoxes(const QWidget& window, JsonReport& report) const;

private:
    void commit(TransformPart part, int axis);
    void showParameters(const TransformParameters& parameters);

    EditorSession& m_session;
    QWidget& m_view;
    QLabel* m_title;
    // Rows position, rotation, scale; columns x, y, z.
    std::array<std::array<QDoubleSpinBox*, 3>, 3> m_boxes{};
    // What is shown: the object (objects().size() for none), the frame,
    // its local transform when read, its parameters and the boxes' values.
    std::size_t m_object;
    bool m_world = false;
    ekGenericTransformation<float> m_local;
    TransformParameters m_parameters;
    std::array<std::array<double, 3>, 3> m_shown{};
};

} // namespace ek::viewer
