#include "engine_test_support.h"

#include <ekSceneGraph/ekCamera.h>
#include <ekSceneGraph/ekCameraNode.h>
#include <ekSceneGraph/ekLine.h>
#include <ekSceneGraph/ekMeshUtils.h>
#include <ekSceneGraph/ekNode.h>
#include <ekSceneGraph/ekObject.h>
#include <ekSceneGraph/ekSceneGraphVisitor.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

using ek::ekLine;
using ek::ekNode;
using ek::ekPointer;
using ek::ekSpatial;
using ek_test::TrackedNode;

TEST(ekPointer, Counts)
{
    int deaths = 0;
    auto* node = new TrackedNode(deaths);
    // an object nobody counts yet has count 0
    EXPECT_EQ(node->GetReferences(), 0);
    {
        ekPointer<ekNode> first(node);
        EXPECT_EQ(node->GetReferences(), 1);
        ekPointer<ekNode> second(first);
        EXPECT_EQ(node->GetReferences(), 2);
        // assigning the object already held changes nothing
        second = node;
        second = first;
        EXPECT_EQ(node->GetReferences(), 2);
        // null releases the count, and a null pointer compares to null
        second = nullptr;
        EXPECT_EQ(node->GetReferences(), 1);
        EXPECT_TRUE(second == nullptr);
        EXPECT_TRUE(first == node);
    }
    // the last count going away deletes the object
    EXPECT_EQ(deaths, 1);
}

TEST(ekPointer, AssignCountsNewBeforeReleasingOld)
{
    int parentDeaths = 0;
    int childDeaths = 0;
    auto* parent = new TrackedNode(parentDeaths);
    auto* child = new TrackedNode(childDeaths);
    ekPointer<ekNode> holder(parent);
    parent->attachChild(child);
    // the child is kept alive only through the parent that holder releases
    holder = child;
    EXPECT_EQ(parentDeaths, 1);
    EXPECT_EQ(childDeaths, 0);
    EXPECT_EQ(child->GetReferences(), 1);
    EXPECT_EQ(child->getParent(), nullptr);
    holder = nullptr;
    EXPECT_EQ(childDeaths, 1);
}

TEST(ekNode, ChildrenHoldCounts)
{
    int deaths = 0;
    ekPointer<ekNode> root(new ekNode());
    auto* a = new TrackedNode(deaths);
    auto* b = new TrackedNode(deaths);
    // attaching returns the index, sets the parent and holds one count
    EXPECT_EQ(root->attachChild(a), 0);
    EXPECT_EQ(root->attachChild(b), 1);
    EXPECT_EQ(a->GetReferences(), 1);
    EXPECT_EQ(a->getParent(), root.get());
    EXPECT_EQ(root->getChildCount(), 2);
    EXPECT_EQ(root->getChild(1), b);
    // null, an already parented spatial and an index out of range are refused
    EXPECT_EQ(root->attachChild(nullptr), -1);
    ekPointer<ekNode> other(new ekNode());
    EXPECT_EQ(other->attachChild(a), -1);
    EXPECT_EQ(a->getParent(), root.get());
    EXPECT_EQ(root->getChild(2), nullptr);
    EXPECT_EQ(root->getChild(-1), nullptr);
    // detaching something that is not a child changes nothing
    EXPECT_EQ(other->detachChild(a), -1);
    EXPECT_EQ(root->getChildCount(), 2);
    // detaching releases: a counted child survives, an uncounted one dies
    ekPointer<ekSpatial> keep(a);
    EXPECT_EQ(root->detachChild(a), 0);
    EXPECT_EQ(deaths, 0);
    EXPECT_EQ(a->getParent(), nullptr);
    EXPECT_EQ(root->getChild(0), b);
    EXPECT_EQ(root->detachChild(b), 0);
    EXPECT_EQ(deaths, 1);
    // a detached child can be attached elsewhere
    EXPECT_EQ(other->attachChild(a), 0);
    keep = nullptr;
    EXPECT_EQ(deaths, 1);
    // destroying a node releases its children
    other = nullptr;
    EXPECT_EQ(deaths, 2);
}

TEST(ekRtti, IsDerived)
{
    ekPointer<ekLine> line(new ekLine(2u));
    ekPointer<ek::ekCamera> camera(new ek::ekCamera());
    ekPointer<ek::ekCameraNode> cameraNode(new ek::ekCameraNode(camera));
    // a type derives from itself and from each of its ancestors
    EXPECT_TRUE(line->IsDerived(ekLine::TYPE));
    EXPECT_TRUE(line->IsDerived(ek::ekGeometry::TYPE));
    EXPECT_TRUE(line->IsDerived(ekSpatial::TYPE));
    EXPECT_TRUE(line->IsDerived(ek::ekObject::TYPE));
    EXPECT_TRUE(cameraNode->IsDerived(ekNode::TYPE));
    // not from siblings or descendants
    EXPECT_FALSE(line->IsDerived(ekNode::TYPE));
    EXPECT_FALSE(camera->IsDerived(ekSpatial::TYPE));
    EXPECT_FALSE(ekPointer<ekNode>(new ekNode())->IsDerived(ek::ekCameraNode::TYPE));
    // exactly only its own type
    EXPECT_TRUE(line->IsExactly(ekLine::TYPE));
    EXPECT_FALSE(line->IsExactly(ek::ekGeometry::TYPE));
    // the chain of records ends at the root type
    EXPECT_EQ(ekNode::TYPE.GetBaseType(), &ekSpatial::TYPE);
    EXPECT_EQ(ek::ekObject::TYPE.GetBaseType(), nullptr);
    // a camera node holds a count of its camera
    EXPECT_EQ(camera->GetReferences(), 2);
}

// Records the walk: every offered spatial and every visited one.
class RecordingFunctor : public ek::ekSceneGraphVisitor::Functor {
public:
    void visit(ekSpatial* spatial) override { m_visited.push_back(spatial); }
    bool accept(ekSpatial* spatial) override
    {
        m_offered.push_back(spatial);
        return spatial != m_refused;
    }

    ekSpatial* m_refused = nullptr;
    std::vector<ekSpatial*> m_offered;
    std::vector<ekSpatial*> m_visited;
};

// root -> (a -> (a0, a1), b -> (b0))
struct Tree {
    Tree()
    {
        root->attachChild(a);
        root->attachChild(b);
        a->attachChild(a0);
        a->attachChild(a1);
        b->attachChild(b0);
    }
    ekPointer<ekNode> root{new ekNode()};
    ekNode* a = new ekNode();
    ekNode* b = new ekNode();
    ekLine* a0 = new ekLine(2u);
    ekNode* a1 = new ekNode();
    ekLine* b0 = new ekLine(2u);
};

TEST(ekSceneGraphVisitor, OrderAndPruning)
{
    Tree tree;
    // depth first, parents before children, children in index order
    RecordingFunctor all;
    ek::ekSceneGraphVisitor(all).apply(tree.root);
    const std::vector<ekSpatial*> order{tree.root.get(), tree.a, tree.a0, tree.a1, tree.b, tree.b0};
    EXPECT_EQ(all.m_visited, order);
    EXPECT_EQ(all.m_offered, order);
    // a refused spatial is neither visited nor walked into
    RecordingFunctor pruned;
    pruned.m_refused = tree.a;
    ek::ekSceneGraphVisitor(pruned).apply(tree.root);
    EXPECT_EQ(pruned.m_visited, (std::vector<ekSpatial*>{tree.root.get(), tree.b, tree.b0}));
    // a subtree can be walked on its own
    RecordingFunctor sub;
    ek::ekSceneGraphVisitor(sub).apply(tree.b);
    EXPECT_EQ(sub.m_visited, (std::vector<ekSpatial*>{tree.b, tree.b0}));
    // a null root walks nothing
    RecordingFunctor none;
    ek::ekSceneGraphVisitor(none).apply(nullptr);
    EXPECT_TRUE(none.m_offered.empty());
    EXPECT_TRUE(none.m_visited.empty());
}

TEST(GetNodeFunctor, Flags)
{
    Tree tree;
    tree.a->setExcluded(true);
    tree.b->setCullingMode(ekSpatial::CULL_ALWAYS);
    const auto collect = [&](bool acceptExcluded, bool acceptNeverDrawn) {
        std::vector<ekNode*> found;
        ek::ekMeshUtils::GetNodeFunctor<ekNode> functor(found, acceptExcluded, acceptNeverDrawn);
        ek::ekSceneGraphVisitor(functor).apply(tree.root);
        return found;
    };
    // both flags false: the excluded and the never-drawn subtrees are refused
    EXPECT_EQ(collect(false, false), (std::vector<ekNode*>{tree.root.get()}));
    // excluded accepted: a and its node child; lines are not nodes
    EXPECT_EQ(collect(true, false), (std::vector<ekNode*>{tree.root.get(), tree.a, tree.a1}));
    // never-drawn accepted (the controller's choice): b, but not the excluded a
    EXPECT_EQ(collect(false, true), (std::vector<ekNode*>{tree.root.get(), tree.b}));
    // both: every node, in walk order
    EXPECT_EQ(collect(true, true), (std::vector<ekNode*>{tree.root.get(), tree.a, tree.a1, tree.b}));
    // the type filter accepts derived types: lines as geometry
    std::vector<ek::ekGeometry*> geometry;
    ek::ekMeshUtils::GetNodeFunctor<ek::ekGeometry> lines(geometry, true, true);
    ek::ekSceneGraphVisitor(lines).apply(tree.root);
    EXPECT_EQ(geometry, (std::vector<ek::ekGeometry*>{tree.a0, tree.b0}));
}

} // namespace
