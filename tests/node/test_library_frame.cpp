// Library start-up and shut-down, its overlay analysis, the gizmo search
// walk and the version record.
#include <ek3DManipulation/ek3DManipulationLibrary.h>
#include <ek3DManipulation/ek3DManipulationVersion.h>
#include <ek3DManipulation/ekGizmoNode.h>

#include <ekSceneGraph/ek2DPrimitivesPass.h>
#include <ekSceneGraph/ekLine.h>
#include <ekSceneGraph/ekMeshUtils.h>

#include <gtest/gtest.h>

#include <vector>

using namespace ek;

namespace {

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
    initialize3DManipulationLibrary();
    initialize3DManipulationLibrary();
    EXPECT_EQ(ek2DPrimitivesPass::GetAnalyseFunctionCount(), others + 1);
    terminate3DManipulationLibrary();
    EXPECT_TRUE(analysisRuns());
    terminate3DManipulationLibrary();
    EXPECT_FALSE(analysisRuns());
    // an unmatched shut-down keeps the count at 0: the next start-up registers
    terminate3DManipulationLibrary();
    initialize3DManipulationLibrary();
    EXPECT_TRUE(analysisRuns());
    terminate3DManipulationLibrary();
    EXPECT_EQ(ek2DPrimitivesPass::GetAnalyseFunctionCount(), others);
}

std::vector<ekGizmoNode*> findGizmos(ekSpatial* root, bool acceptExcluded, bool acceptNeverDrawn)
{
    std::vector<ekGizmoNode*> found;
    ekMeshUtils::GetNodeFunctor<ekGizmoNode> functor(found, acceptExcluded, acceptNeverDrawn);
    ekSceneGraphVisitor(functor).apply(root);
    return found;
}

TEST(LibraryFrame, GizmoSearch)
{
    ekPointer<ekNode> root = new ekNode;
    // no gizmo, nothing found
    root->attachChild(new ekLine(2u));
    EXPECT_TRUE(findGizmos(root, false, true).empty());
    // gizmos at any depth are found; an excluded one is refused
    ekPointer<ekGizmoNode> top = new ekGizmoNode, excluded = new ekGizmoNode, deep = new ekGizmoNode;
    ekPointer<ekNode> group = new ekNode;
    excluded->setExcluded(true);
    root->attachChild(top);
    root->attachChild(excluded);
    root->attachChild(group);
    group->attachChild(deep);
    EXPECT_EQ(findGizmos(root, false, true), (std::vector<ekGizmoNode*>{top.get(), deep.get()}));
    // the flags let each kind in
    EXPECT_TRUE(findGizmos(root, false, false).empty());
    EXPECT_EQ(findGizmos(root, true, true).size(), 3u);
}

TEST(LibraryFrame, Version)
{
    using ek3DManipulation::Version;
    EXPECT_TRUE(Version::GetMajor() == 3 && Version::GetMinor() == 0 && Version::GetRelease() == 0);
    EXPECT_TRUE(Version::GetRevision() == 13 && Version::GetYear() == 2024 && Version::GetMonth() == 1);
    for (bool second : {false, true}) {
        EXPECT_STREQ(Version::GetDescStringMajorMinor(second), "3.0");
        EXPECT_STREQ(Version::GetDescStringMajorMinorRelease(second), "3.0.0");
        EXPECT_STREQ(Version::GetDescStringMajorMinorReleaseRevision(second), "3.0.0.13");
    }
    EXPECT_STREQ(Version::GetDescStringMajorMinorReleaseRevisionDate(), "3.0.0.13 2024-1");
}

} // namespace
