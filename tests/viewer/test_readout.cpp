// The drag readout, on the session alone (no Qt): while a drag is under way
// it shows what the drag has done to the crate so far, read back from the
// crate itself; before the first move and after the release it is empty.
#include "EditorSession.h"
#include "JsonReport.h"

#include <ek3DManipulation/ek3DManipulationLibrary.h>

#include <ekSceneGraph/ekNode.h>

#include <Wm4/Wm4Math.h>
#include <Wm4/Wm4Matrix3.h>
#include <Wm4/Wm4Vector3.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>

namespace ek::viewer {
namespace {

// The readout prints three decimals (one for degrees): what it shows and
// the crate agree to half the last one, plus the float's rounding.
constexpr float kMoveTolerance = 0.0005f + 1e-5f;
constexpr float kDegreesTolerance = 0.05f + 1e-3f;
// The turn rebuilt from the axis shown (two decimals) and the angle agrees
// with the crate's matrix to this, each entry.
constexpr float kTurnTolerance = 0.02f;
constexpr int kWidth = 800;
constexpr int kHeight = 600;

// The turn by degrees about the unit axis a (right-handed), by Rodrigues'
// formula: cos I + sin [a]x + (1 - cos) a a^T.
Wm4::Matrix3<float> turnAbout(const Wm4::Vector3<float>& a, float degrees)
{
    const float radians = degrees * Wm4::Math<float>::DEG_TO_RAD;
    const float c = std::cos(radians);
    const float s = std::sin(radians);
    const float k = 1.0f - c;
    return {c + k * a.X() * a.X(),         k * a.X() * a.Y() - s * a.Z(), k * a.X() * a.Z() + s * a.Y(),
            k * a.Y() * a.X() + s * a.Z(), c + k * a.Y() * a.Y(),         k * a.Y() * a.Z() - s * a.X(),
            k * a.Z() * a.X() - s * a.Y(), k * a.Z() * a.Y() + s * a.X(), c + k * a.Z() * a.Z()};
}

class DragReadoutTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { initialize3DManipulationLibrary(); }
    static void TearDownTestSuite() { terminate3DManipulationLibrary(); }

    void SetUp() override
    {
        session.resize(kWidth, kHeight);
        session.frame();
    }

    // Presses at from and moves by (dx, dy) pixels, a frame after each;
    // the readout between them goes to atPress.
    void pressAndMove(const ScreenPoint& from, int dx, int dy, std::string& atPress)
    {
        x = int(std::lround(from.x));
        y = int(std::lround(from.y));
        session.controller().setMousePressed(&session.camera(), x, y, kWidth, kHeight);
        session.frame();
        session.dragReadout(atPress);
        session.controller().setMousePos(x + dx, y + dy);
        session.frame();
        x += dx;
        y += dy;
    }
    void release()
    {
        session.controller().setMouseReleased(x, y);
        session.frame();
    }
    const ekNode& crate() const { return *session.objects()[session.findObject("crate")].node; }

    std::ostringstream lines;
    JsonReport report{lines};
    EditorSession session{report};
    std::string text;
    int x = 0;
    int y = 0;
};

TEST_F(DragReadoutTest, ATranslateShowsHowFarTheCrateMovedSoFar)
{
    const Wm4::Vector3<float> before = crate().getWorldTransform().GetTranslate();
    session.dragReadout(text);
    EXPECT_EQ(text, "");
    // From the X tip, one arrow's length further along it.
    const ScreenPoint tip = session.lastLayout().tips[0];
    const ScreenPoint centre = session.lastLayout().centre;
    std::string atPress = "not read";
    pressAndMove(tip, int(std::lround(tip.x - centre.x)), int(std::lround(tip.y - centre.y)),
                 atPress);
    ASSERT_TRUE(session.isBusy());
    EXPECT_EQ(atPress, "");
    session.dragReadout(text);
    float shown[3] = {};
    ASSERT_EQ(std::sscanf(text.c_str(), "move (%f, %f, %f)", &shown[0], &shown[1], &shown[2]), 3)
        << text;
    const Wm4::Vector3<float> moved = crate().getWorldTransform().GetTranslate() - before;
    EXPECT_GT(moved.Length(), 0.1f);
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(shown[i], moved[i], kMoveTolerance) << text;
    }
    release();
    session.dragReadout(text);
    EXPECT_EQ(text, "");
}

TEST_F(DragReadoutTest, ARotationShowsTheAngleTheCrateTurnedSoFar)
{
    session.setMode(ekGizmoNode::ROTATE);
    session.frame();
    // Across the Y circle.
    std::string atPress;
    pressAndMove(session.lastLayout().rings[1], 20, 20, atPress);
    ASSERT_TRUE(session.isBusy());
    session.dragReadout(text);
    float degrees = 0.0f;
    float axis[3] = {};
    ASSERT_EQ(std::sscanf(text.c_str(), "turn %f\xc2\xb0 about (%f, %f, %f)", &degrees, &axis[0],
                          &axis[1], &axis[2]),
              4)
        << text;
    // The crate started unturned: its matrix is the turn, whose trace is
    // 1 + 2 cos(angle), and the turn by the angle about the axis shown.
    const Wm4::Matrix3<float> turn = crate().getWorldTransform().GetMatrix();
    const float angle = std::acos((turn(0, 0) + turn(1, 1) + turn(2, 2) - 1.0f) / 2.0f)
                        * Wm4::Math<float>::RAD_TO_DEG;
    EXPECT_GT(angle, 4.0f);
    EXPECT_NEAR(degrees, angle, kDegreesTolerance) << text;
    const Wm4::Matrix3<float> shown =
        turnAbout(Wm4::Vector3<float>(axis[0], axis[1], axis[2]), degrees);
    for (int i = 0; i < 9; ++i) {
        EXPECT_NEAR(shown.Entries()[i], turn.Entries()[i], kTurnTolerance) << text << " entry " << i;
    }
    release();
    session.dragReadout(text);
    EXPECT_EQ(text, "");
}

} // namespace
} // namespace ek::viewer
