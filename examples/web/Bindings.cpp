// The demo's JavaScript interface: the page makes one WebDemo and drives it.
#include "WebDemo.h"

#include <ek3DManipulation/ekGizmoNode.h>

#include <ekSceneGraph/ekNode.h>

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <string>

namespace ek::web {
namespace {

using emscripten::val;

// The sketch as a Float32Array over the module's memory: valid until the
// next frame or the next allocation in the module, so the page paints it
// at once.
val sketchView(const WebDemo& demo)
{
    const std::vector<float>& commands = demo.sketch();
    return val(emscripten::typed_memory_view(commands.size(), commands.data()));
}

val floats(const float* values, int count)
{
    val list = val::array();
    for (int i = 0; i < count; ++i) {
        list.call<void>("push", double(values[i]));
    }
    return list;
}

// The objects as the desktop viewer's manipulation line names them:
// {name, world: {translation: [3], matrix: [9] row-major}}. The numbers are
// the floats themselves, exact, not their printed form.
val objectsOf(const WebDemo& demo)
{
    val list = val::array();
    for (const viewer::SceneObject& object : demo.session().objects()) {
        const ekGenericTransformation<float>& world = object.node->getWorldTransform();
        const Wm4::Vector3<float>& t = world.GetTranslate();
        const float translation[3] = {t.X(), t.Y(), t.Z()};
        const Wm4::Matrix3<float> matrix = world.GetMatrix();
        val transform = val::object();
        transform.set("translation", floats(translation, 3));
        transform.set("matrix", floats(matrix.Entries(), 9));
        val entry = val::object();
        entry.set("name", object.node->getName());
        entry.set("world", transform);
        list.call<void>("push", entry);
    }
    return list;
}

void setMode(WebDemo& demo, const std::string& mode)
{
    if (mode == "translate") {
        demo.session().setMode(ekGizmoNode::TRANSLATE);
    } else if (mode == "rotate") {
        demo.session().setMode(ekGizmoNode::ROTATE);
    } else if (mode == "scale") {
        demo.session().setMode(ekGizmoNode::SCALE);
    } else if (mode == "none") {
        demo.session().setMode(ekGizmoNode::NONE);
    }
}

std::string statusLine(const WebDemo& demo)
{
    std::string line;
    demo.session().statusLine(line);
    return line;
}

std::string optionsLine(const WebDemo& demo)
{
    std::string line;
    demo.session().optionsLine(line);
    return line;
}

// Session commands without arguments, by name.
template <void (viewer::EditorSession::*command)()>
void sessionCommand(WebDemo& demo)
{
    (demo.session().*command)();
}

bool cancelDrag(WebDemo& demo)
{
    return demo.session().cancelDrag();
}

} // namespace

EMSCRIPTEN_BINDINGS(gizmo_demo)
{
    using viewer::EditorSession;
    emscripten::class_<WebDemo>("WebDemo")
        .constructor<>()
        .function("resize", &WebDemo::resize)
        .function("frame", &WebDemo::frame)
        .function("sketch", &sketchView)
        .function("pointerDown", &WebDemo::pointerDown)
        .function("pointerMove", &WebDemo::pointerMove)
        .function("pointerUp", &WebDemo::pointerUp)
        .function("wheel", &WebDemo::wheel)
        .function("takeReport", &WebDemo::takeReport)
        .function("layout", &WebDemo::layoutJson)
        .function("objects", &objectsOf)
        .function("status", &statusLine)
        .function("options", &optionsLine)
        .function("setMode", &setMode)
        .function("cancelDrag", &cancelDrag)
        .function("cycleOrientation", &sessionCommand<&EditorSession::cycleOrientation>)
        .function("toggleUniformScale", &sessionCommand<&EditorSession::toggleUniformScale>)
        .function("toggleRotationSnap", &sessionCommand<&EditorSession::toggleRotationSnap>)
        .function("toggleNearFarRestriction",
                  &sessionCommand<&EditorSession::toggleNearFarRestriction>)
        .function("undo", &sessionCommand<&EditorSession::undo>)
        .function("redo", &sessionCommand<&EditorSession::redo>);
}

} // namespace ek::web
