#pragma once
#include "score.hpp"

namespace sfx {

// The five looping pieces and the level jingle, as scores.
Score menuMusic();      // calm, for the title and the menus
Score actionMusic();    // driving, fast
Score puzzleMusic();    // thoughtful, mid-tempo
Score spaceMusic();     // floating, slow
Score strategyMusic();  // stately, a march
Score levelJingle();    // the short fanfare of a cleared board

}  // namespace sfx
