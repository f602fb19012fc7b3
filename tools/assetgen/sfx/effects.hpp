#pragma once
#include <string>

#include "audio.hpp"

namespace sfx {

enum class Turn { Left, Right };

// The game's sound effects, mono. Tonal ones are played on General MIDI instruments from
// `soundfont`; noises come from the DSP of noise.hpp.
Audio blockTurn(Turn turn, const std::string& soundfont);
Audio boardTurn(Turn turn, const std::string& soundfont);
Audio explosion(const std::string& soundfont);
Audio colourSweep(const std::string& soundfont);
Audio scoreChime(const std::string& soundfont);
Audio freeze(const std::string& soundfont);
Audio bonusAppear(const std::string& soundfont);
Audio shuffleSound();
Audio levelFallOut(const std::string& soundfont);
Audio runeShine(const std::string& soundfont);
Audio newBalls(const std::string& soundfont);
Audio disappear(const std::string& soundfont);
Audio falling(int step, const std::string& soundfont);  // step 0..4, rising
Audio mouseOver(const std::string& soundfont);
Audio mouseClick(const std::string& soundfont);
Audio rotationHover(const std::string& soundfont);
Audio comboChime(int step, const std::string& soundfont);  // step 1..7, rising

}  // namespace sfx
