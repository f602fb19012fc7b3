#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "colour_vision.hpp"

// The seven ball tints and how far apart they look once the game has tinted its ball with them.
namespace palette {

inline constexpr int kBallColours = 7;

struct Tint {
    int red = 0, green = 0, blue = 0;  // 0..255, as the level file writes them
};
using TintSet = std::array<Tint, kBallColours>;  // ball colours 1 to 7

// A ball pixel: 40 % tint over 60 % of the template's shading.
Srgb tinted(Tint tint, double shading);

// The lit body of the ball, where a player reads its colour.
inline constexpr double kBodyShading = 170;

// Each ball colour keeps its family of hues, so the board keeps its look: blue, yellow, green,
// red, white, magenta, cyan, in the order of the level file.
const char* familyName(int colour);  // colour 0..6
bool inFamily(int colour, Tint tint);

struct PairDistance {
    int first = 0, second = 0;  // colours 0..6
    double distance = 0;        // CIE76
};
// Every pair of ball colours as `vision` sees them over `shading`, closest first.
std::vector<PairDistance> pairsByDistance(const TintSet& tints, Vision vision, double shading);
// The closest pair under the worst of the four visions.
double worstDistance(const TintSet& tints, double shading);

// A hill climb from `start`, inside the families, that pushes the closest pair under the worst
// vision apart until it is `enough` (and, among equals, the closest pair of every vision); past
// that it keeps the colours as near `start` as it can. Deterministic for a seed.
TintSet searchTints(const TintSet& start, double shading, double enough, uint64_t seed, int restarts);

}  // namespace palette
