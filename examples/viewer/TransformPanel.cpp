#include "TransformPanel.h"

#include "EditorSession.h"
#include "JsonReport.h"

#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <string>
#include <utility>
#include <vector>

namespace ek::viewer {
namespace {

struct Row {
    const char* label;
    const char* name; // the boxes' object names: NAME.x, NAME.y, NAME.z
    double minimum;
    double maximum;
    int decimals;
    double step;
};

// Rows in TransformPart's order.
const std::array<Row, 3> kRows = {{
    {"Position", "position", -kMaxEditPosition, kMaxEditPosition, 3, 0.1},
    {"Rotation \u00b0", "rotation", -kMaxEditDegrees, kMaxEditDegrees, 2, 5.0},
    {"Scale", "scale", kMinEditScale, kMaxEditScale, 3, 0.1},
}};
const std::array<const char*, 3> kAxisNames = {"x", "y", "z"};
// The axis colours of the column headers: x red, y green, z blue.
const std::array<const char*, 3> kAxisStyles = {"color: #ff5a6e; font-weight: bold",
                                               "color: #5fdc5a; font-weight: bold",
                                               "color: #6a8cff; font-weight: bold"};

const Wm4::Vector3<float>& partOf(const TransformParameters& parameters, TransformPart part)
{
    switch (part) {
    case TransformPart::Rotation:
        return parameters.degrees;
    case TransformPart::Scale:
        return parameters.scale;
    case TransformPart::Position:
        break;
    }
    return parameters.position;
}

} // namespace

TransformPanel::TransformPanel(EditorSession& session, QWidget& view, QWidget* parent)
    : QWidget(parent), m_session(session), m_view(view), m_object(session.objects().size())
{
    auto* layout = new QVBoxLayout(this);
    m_title = new QLabel(this);
    layout->addWidget(m_title);
    auto* grid = new QGridLayout;
    layout->addLayout(grid);
    layout->addStretch(1);
    for (int axis = 0; axis < 3; ++axis) {
        auto* header = new QLabel(QString::fromLatin1(kAxisNames[axis]).toUpper(), this);
        header->setStyleSheet(QString::fromLatin1(kAxisStyles[axis]));
        header->setAlignment(Qt::AlignCenter);
        grid->addWidget(header, 0, axis + 1);
    }
    for (int part = 0; part < 3; ++part) {
        const Row& row = kRows[part];
        grid->addWidget(new QLabel(QString::fromUtf8(row.label), this), part + 1, 0);
        for (int axis = 0; axis < 3; ++axis) {
            auto* box = new QDoubleSpinBox(this);
            box->setObjectName(QStringLiteral("%1.%2").arg(QLatin1String(row.name),
                                                         QLatin1String(kAxisNames[axis])));
            box->setRange(row.minimum, row.maximum);
            box->setDecimals(row.decimals);
            box->setSingleStep(row.step);
            box->setKeyboardTracking(false);
            box->setMinimumWidth(90);
            const auto which = static_cast<TransformPart>(part);
            connect(box, &QDoubleSpinBox::editingFinished, this,
                    [this, which, axis] { commit(which, axis); });
            m_boxes[part][axis] = box;
            grid->addWidget(box, part + 1, axis + 1);
        }
    }
    refresh();
}

void TransformPanel::refresh()
{
    const std::vector<std::size_t>& selection = m_session.selection();
    const std::size_t object = selection.empty() ? m_session.objects().size() : selection.back();
    const bool world = m_session.editsWorld();
    if (object == m_session.objects().size()) {
        if (m_object != object) {
            m_object = object;
            m_title->setText(tr("Nothing selected"));
            setEnabled(false);
        }
        return;
    }
    const ekGenericTransformation<float>& local = m_session.objects()[object].node->getLocalTransform();
    if (object == m_object && world == m_world && local == m_local) {
        return;
    }
    const bool titleChanged = object != m_object || world != m_world;
    m_object = object;
    m_world = world;
    m_local = local;
    if (titleChanged) {
        m_title->setText(
            tr("<b>%1</b> (active) \u2014 %2 values")
                .arg(QString::fromStdString(m_session.objects()[object].node->getName()),
                     world ? tr("world") : tr("local")));
    }
    setEnabled(true);
    showParameters(m_session.parameters(object));
}

void TransformPanel::reportBoxes(const QWidget& window, JsonReport& report) const
{
    std::vector<std::pair<std::string, std::array<int, 2>>> boxes;
    for (const auto& row : m_boxes) {
        for (const QDoubleSpinBox* box : row) {
            const QPoint centre = box->mapTo(&window, box->rect().center());
            boxes.push_back({box->objectName().toStdString(), {centre.x(), centre.y()}});
        }
    }
    report.inspector(boxes);
}

void TransformPanel::showParameters(const TransformParameters& parameters)
{
    m_parameters = parameters;
    const std::array<bool, 3> known = {true, parameters.hasRotation, parameters.hasScale};
    for (int part = 0; part < 3; ++part) {
        const Wm4::Vector3<float>& values = partOf(parameters, static_cast<TransformPart>(part));
        for (int axis = 0; axis < 3; ++axis) {
            QDoubleSpinBox& box = *m_boxes[part][axis];
            box.setEnabled(known[part]);
            if (box.hasFocus()) {
                continue; // being typed into
            }
            const QSignalBlocker quiet(box);
            box.setValue(double(values[axis]));
            m_shown[part][axis] = box.value();
        }
    }
}

void TransformPanel::commit(TransformPart part, int axis)
{
    QDoubleSpinBox& box = *m_boxes[int(part)][axis];
    double& shown = m_shown[int(part)][axis];
    if (m_object != m_session.objects().size() && box.value() != shown) {
        // Only the value typed changes: the other two keep their full
        // precision rather than the rounding the boxes show.
        Wm4::Vector3<float> value = partOf(m_parameters, part);
        value[axis] = float(box.value());
        shown = box.value(); // leaving the box below confirms it again
        m_session.edit(m_object, part, value);
        m_view.update();
    }
    if (box.hasFocus()) {
        m_view.setFocus(Qt::OtherFocusReason);
    }
}

} // namespace ek::viewer
