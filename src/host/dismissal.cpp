// The rules that end the full-screen saver, for every platform's events.
#include "host/host.h"

bool dismissalEnds(Dismissal& state, const SaverInput& input)
{
    switch (input.kind) {
    case SaverInput::KeyPressed:
    case SaverInput::ButtonPressed:
        return true;
    case SaverInput::PointerMoved:
        if (mouseDistance(state.referenceX, state.referenceY, input.x, input.y) <= MouseThreshold)
            return false;
        state.referenceX = input.x;  // a close that a password refuses counts from here
        state.referenceY = input.y;
        return true;
    case SaverInput::FocusGained:
        state.focused = true;
        return false;
    case SaverInput::FocusLost:
        return state.focused;
    }
    return false;
}
