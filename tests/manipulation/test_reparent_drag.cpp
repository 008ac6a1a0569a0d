#include "dragScene.h"

#include <ek3DManipulation/ekGizmoControllerDrags.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <ostream>

using namespace ek;
using namespace ek::test;

namespace ek {
// Shows the numbers of a transform that differs.
void PrintTo(const ekGenericTransformation<float>& t, std::ostream* os)
{
    const Mat3 m = t.GetMatrix();
    const Vec3& p = t.GetTranslate();
    *os << "[";
    for (int i = 0; i < 9; ++i) { *os << m.Entries()[i] << (i % 3 == 2 ? "; " : " "); }
    *os << "| " << p.X() << " " << p.Y() << " " << p.Z() << "]";
}
} // namespace ek

namespace {

// Bit for bit: what the drag never wrote, or wrote back from what it stored.
bool sameBits(const ekGenericTransformation<float>& a, const ekGenericTransformation<float>& b)
{
    const Mat3 ma = a.GetMatrix();
    const Mat3 mb = b.GetMatrix();
    return std::memcmp(ma.Entries(), mb.Entries(), sizeof(float) * 9) == 0
        && std::memcmp(&a.GetTranslate(), &b.GetTranslate(), sizeof(Vec3)) == 0;
}

// One drag kind, pressed on its X handle (Z circle for rotate) of the scene's gizmo.
class ModeDrag {
public:
    explicit ModeDrag(DragScene& scene) : m_scene(scene) {}
    virtual ~ModeDrag() = default;
    virtual void press() = 0;
    // step moves of the cursor along the handle from the press.
    virtual void move(int step) = 0;
    virtual void cancel() = 0;
    virtual bool dragging() const = 0;

protected:
    DragScene& m_scene;
};

class TranslateModeDrag : public ModeDrag {
public:
    using ModeDrag::ModeDrag;
    void press() override
    {
        m_at = m_scene.at({0.5f, 0.0f, 0.0f});
        m_drag.updateTranslateHover(m_scene.gizmo(), m_scene.camera(), m_at, kPickTolerance, kWidth, kHeight);
        m_drag.setMousePressed(m_scene.gizmo(), m_scene.camera(), m_at);
    }
    void move(int step) override
    {
        m_drag.setMousePos(m_scene.gizmo(), m_scene.camera(), m_at + pixels(30.0f * step, 0.0f));
    }
    void cancel() override { m_drag.cancelDrag(); }
    bool dragging() const override { return m_drag.isDragging(); }

private:
    ekGizmoControllerTranslate m_drag;
    Vec2 m_at;
};

class ScaleModeDrag : public ModeDrag {
public:
    using ModeDrag::ModeDrag;
    void press() override
    {
        m_at = m_scene.at({1.0f, 0.0f, 0.0f});
        m_drag.updateScaleHover(m_scene.gizmo(), m_scene.camera(), m_at, kPickTolerance, kWidth, kHeight);
        m_drag.setMouseScalePressed(m_scene.gizmo(), m_scene.camera(), m_at);
    }
    void move(int step) override
    {
        m_drag.setMouseScalePos(m_scene.gizmo(), m_scene.camera(), m_at + pixels(30.0f * step, 0.0f));
    }
    void cancel() override { m_drag.cancelDrag(); }
    bool dragging() const override { return m_drag.isDragging(); }

private:
    ekGizmoControllerScale m_drag;
    Vec2 m_at;
};

class RotateModeDrag : public ModeDrag {
public:
    using ModeDrag::ModeDrag;
    void press() override
    {
        const Vec2 at = circle(0.0f);
        m_drag.updateRotateHover(m_scene.gizmo(), m_scene.camera(), at, kPickTolerance, kWidth, kHeight);
        m_drag.setMousePressed(m_scene.gizmo(), m_scene.camera(), at, kWidth, kHeight);
    }
    // 20 degrees round the circle a step.
    void move(int step) override
    {
        m_drag.setMousePos(m_scene.gizmo(), m_scene.camera(), circle(20.0f * step), kWidth, kHeight);
    }
    void cancel() override { m_drag.cancelDrag(); }
    bool dragging() const override { return m_drag.isDragging(); }

private:
    // On the Z circle at degrees in the gizmo's frame as laid out at the press.
    Vec2 circle(float degrees) const
    {
        const float r = degrees * Wm4::Math<float>::DEG_TO_RAD;
        return m_scene.at({std::cos(r), std::sin(r), 0.0f});
    }
    ekGizmoControllerRotate m_drag;
};

std::unique_ptr<ModeDrag> dragFor(ekGizmoNode::GizmoMode mode, DragScene& scene)
{
    switch (mode) {
    case ekGizmoNode::ROTATE: return std::make_unique<RotateModeDrag>(scene);
    case ekGizmoNode::SCALE: return std::make_unique<ScaleModeDrag>(scene);
    default: return std::make_unique<TranslateModeDrag>(scene);
    }
}

// Two objects of one gizmo, and the node the host moves the first under mid-drag.
struct PairScene {
    explicit PairScene(ekGizmoNode::GizmoMode mode)
    {
        newParent = scene.addObject({-2.0f, 3.0f, 0.0f});
        moved = scene.addObject({0.0f, 0.0f, 0.0f});
        kept = scene.addObject({0.0f, 1.0f, 0.0f});
        scene.use(mode, {moved, kept});
        drag = dragFor(mode, scene);
    }
    // What the host does: the same world transform under newParent.
    void reparentMoved()
    {
        ekPointer<ekNode> hold(moved);
        ekGenericTransformation<float> inverse;
        newParent->getWorldTransform().Inverse(inverse);
        ekGenericTransformation<float> local;
        local.Product(inverse, moved->getWorldTransform());
        scene.root()->detachChild(moved);
        newParent->attachChild(moved);
        moved->editLocalTransform(true) = local;
        scene.root()->UpdateGS();
    }

    DragScene scene;
    ekNode* newParent;
    ekNode* moved;
    ekNode* kept;
    std::unique_ptr<ModeDrag> drag;
};

class ReparentedMidDrag : public ::testing::TestWithParam<ekGizmoNode::GizmoMode> {};

TEST_P(ReparentedMidDrag, StaysWhereTheHostPutItWhileTheOthersFollowTheDrag)
{
    // the same drag on a gizmo whose objects keep their parents: how the second object must move
    PairScene twin(GetParam());
    PairScene pair(GetParam());
    const ekGenericTransformation<float> keptAtPress = pair.kept->getWorldTransform();
    const ekGenericTransformation<float> keptLocalAtPress = pair.kept->getLocalTransform();
    for (PairScene* s : {&twin, &pair}) {
        s->drag->press();
        s->drag->move(1);
    }
    ASSERT_TRUE(pair.drag->dragging());
    ASSERT_FALSE(sameBits(pair.kept->getWorldTransform(), keptAtPress)) << "the first move moved nothing";
    pair.reparentMoved();
    const ekGenericTransformation<float> hostWorld = pair.moved->getWorldTransform();
    const ekGenericTransformation<float> hostLocal = pair.moved->getLocalTransform();

    // the next moves leave the re-parented object where the host put it; the other moves as in the twin
    for (int step : {2, 3}) {
        for (PairScene* s : {&twin, &pair}) { s->drag->move(step); }
        EXPECT_PRED2(sameBits, pair.moved->getWorldTransform(), hostWorld) << "step " << step;
        EXPECT_PRED2(sameBits, pair.moved->getLocalTransform(), hostLocal) << "step " << step;
        EXPECT_PRED2(sameBits, pair.kept->getWorldTransform(), twin.kept->getWorldTransform()) << "step " << step;
    }
    EXPECT_FALSE(sameBits(pair.kept->getWorldTransform(), keptAtPress));

    // a cancel leaves it too, and gives the other its press transforms back bit for bit
    pair.drag->cancel();
    EXPECT_FALSE(pair.drag->dragging());
    EXPECT_PRED2(sameBits, pair.moved->getWorldTransform(), hostWorld);
    EXPECT_PRED2(sameBits, pair.moved->getLocalTransform(), hostLocal);
    EXPECT_PRED2(sameBits, pair.kept->getWorldTransform(), keptAtPress);
    EXPECT_PRED2(sameBits, pair.kept->getLocalTransform(), keptLocalAtPress);
}

TEST_P(ReparentedMidDrag, StaysReleasedOnceBackUnderItsFormerParent)
{
    PairScene pair(GetParam());
    pair.drag->press();
    pair.drag->move(1);
    pair.reparentMoved();
    pair.drag->move(2);
    // the host puts it back where it was at the press, under its former parent
    ekPointer<ekNode> hold(pair.moved);
    pair.newParent->detachChild(pair.moved);
    pair.scene.root()->attachChild(pair.moved);
    pair.moved->editLocalTransform(true).SetTranslate({0.5f, 0.5f, 0.0f});
    pair.scene.root()->UpdateGS();
    const ekGenericTransformation<float> hostWorld = pair.moved->getWorldTransform();
    pair.drag->move(3);
    EXPECT_PRED2(sameBits, pair.moved->getWorldTransform(), hostWorld);
    pair.drag->cancel();
    EXPECT_PRED2(sameBits, pair.moved->getWorldTransform(), hostWorld);
}

INSTANTIATE_TEST_SUITE_P(Modes, ReparentedMidDrag,
                         ::testing::Values(ekGizmoNode::TRANSLATE, ekGizmoNode::ROTATE, ekGizmoNode::SCALE),
                         [](const ::testing::TestParamInfo<ekGizmoNode::GizmoMode>& info) {
                             switch (info.param) {
                             case ekGizmoNode::ROTATE: return "Rotate";
                             case ekGizmoNode::SCALE: return "Scale";
                             default: return "Translate";
                             }
                         });

} // namespace
