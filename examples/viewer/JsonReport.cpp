#include "JsonReport.h"

#include "UndoStack.h"
#include "ViewLayout.h"

#include <ekSceneGraph/ekGenericTransformation.h>

#include <Wm4/Wm4Matrix3.h>
#include <Wm4/Wm4Vector3.h>

#include <cmath>
#include <cstddef>
#include <cstdio>

namespace ek::viewer {
namespace {

using Transform = ekGenericTransformation<float>;

// JSON has no NaN or infinity: such a number is written as null.
void appendNumber(std::string& out, double value, const char* format = "%.7g")
{
    if (!std::isfinite(value)) {
        out += "null";
        return;
    }
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, format, value);
    out += buffer;
}

// [item0,item1,...]: appendItem(out, i) writes item i.
template <class AppendItem>
void appendList(std::string& out, std::size_t count, AppendItem appendItem)
{
    out += '[';
    for (std::size_t i = 0; i < count; ++i) {
        out += i == 0 ? "" : ",";
        appendItem(out, i);
    }
    out += ']';
}

void appendString(std::string& out, const std::string& text)
{
    out += '"';
    for (char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\u%04x", static_cast<unsigned>(c));
            out += buffer;
        } else {
            out += c;
        }
    }
    out += '"';
}

void appendVector(std::string& out, const Wm4::Vector3<float>& v)
{
    appendList(out, 3, [&v](std::string& o, std::size_t i) { appendNumber(o, v[static_cast<int>(i)]); });
}

// Row-major entries.
void appendMatrix(std::string& out, const Wm4::Matrix3<float>& m)
{
    appendList(out, 9, [&m](std::string& o, std::size_t i) { appendNumber(o, m.Entries()[i]); });
}

// Pixels to a hundredth; null when behind the eye.
void appendPixel(std::string& out, const ScreenPoint& p)
{
    if (!p.visible) {
        out += "null";
        return;
    }
    out += '[';
    appendNumber(out, p.x, "%.2f");
    out += ',';
    appendNumber(out, p.y, "%.2f");
    out += ']';
}

void appendPixels(std::string& out, const std::array<ScreenPoint, 3>& points)
{
    appendList(out, points.size(),
               [&points](std::string& o, std::size_t i) { appendPixel(o, points[i]); });
}

void appendTransform(std::string& out, const Transform& t)
{
    out += "{\"translation\":";
    appendVector(out, t.GetTranslate());
    out += ",\"matrix\":";
    appendMatrix(out, t.GetMatrix());
    out += '}';
}

// Row-major 4x4: the linear part and the translation in the last column.
void appendDelta(std::string& out, const Transform& t)
{
    const Wm4::Matrix3<float> m = t.GetMatrix();
    const Wm4::Vector3<float>& translation = t.GetTranslate();
    out += '[';
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            appendNumber(out, m(row, col));
            out += ',';
        }
        appendNumber(out, translation[row]);
        out += ',';
    }
    out += "0,0,0,1]";
}

// [{"name":..,"world":{..}[,"before":{..}]},..]. A manipulation reports
// what it recorded, after and before; undo and redo report the objects as
// the scene now holds them, read back after the write.
void appendObjects(std::string& out, const Manipulation& manipulation, bool current)
{
    out += "\"objects\":[";
    for (std::size_t i = 0; i < manipulation.objects.size(); ++i) {
        const ObjectChange& change = manipulation.objects[i];
        out += i == 0 ? "{\"name\":" : ",{\"name\":";
        appendString(out, change.object->getName());
        out += ",\"world\":";
        if (current) {
            appendTransform(out, change.object->getWorldTransform());
        } else {
            appendTransform(out, change.worldAfter);
            out += ",\"before\":";
            appendTransform(out, change.worldBefore);
        }
        out += '}';
    }
    out += ']';
}

// The layout's optional members, each only when its option is on, so that
// a session that enables nothing reports exactly what it always did.
void appendExtendedHandles(std::string& out, const ViewLayout& layout)
{
    if (layout.extended) {
        out += ",\"planes\":";
        appendPixels(out, layout.planes);
        out += ",\"screen\":";
        appendPixel(out, layout.screen);
        out += ",\"viewRing\":";
        appendPixel(out, layout.viewRing);
    }
    if (layout.extended || layout.fading) {
        out += ",\"faded\":";
        appendList(out, layout.faded.size(), [&layout](std::string& o, std::size_t i) {
            o += layout.faded[i] ? "true" : "false";
        });
    }
}

} // namespace

void JsonReport::layout(const ViewLayout& layout)
{
    m_line = "{\"event\":\"layout\",\"window\":[";
    appendNumber(m_line, layout.width);
    m_line += ',';
    appendNumber(m_line, layout.height);
    m_line += "],\"mode\":";
    appendString(m_line, layout.mode);
    m_line += ",\"orientation\":";
    appendString(m_line, layout.orientation);
    if (layout.gizmoShown) {
        m_line += ",\"center\":";
        appendPixel(m_line, layout.centre);
        m_line += ",\"tips\":";
        appendPixels(m_line, layout.tips);
        m_line += ",\"rings\":";
        appendPixels(m_line, layout.rings);
        m_line += ",\"pivot\":";
        appendVector(m_line, layout.pivot);
        m_line += ",\"axes\":";
        appendMatrix(m_line, layout.axes);
        m_line += ",\"axisLength\":";
        appendNumber(m_line, layout.axisLength);
        appendExtendedHandles(m_line, layout);
    } else {
        m_line += ",\"center\":null,\"tips\":null";
    }
    m_line += ",\"camera\":{\"eye\":";
    appendVector(m_line, layout.eye);
    m_line += ",\"right\":";
    appendVector(m_line, layout.right);
    m_line += ",\"up\":";
    appendVector(m_line, layout.up);
    m_line += ",\"direction\":";
    appendVector(m_line, layout.direction);
    m_line += ",\"frustum\":";
    appendList(m_line, layout.frustum.size(),
               [&layout](std::string& o, std::size_t i) { appendNumber(o, layout.frustum[i]); });
    m_line += "},\"selection\":";
    appendList(m_line, layout.selection.size(),
               [&layout](std::string& o, std::size_t i) { appendString(o, layout.selection[i]); });
    m_line += ",\"objects\":[";
    for (std::size_t i = 0; i < layout.objects.size(); ++i) {
        m_line += i == 0 ? "{\"name\":" : ",{\"name\":";
        appendString(m_line, layout.objects[i].name);
        m_line += ",\"center\":";
        appendPixel(m_line, layout.objects[i].centre);
        m_line += layout.objects[i].selected ? ",\"selected\":true}" : ",\"selected\":false}";
    }
    m_line += "]}";
    writeLine();
}

void JsonReport::manipulation(const Manipulation& manipulation)
{
    writeManipulation("manipulation", manipulation, true);
}

void JsonReport::cancellation(const Manipulation& manipulation)
{
    // The delta of a cancel is the identity: not worth a line's 16 numbers.
    writeManipulation("cancel", manipulation, false);
}

void JsonReport::edit(const Manipulation& edit)
{
    m_line = "{\"event\":\"edit\",";
    appendObjects(m_line, edit, false);
    m_line += '}';
    writeLine();
}

void JsonReport::selection(const std::vector<std::string>& names)
{
    m_line = "{\"event\":\"selection\",\"selection\":";
    appendList(m_line, names.size(),
               [&names](std::string& o, std::size_t i) { appendString(o, names[i]); });
    m_line += '}';
    writeLine();
}

void JsonReport::history(bool undo, const Manipulation& manipulation)
{
    m_line = undo ? "{\"event\":\"undo\",\"kind\":" : "{\"event\":\"redo\",\"kind\":";
    appendString(m_line, kindName(manipulation.kind));
    m_line += ',';
    appendObjects(m_line, manipulation, true);
    m_line += '}';
    writeLine();
}

void JsonReport::input(const char* type, int x, int y, const char* button)
{
    m_line = "{\"event\":\"input\",\"type\":";
    appendString(m_line, type);
    m_line += ",\"x\":";
    appendNumber(m_line, x);
    m_line += ",\"y\":";
    appendNumber(m_line, y);
    m_line += ",\"button\":";
    appendString(m_line, button);
    m_line += '}';
    writeLine();
}

void JsonReport::inspector(const std::vector<std::pair<std::string, std::array<int, 2>>>& boxes)
{
    m_line = "{\"event\":\"inspector\",\"boxes\":{";
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        m_line += i == 0 ? "" : ",";
        appendString(m_line, boxes[i].first);
        m_line += ':';
        appendList(m_line, 2, [&boxes, i](std::string& o, std::size_t k) {
            appendNumber(o, boxes[i].second[k]);
        });
    }
    m_line += "}}";
    writeLine();
}

void JsonReport::snapshot(const std::string& file)
{
    m_line = "{\"event\":\"snapshot\",\"file\":";
    appendString(m_line, file);
    m_line += '}';
    writeLine();
}

void JsonReport::writeManipulation(const char* event, const Manipulation& manipulation,
                                   bool withDelta)
{
    m_line = "{\"event\":";
    appendString(m_line, event);
    m_line += ",\"kind\":";
    appendString(m_line, kindName(manipulation.kind));
    m_line += ",\"axis\":";
    appendNumber(m_line, manipulation.axis);
    m_line += ",\"handle\":";
    if (const char* handle = handleName(manipulation.kind, manipulation.handle)) {
        appendString(m_line, handle);
    } else {
        m_line += "null";
    }
    if (withDelta) {
        m_line += ",\"delta\":";
        appendDelta(m_line, manipulation.delta);
    }
    m_line += ',';
    appendObjects(m_line, manipulation, false);
    m_line += '}';
    writeLine();
}

void JsonReport::writeLine()
{
    m_out << m_line << '\n';
    m_out.flush();
}

} // namespace ek::viewer
