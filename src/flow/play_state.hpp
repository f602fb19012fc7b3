#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "flow/screens.hpp"
#include "game/hints.hpp"
#include "game/types.hpp"
#include "present/glow.hpp"
#include "present/play_draw.hpp"

namespace flow {

// A new bonus flying from the rune meter to its cell along the points of a line.
struct BonusFlight {
    std::vector<present::Point> points;
    int32_t index = 0;
    int32_t pictureRow = 0;
};

// A dialog the frame has decided on. It opens at the end of the frame, so that no rule of the same
// frame runs on a level whose clock the dialog has stopped.
struct DueDialog {
    int32_t dialog = DialogNone;
    DialogBackdrop backdrop = DialogBackdrop::Screen;
    bool pausesClock = false;
    // A picture copied whole into captureSurface just before the dialog opens, as its backdrop.
    std::optional<present::SurfacePicture> backdropPicture;
};

// The play screen's own state, living for the run: the animations of what stands around the board,
// which the rules do not know of.
struct PlayScreenState {
    uint32_t sweepStartAt = 0;                                 // the level-1 sweep over the frame's arrows begins here
    bool stuckLost = false;                                    // the level was lost through the no-more-figures dialog
    bool shuffleSoundOn = true;                                // cleared for the rest of the level once a shuffle is unaffordable
    std::array<int32_t, rules::kBonusKindCount> bonusPhase{};  // per bonus kind, one frame a tick
    std::vector<BonusFlight> flights;
    std::array<present::glow::GlowPair, 12> buttonGlow{};  // the twelve buttons; 0..7 are the frame's arrows

    // What the bars and the flash show.
    int32_t progressShown = -1;  // percent; -1 when a level starts, and it never goes down in a level
    float timeShown = 0;         // eases towards the time or moves left
    present::TimeBarShape timeBar = present::TimeBarShape::Bar;
    int32_t criticalFrame = 0;  // 0..4, back and forth while time runs short
    int32_t criticalStep = 1;
    bool flashOn = false;
    int32_t flashStep = 0;

    // A move hint: the move the board shows until the player moves. Once the board has stood still
    // in play for a while (or H asks), the hint finder looks once; a board with no move shows none.
    std::optional<rules::Hint> hint;
    bool hintLooked = false;
    bool hintAsked = false;   // H was pressed
    uint32_t stillSince = 0;  // the board has stood still in play since then

    std::vector<DueDialog> dialogsDue;
    present::PlayView view;          // what the last play frame showed; rebuilt by every frame
    present::PlayBackdrop backdrop;  // the board's static pictures, while the scene stays as it is
    int64_t lastPlayTick = -1;       // the frame tick of the last play frame
};

}  // namespace flow
