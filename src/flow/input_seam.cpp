#include "flow/input_seam.hpp"

#include "flow/frame_tick.hpp"
#include "flow/game.hpp"
#include "flow/replay_recorder.hpp"
#include "flow/window_proc.hpp"

namespace flow {

namespace {

void dispatch(Game& game, const present::InputEvent& event) {
    if (event.type == present::InputEvent::Type::Tick)
        frameTick(game);
    else
        handleEvent(game, event);
}

}  // namespace

InputSeam::Reading InputSeam::live() const {
    return {inner_.clock().now(), inner_.pointer(), inner_.escapeDown(), inner_.surfacesLost()};
}

void InputSeam::present(const present::Surface& backBuffer) {
    if (!replaying_ || !overlay_) {
        inner_.present(backBuffer);
        return;
    }
    present::Surface shown = backBuffer;
    overlay_(shown);
    inner_.present(shown);
}

void deliver(Game& game, InputSeam& seam, const present::InputEvent& event) {
    const InputSeam::Reading reading = seam.live();
    seam.hold(reading);
    recordMessage(game, event, reading);
    dispatch(game, event);
    afterRecordedMessage(game);
    seam.release();
}

void deliverHeld(Game& game, InputSeam& seam, const present::InputEvent& event, const InputSeam::Reading& reading) {
    seam.hold(reading);
    dispatch(game, event);
    seam.release();
}

}  // namespace flow
