// The gizmo node's structure: type, children, defaults, modes, enabled
// axes, reference objects, options, dirty flags and line ownership; the
// library's start-up, shut-down and version record.
#include <ek3DManipulation/ek3DManipulationLibrary.h>
#include <ek3DManipulation/ek3DManipulationVersion.h>
#include <ek3DManipulation/ekGizmoNode.h>

#include <ekSceneGraph/ek2DPrimitivesPass.h>
#include <ekSceneGraph/ekLine.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace ek;

namespace {

// Children: translate 0-5, circles 6-8, half-axis lines 9-14, scale shafts and
// squares 15-20, plane markers 21-23, uniform handle 24.
std::vector<int> shownChildren(const ekNode& node)
{
    std::vector<int> shown;
    for (int i = 0; i < node.getChildCount(); ++i) {
        if (node.getChild(i)->getCullingMode() == ekSpatial::CULL_DYNAMIC) {
            shown.push_back(i);
        }
    }
    return shown;
}

// The engine calls setDirtyDown; the test reaches it as a subclass.
struct ProbeGizmo : ekGizmoNode {
    using ekGizmoNode::setDirtyDown;
};

TEST(GizmoNode, DefaultsModesAndEnabledAxes)
{
    ekPointer<ekGizmoNode> node = new ekGizmoNode;
    EXPECT_STREQ(node->GetType().GetName(), "ekCore.ekGizmoNode");
    // mode NONE, 60 pixels, no option, all axes, nothing shown
    EXPECT_TRUE(node->getMode() == ekGizmoNode::NONE && node->getExpectedPixelSize() == 60.0f);
    EXPECT_FALSE(node->shouldUseUniformScale() || node->shouldSnapRotationToAxis()
                 || node->shouldRestrictPositionBetweenNearFar());
    EXPECT_TRUE(node->getEnabledAxis(ekGizmoNode::SCALE) == 255 && node->getEnabledAxis(ekGizmoNode::NONE) == 0);
    EXPECT_TRUE(node->getReferenceObjects().empty() && shownChildren(*node).empty());
    // the child order is pinned by the mode, highlight and picture tests that name children
    EXPECT_TRUE(node->getCullingMode() == ekSpatial::CULL_ALWAYS && node->getChildCount() == 25);
    // ROTATE shows the circles only
    node->setMode(ekGizmoNode::ROTATE);
    EXPECT_EQ(shownChildren(*node), (std::vector<int>{6, 7, 8}));
    // 7 hides all like NONE, and is stored as given
    node->setMode(static_cast<ekGizmoNode::GizmoMode>(7));
    EXPECT_TRUE(shownChildren(*node).empty() && node->getMode() == 7u);
    // a scale mask while translating shows scale X and Z, mode unchanged
    node->setMode(ekGizmoNode::TRANSLATE);
    node->setEnabledAxis(ekGizmoNode::SCALE, 5);
    EXPECT_EQ(shownChildren(*node), (std::vector<int>{15, 16, 19, 20, 24}));
    EXPECT_TRUE(node->getMode() == ekGizmoNode::TRANSLATE && node->getEnabledAxis(ekGizmoNode::SCALE) == 5);
    // NONE stores nothing and hides every group
    node->setEnabledAxis(ekGizmoNode::NONE, 1);
    EXPECT_TRUE(shownChildren(*node).empty() && node->getEnabledAxis(ekGizmoNode::SCALE) == 5
                && node->getEnabledAxis(ekGizmoNode::ROTATE) == 255);
    // mask 0 hides the uniform handle too
    node->setEnabledAxis(ekGizmoNode::SCALE, 0);
    EXPECT_TRUE(shownChildren(*node).empty());
}

TEST(GizmoNode, ReferenceObjectsOptionsAndDirtyBits)
{
    ekPointer<ProbeGizmo> node = new ProbeGizmo;
    ekPointer<ekNode> a = new ekNode;
    // a copied list, kept through self-assignment; one object replaces it
    node->setReferenceObjects({a.get(), nullptr, a.get()});
    node->setReferenceObjects(node->getReferenceObjects());
    EXPECT_EQ(node->getReferenceObjects(), (std::vector<ekSpatial*>{a.get(), nullptr, a.get()}));
    node->setReferenceObject(nullptr);
    EXPECT_EQ(node->getReferenceObjects(), (std::vector<ekSpatial*>{nullptr}));
    // each option keeps its own bit
    node->setUseUniformScale(true);
    node->restrictPositionBetweenNearFar(true);
    node->setUseUniformScale(false);
    EXPECT_TRUE(node->shouldRestrictPositionBetweenNearFar() && !node->shouldUseUniformScale()
                && !node->shouldSnapRotationToAxis());
    // setDirtyDown: bit 0 always, bit 13 for a subtree, in both words
    constexpr unsigned int kBits = 1u | (1u << 13);
    for (bool subtree : {true, false}) {
        node->clearDirtyFlags(0, ~0u);
        node->clearDirtyFlags(1, ~0u);
        const unsigned int returned = node->setDirtyDown(subtree);
        EXPECT_EQ(returned, node->getDirtyFlags(0));
        const unsigned int bits = subtree ? kBits : 1u;
        EXPECT_TRUE((node->getDirtyFlags(0) & kBits) == bits && (node->getDirtyFlags(1) & kBits) == bits);
    }
}

TEST(GizmoNode, LinesLiveAsLongAsTheNode)
{
    auto* node = new ekGizmoNode;
    node->IncrementReferences();
    for (int i = 0; i < node->getChildCount(); ++i) { // counted by the group and by the node
        EXPECT_EQ(node->getChild(i)->GetReferences(), 2);
    }
    // a line kept elsewhere outlives the node; the sanitizer checks that
    // all else is released exactly once
    ekPointer<ekSpatial> kept = node->getChild(6);
    node->DecrementReferences();
    EXPECT_TRUE(kept->GetReferences() == 1 && kept->getParent() == nullptr);
}

// Whether the library's analysis runs: it alone empties the batch, and
// a gizmo in the scene adds nothing to it.
bool analysisRuns()
{
    ek2DPrimitivesPass pass;
    pass.editGeometryRenderBatch().push_back(new ekLine(2u));
    ekPointer<ekNode> root = new ekNode;
    root->attachChild(new ekGizmoNode);
    pass.analyse(root);
    return pass.getGeometryRenderBatch().empty();
}

TEST(LibraryFrame, StartUpsAreCounted)
{
    const std::size_t others = ek2DPrimitivesPass::GetAnalyseFunctionCount();
    EXPECT_FALSE(analysisRuns());
    // nested start-ups register once; the last shut-down unregisters
    initialize3DManipulationLibrary(), initialize3DManipulationLibrary();
    EXPECT_EQ(ek2DPrimitivesPass::GetAnalyseFunctionCount(), others + 1);
    terminate3DManipulationLibrary();
    EXPECT_TRUE(analysisRuns());
    terminate3DManipulationLibrary();
    EXPECT_FALSE(analysisRuns());
    // an unmatched shut-down keeps the count at 0: the next start-up registers
    terminate3DManipulationLibrary(), initialize3DManipulationLibrary();
    EXPECT_TRUE(analysisRuns());
    terminate3DManipulationLibrary();
    EXPECT_EQ(ek2DPrimitivesPass::GetAnalyseFunctionCount(), others);
}

// The description strings are built from the numbers, in one format.
TEST(LibraryFrame, Version)
{
    using ek3DManipulation::Version;
    const std::string mm = std::to_string(Version::GetMajor()) + "." + std::to_string(Version::GetMinor());
    const std::string mmr = mm + "." + std::to_string(Version::GetRelease());
    const std::string mmrr = mmr + "." + std::to_string(Version::GetRevision());
    for (bool second : {false, true}) {
        EXPECT_EQ(Version::GetDescStringMajorMinor(second), mm);
        EXPECT_EQ(Version::GetDescStringMajorMinorRelease(second), mmr);
        EXPECT_EQ(Version::GetDescStringMajorMinorReleaseRevision(second), mmrr);
    }
    EXPECT_EQ(Version::GetDescStringMajorMinorReleaseRevisionDate(),
              mmrr + " " + std::to_string(Version::GetYear()) + "-" + std::to_string(Version::GetMonth()));
}

} // namespace
