#include "engine_test_support.h"

#include <ekSceneGraph/ekEngine.h>
#include <ekSceneGraph/ekLine.h>
#include <ekSceneGraph/ekNode.h>

#include <Wm4/Wm4Matrix3.h>
#include <Wm4/Wm4Vector3.h>

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>

namespace {

using ek::ekLine;
using ek::ekNode;
using ek::ekPointer;
using ek::ekSpatial;
using ek_test::expectNear;
using ek_test::makeSegment;
using ek_test::writeWorldTransform;
using Transform = ek::ekGenericTransformation<float>;
using Wm4::Matrix3f;
using Wm4::Vector3f;

// Error allowed on coordinates of magnitude up to about 20 after a few
// chained float products.
constexpr float kTolerance = 1e-4f;

Matrix3f rotationZ(float angle)
{
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    return Matrix3f(c, -s, 0.0f, s, c, 0.0f, 0.0f, 0.0f, 1.0f);
}

Matrix3f rotationX(float angle)
{
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    return Matrix3f(1.0f, 0.0f, 0.0f, 0.0f, c, -s, 0.0f, s, c);
}

Vector3f worldVertex(const ekLine& line, int vertex)
{
    return line.getWorldTransform().ApplyForward(line.getVertexPosition(vertex), true);
}

// inner lies inside outer, up to the tolerance.
void expectContains(const ek::ekBound& outer, const Vector3f& point, const char* context)
{
    EXPECT_LE((point - outer.getCenter()).Length(), outer.getRadius() + kTolerance) << context;
}

void expectContains(const ek::ekBound& outer, const ek::ekBound& inner, const char* context)
{
    EXPECT_LE((inner.getCenter() - outer.getCenter()).Length() + inner.getRadius(),
              outer.getRadius() + kTolerance)
        << context;
}

void clearAllFlags(std::initializer_list<ekSpatial*> spatials)
{
    for (ekSpatial* s : spatials) {
        s->clearDirtyFlags(0, ~0u);
        s->clearDirtyFlags(1, ~0u);
    }
}

// root (translated) -> parent (turned a quarter about Z, scaled 2) ->
// (line from (0,0,0) to (1,0,0), far line, empty node, node that ignores
// its children's bounds -> line)
struct Scene {
    Scene()
    {
        root->editLocalTransform(true).SetTranslate(Vector3f(10.0f, 0.0f, 0.0f));
        parent->editLocalTransform(true).SetRotate(rotationZ(Wm4::Math<float>::HALF_PI));
        parent->editLocalTransform(true).SetUniformScale(2.0f);
        far->editLocalTransform(true).SetTranslate(Vector3f(0.0f, 0.0f, 5.0f));
        empty->editLocalTransform(true).SetTranslate(Vector3f(1.0f, 1.0f, 1.0f));
        unbounded->editLocalTransform(true).SetTranslate(Vector3f(0.0f, 3.0f, 0.0f));
        root->attachChild(parent);
        parent->attachChild(line);
        parent->attachChild(far);
        parent->attachChild(empty);
        parent->attachChild(unbounded);
        unbounded->attachChild(hidden);
        root->UpdateGS();
    }
    ekPointer<ekNode> root{new ekNode()};
    ekNode* parent = new ekNode();
    ekLine* line = makeSegment(Vector3f::ZERO, Vector3f::UNIT_X);
    ekLine* far = makeSegment(Vector3f(-1.0f, 0.0f, 0.0f), Vector3f(0.0f, -1.0f, 0.0f));
    ekNode* empty = new ekNode();
    ekNode* unbounded = new ekNode(false);
    ekLine* hidden = makeSegment(Vector3f::ZERO, Vector3f(0.0f, 0.0f, 4.0f));
};

TEST(ekSpatial, WorldTransformsAndBounds)
{
    Scene scene;
    // world = parent's world after local: (1,0,0) turns to (0,1,0), doubles, moves by 10 in x
    expectNear(worldVertex(*scene.line, 1), Vector3f(10.0f, 2.0f, 0.0f), kTolerance);
    expectNear(worldVertex(*scene.far, 0), Vector3f(10.0f, -2.0f, 10.0f), kTolerance);
    // a geometry's bound holds its vertices, and is not larger than needed
    const ek::ekBound& lineBound = scene.line->getWorldBound();
    expectContains(lineBound, worldVertex(*scene.line, 0), "line vertex 0");
    expectContains(lineBound, worldVertex(*scene.line, 1), "line vertex 1");
    EXPECT_LE(lineBound.getRadius(), 2.0f + kTolerance);
    // a node's bound is merged from its children's
    const ek::ekBound& parentBound = scene.parent->getWorldBound();
    expectContains(parentBound, lineBound, "parent holds line");
    expectContains(parentBound, scene.far->getWorldBound(), "parent holds far line");
    expectContains(scene.root->getWorldBound(), parentBound, "root holds parent");
    // a node with nothing drawn below it has radius 0 at its world translation
    EXPECT_EQ(scene.empty->getWorldBound().getRadius(), 0.0f);
    expectNear(scene.empty->getWorldBound().getCenter(), Vector3f(8.0f, 2.0f, 2.0f), kTolerance);
    // so has a node that does not take its bound from its children
    EXPECT_EQ(scene.unbounded->getWorldBound().getRadius(), 0.0f);
    expectNear(scene.unbounded->getWorldBound().getCenter(), Vector3f(4.0f, 0.0f, 0.0f), kTolerance);
    EXPECT_GT(scene.hidden->getWorldBound().getRadius(), 0.0f);
}

TEST(ekSpatial, StructureFlag)
{
    Scene scene;
    clearAllFlags({scene.root, scene.parent, scene.empty, scene.line});
    // attaching marks the node and every ancestor, not the siblings
    scene.empty->attachChild(new ekNode());
    EXPECT_NE(scene.empty->getDirtyFlags(0) & ek::DIRTY_STRUCTURE, 0u);
    EXPECT_NE(scene.parent->getDirtyFlags(0) & ek::DIRTY_STRUCTURE, 0u);
    EXPECT_NE(scene.root->getDirtyFlags(0) & ek::DIRTY_STRUCTURE, 0u);
    EXPECT_EQ(scene.line->getDirtyFlags(0) & ek::DIRTY_STRUCTURE, 0u);
    // so does detaching
    clearAllFlags({scene.root, scene.parent, scene.empty});
    scene.parent->detachChild(scene.far);
    EXPECT_EQ(scene.empty->getDirtyFlags(0) & ek::DIRTY_STRUCTURE, 0u);
    EXPECT_NE(scene.parent->getDirtyFlags(0) & ek::DIRTY_STRUCTURE, 0u);
    EXPECT_NE(scene.root->getDirtyFlags(0) & ek::DIRTY_STRUCTURE, 0u);
    // a frame clears it throughout
    scene.empty->attachChild(new ekNode());
    ek::ekEngine engine;
    engine.setScene(scene.root);
    engine.frame();
    for (const ekSpatial* s : {static_cast<ekSpatial*>(scene.root), static_cast<ekSpatial*>(scene.parent),
                               static_cast<ekSpatial*>(scene.empty)}) {
        EXPECT_EQ(s->getDirtyFlags(0) & ek::DIRTY_STRUCTURE, 0u);
    }
}

TEST(ekSpatial, SetDirty)
{
    Scene scene;
    clearAllFlags({scene.root, scene.parent, scene.line});
    // without redraw or propagation: the first word only
    scene.line->setDirty(0x100, false, false);
    EXPECT_EQ(scene.line->getDirtyFlags(0), 0x100u);
    EXPECT_EQ(scene.line->getDirtyFlags(1), 0u);
    EXPECT_EQ(scene.parent->getDirtyFlags(0), 0u);
    // redraw adds DIRTY_RENDER and copies the flags into the second word
    scene.line->setDirty(ek::DIRTY_TRANSFORM, true, false);
    EXPECT_EQ(scene.line->getDirtyFlags(0), 0x100u | ek::DIRTY_TRANSFORM | ek::DIRTY_RENDER);
    EXPECT_EQ(scene.line->getDirtyFlags(1), ek::DIRTY_TRANSFORM | ek::DIRTY_RENDER);
    // propagation marks every ancestor's bound, nothing else
    scene.line->setDirty(0, false, true);
    EXPECT_EQ(scene.parent->getDirtyFlags(0), ek::DIRTY_BOUND);
    EXPECT_EQ(scene.root->getDirtyFlags(0), ek::DIRTY_BOUND);
    // words other than 0 and 1 read 0; clearing takes off only the mask
    EXPECT_EQ(scene.line->getDirtyFlags(2), 0u);
    scene.line->clearDirtyFlags(0, 0x100);
    EXPECT_EQ(scene.line->getDirtyFlags(0), ek::DIRTY_TRANSFORM | ek::DIRTY_RENDER);
    // editing the local transform with marking: transform here, bound above
    clearAllFlags({scene.root, scene.parent, scene.line});
    scene.line->editLocalTransform(true);
    EXPECT_NE(scene.line->getDirtyFlags(0) & ek::DIRTY_TRANSFORM, 0u);
    EXPECT_NE(scene.parent->getDirtyFlags(0) & ek::DIRTY_BOUND, 0u);
    // and without: nothing
    clearAllFlags({scene.root, scene.parent, scene.line});
    scene.line->editLocalTransform(false);
    EXPECT_EQ(scene.line->getDirtyFlags(0), 0u);
    EXPECT_EQ(scene.parent->getDirtyFlags(0), 0u);
}

TEST(ekSpatial, UpdateFollowsFlags)
{
    Scene scene;
    const Vector3f farBefore = worldVertex(*scene.far, 0);
    // both lines move; only one is marked
    scene.line->editLocalTransform(true).SetTranslate(Vector3f(0.0f, 0.0f, 1.0f));
    scene.far->editLocalTransform(false).SetTranslate(Vector3f(0.0f, 0.0f, -5.0f));
    scene.root->UpdateGS_Flags();
    // the marked one is up to date, the other untouched, the flags are spent
    expectNear(worldVertex(*scene.line, 0), Vector3f(10.0f, 0.0f, 2.0f), kTolerance);
    expectNear(worldVertex(*scene.far, 0), farBefore, 0.0f);
    EXPECT_EQ(scene.line->getDirtyFlags(0) & (ek::DIRTY_TRANSFORM | ek::DIRTY_BOUND), 0u);
    EXPECT_EQ(scene.parent->getDirtyFlags(0) & ek::DIRTY_BOUND, 0u);
    expectContains(scene.parent->getWorldBound(), scene.line->getWorldBound(), "bound after move");
    // a full update brings the other one along
    scene.root->UpdateGS();
    expectNear(worldVertex(*scene.far, 0), Vector3f(10.0f, -2.0f, -10.0f), kTolerance);
    // a node that keeps its children leaves them alone
    scene.parent->forceIgnore(false, false, true);
    scene.parent->editLocalTransform(true).SetTranslate(Vector3f(0.0f, 0.0f, 100.0f));
    scene.parent->UpdateGS();
    scene.parent->forceIgnore(false, false, false);
    expectNear(scene.parent->getWorldTransform().GetTranslate(), Vector3f(10.0f, 0.0f, 100.0f), kTolerance);
    expectNear(worldVertex(*scene.line, 0), Vector3f(10.0f, 0.0f, 2.0f), kTolerance);
}

TEST(ekSpatial, WrittenWorldTransformIsKept)
{
    Scene scene;
    ekNode* object = new ekNode();
    ekLine* child = makeSegment(Vector3f::ZERO, Vector3f(1.0f, 0.0f, 0.0f));
    object->editLocalTransform(true).SetTranslate(Vector3f(1.0f, 0.0f, 0.0f));
    child->editLocalTransform(true).SetTranslate(Vector3f(0.0f, 1.0f, 0.0f));
    scene.parent->attachChild(object);
    object->attachChild(child);
    scene.root->UpdateGS();
    clearAllFlags({scene.root, scene.parent, object, child});

    Transform wanted;
    wanted.SetRotate(rotationX(0.8f));
    wanted.SetUniformScale(0.5f);
    wanted.SetTranslate(Vector3f(4.0f, -1.0f, 7.0f));
    writeWorldTransform(*object, wanted);

    // the written world transform is kept exactly
    EXPECT_EQ(object->getWorldTransform(), wanted);
    // the child follows: its world is the written one after its local
    const Vector3f tip = wanted.ApplyForward(child->getLocalTransform().ApplyForward(Vector3f::UNIT_X, true), true);
    expectNear(worldVertex(*child, 1), tip, kTolerance);
    expectContains(child->getWorldBound(), tip, "child bound holds its moved tip");
    // the ancestors' bounds hold the moved child
    expectContains(scene.parent->getWorldBound(), child->getWorldBound(), "parent bound");
    expectContains(scene.root->getWorldBound(), child->getWorldBound(), "root bound");
    // the redraw is recorded in the second word
    EXPECT_EQ(object->getDirtyFlags(1), ek::DIRTY_TRANSFORM | ek::DIRTY_RENDER);
    // the local written with it reproduces the same world when recomputed
    scene.root->UpdateGS();
    expectNear(object->getWorldTransform().ApplyForward(Vector3f(1.0f, 2.0f, 3.0f), true),
               wanted.ApplyForward(Vector3f(1.0f, 2.0f, 3.0f), true), kTolerance);

    // a leaf geometry keeps it too, and its bound follows
    writeWorldTransform(*scene.far, wanted);
    EXPECT_EQ(scene.far->getWorldTransform(), wanted);
    expectContains(scene.far->getWorldBound(), wanted.ApplyForward(scene.far->getVertexPosition(1), true),
                   "moved leaf bound");
    expectContains(scene.root->getWorldBound(), scene.far->getWorldBound(), "root bound after leaf");
}

} // namespace
