#include "fuzzListener.h"

#include "fuzzCheck.h"
#include "fuzzScene.h"

namespace ek_fuzz {

namespace {

const char* const kKindNames[] = {"translate", "rotate", "scale"};

} // namespace

CheckingListener::CheckingListener(FuzzScene& scene, int view, int index)
    : m_scene(scene), m_view(view), m_index(index)
{
}

void CheckingListener::setMeddling(std::uint8_t triggers, Meddling meddling, std::uint8_t argument)
{
    m_triggers = triggers;
    m_meddling = meddling;
    m_argument = argument;
}

void CheckingListener::checkOpenDrags(bool dragging) const
{
    const int open = m_open[TRANSLATE] + m_open[ROTATE] + m_open[SCALE];
    if (open != (dragging ? 1 : 0)) {
        fail("view %d listener %d: %d drags open (translate %d, rotate %d, scale %d) while the controller %s",
             m_view, m_index, open, m_open[TRANSLATE], m_open[ROTATE], m_open[SCALE],
             dragging ? "drags" : "does not drag");
    }
}

void CheckingListener::onManipulatorMotion(ek::ekGizmoNode* gizmo)
{
    meddle(MOTION, gizmo);
}

void CheckingListener::onTranslateManipulatorStart()
{
    start(TRANSLATE, TRANSLATE_START);
}

void CheckingListener::onTranslateManipulatorEnd(const ek::ekGenericTransformation<float>& delta)
{
    end(TRANSLATE, delta, TRANSLATE_END);
}

void CheckingListener::onRotateManipulatorStart()
{
    start(ROTATE, ROTATE_START);
}

void CheckingListener::onRotateManipulatorEnd(const ek::ekGenericTransformation<float>& delta)
{
    end(ROTATE, delta, ROTATE_END);
}

void CheckingListener::onScaleManipulatorStart()
{
    start(SCALE, SCALE_START);
}

void CheckingListener::onScaleManipulatorEnd(const ek::ekGenericTransformation<float>& delta)
{
    end(SCALE, delta, SCALE_END);
}

void CheckingListener::start(Kind kind, Notification notification)
{
    // One controller drags one handle at a time: a start while any drag is
    // open means an end went missing.
    for (int k = 0; k < KINDS; ++k) {
        if (m_open[static_cast<std::size_t>(k)] != 0) {
            fail("view %d listener %d: a %s start while a %s drag is open", m_view, m_index, kKindNames[kind],
                 kKindNames[k]);
        }
    }
    ++m_open[kind];
    meddle(notification, nullptr);
}

void CheckingListener::end(Kind kind, const ek::ekGenericTransformation<float>& delta, Notification notification)
{
    if (--m_open[kind] < 0) {
        fail("view %d listener %d: a %s end without its start", m_view, m_index, kKindNames[kind]);
    }
    if (!isFinite(delta)) {
        fail("view %d listener %d: a %s end with a delta that is not finite", m_view, m_index, kKindNames[kind]);
    }
    meddle(notification, nullptr);
}

void CheckingListener::meddle(Notification notification, ek::ekGizmoNode* told)
{
    if ((m_triggers & notification) != 0) {
        m_scene.meddle(m_meddling, m_argument, told);
    }
}

} // namespace ek_fuzz
