#include "ekBridgeDecision.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

namespace ek::test {
namespace {

// Feeds the decisions a sequence of events, carrying the state from one to the next as the
// bridge does, and spells the actions: Pass, press (>), release (<), Move, Cancel.
struct Bridge {
    std::string feed(std::initializer_list<ekBridgeInput> events)
    {
        std::string actions;
        for (ekBridgeInput input : events) {
            input.pressForwarded = pressForwarded;
            const ekBridgeDecision decision = decideBridgeAction(input);
            pressForwarded = decision.pressForwarded;
            actions += kLetters[static_cast<int>(decision.action)];
        }
        return actions;
    }
    static constexpr char kLetters[] = "P><MC";
    bool pressForwarded = false;
};

constexpr ekBridgeInput kPress{ekBridgeEventKind::LEFT_PRESS, false, true, false};
constexpr ekBridgeInput kPressNoCamera{ekBridgeEventKind::LEFT_PRESS, false, false, false};
constexpr ekBridgeInput kRelease{ekBridgeEventKind::LEFT_RELEASE, false, false, false};
constexpr ekBridgeInput kDragMove{ekBridgeEventKind::MOVE, true, false, false};
constexpr ekBridgeInput kBareMove{ekBridgeEventKind::MOVE, false, false, false};
constexpr ekBridgeInput kLost{ekBridgeEventKind::INPUT_LOST, false, false, false};
constexpr ekBridgeInput kOther{ekBridgeEventKind::OTHER, true, true, false};

TEST(BridgeDecision, AGestureGoesToTheControllerAsItCame)
{
    Bridge bridge;
    // hover, press, drag, release, hover
    EXPECT_EQ(bridge.feed({kBareMove, kPress, kDragMove, kRelease, kBareMove}), "M>M<M");
    // other buttons, double clicks, wheel and keys pass, during a gesture too
    EXPECT_EQ(bridge.feed({kOther, kPress, kOther, kDragMove, kRelease}), "P>PM<");
    // a release and a held move with no press forwarded still go
    EXPECT_EQ(bridge.feed({kRelease, kDragMove}), "<M");
    EXPECT_FALSE(bridge.pressForwarded);
}

TEST(BridgeDecision, AMoveWithTheButtonUpEndsAForwardedPress)
{
    Bridge bridge;
    // the first buttonless move is the release; the next ones hover again
    EXPECT_EQ(bridge.feed({kPress, kDragMove, kBareMove, kBareMove}), ">M<M");
    // a press with no camera is not forwarded: it leaves the earlier one waiting for its release
    EXPECT_EQ(bridge.feed({kPressNoCamera, kBareMove}), "PM");
    EXPECT_EQ(bridge.feed({kPress, kPressNoCamera, kBareMove}), ">P<");
}

TEST(BridgeDecision, LosingTheInputCancelsOnlyAPressWithoutRelease)
{
    Bridge bridge;
    // once, then the rest of the gesture goes on as after a release
    EXPECT_EQ(bridge.feed({kPress, kDragMove, kLost, kLost, kBareMove, kRelease}), ">MCPM<");
    // without a press forwarded nothing was lost
    EXPECT_EQ(bridge.feed({kLost, kPress, kRelease, kLost}), "P><P");
}

} // namespace
} // namespace ek::test
