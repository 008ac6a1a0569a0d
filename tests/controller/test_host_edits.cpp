// A host may change any line of a gizmo between frames; the frames and the hover
// that follow put back what the gizmo is meant to show.
#include "ekControllerFixture.h"
#include "ekTestPrinters.h"

#include <ekSceneGraph/ekLine.h>

namespace ek::test {
namespace {

TEST_F(ControllerTest, AMoveOffEveryHandleRestoresALineTheHostRecoloured)
{
    setUpArrow();
    auto& shaft = static_cast<ekLine&>(*gizmo->getChild(0));
    const Wm4::ColorRGBA colour = shaft.getColor();
    const Pixel away{5, 5};
    moved(away);
    shaft.setColor(Wm4::ColorRGBA(1.0f, 0.0f, 0.0f, 1.0f));
    moved(shifted(away, 1));
    EXPECT_EQ(shaft.getColor(), colour);
}

TEST_F(ControllerTest, AFrameTurnsBackAnArrowheadTheHostTurned)
{
    setUpArrow();
    ekSpatial& head = *gizmo->getChild(3); // shaft X, head X, shaft Y, head Y, ...
    const Wm4::Matrix3<float> facing = head.getLocalTransform().GetRotate();
    const Wm4::Matrix3<float> turned = rotation(Wm4::Vector3<float>(1.0f, 0.0f, 0.0f), 90.0f);
    ASSERT_FALSE(facing == turned);
    head.editLocalTransform(true).SetRotate(turned);
    frame();
    EXPECT_EQ(head.getLocalTransform().GetRotate(), facing);
}

} // namespace
} // namespace ek::test
