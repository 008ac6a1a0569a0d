#include "ekBridgeDecision.h"

namespace ek {

ekBridgeDecision decideBridgeAction(const ekBridgeInput& input)
{
    const bool forwarded = input.pressForwarded;
    switch (input.kind) {
    case ekBridgeEventKind::LEFT_PRESS:
        // Without a camera nothing can be picked: the press is the host's,
        // and an earlier press still waits for its release.
        return input.canPick ? ekBridgeDecision{ekBridgeAction::PRESS, true}
                             : ekBridgeDecision{ekBridgeAction::PASS, forwarded};
    case ekBridgeEventKind::LEFT_RELEASE:
        return {ekBridgeAction::RELEASE, false};
    case ekBridgeEventKind::MOVE:
        // The window system let the release go elsewhere, or lost it.
        if (forwarded && !input.leftHeld) {
            return {ekBridgeAction::RELEASE, false};
        }
        return {ekBridgeAction::MOVE, forwarded};
    case ekBridgeEventKind::INPUT_LOST:
        // Without a press forwarded the queue holds whole gestures only.
        return forwarded ? ekBridgeDecision{ekBridgeAction::CANCEL, false}
                         : ekBridgeDecision{ekBridgeAction::PASS, false};
    case ekBridgeEventKind::OTHER:
        break;
    }
    return {ekBridgeAction::PASS, forwarded};
}

} // namespace ek
