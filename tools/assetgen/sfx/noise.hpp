#pragma once
#include "audio.hpp"

namespace sfx {

enum class Sweep { Falling, Rising };

// Noises made from filtered noise and envelopes, all mono.
Audio explosionNoise();                     // a low boom, a roaring burst and falling debris
Audio whoosh(Sweep sweep, double seconds);  // air moved past: a band of noise sliding up or down
Audio riffle();                             // a deck of cards riffled together and squared
Audio iceCrackle();                         // ice forming: sharp ticks thinning out over a cold hiss
Audio puff();                               // a soft pop of air
Audio click();                              // a short dry tap

}  // namespace sfx
