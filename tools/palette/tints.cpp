#include "tints.hpp"

#include <algorithm>
#include <cmath>
#include <random>

namespace palette {

namespace {

struct Family {
    const char* name;
    double hueFrom, hueTo;  // degrees; a range may wrap through 0
    double minSaturation, maxSaturation;
    double minValue;
};

// clang-format off
constexpr std::array<Family, kBallColours> kFamilies = {{
    {"blue",    225, 250, 0.8, 1.0, 0.75},
    {"yellow",   50,  62, 0.8, 1.0, 0.85},
    {"green",   105, 140, 0.8, 1.0, 0.75},
    {"red",     350,   8, 0.8, 1.0, 0.75},
    {"white",     0, 360, 0.0, 0.1, 0.9},
    {"magenta", 295, 315, 0.75, 1.0, 0.75},
    {"cyan",    182, 205, 0.75, 1.0, 0.75},
}};
// clang-format on

struct Hsv {
    double hue = 0, saturation = 0, value = 0;
};

Hsv toHsv(Tint t) {
    const double r = t.red / 255.0, g = t.green / 255.0, b = t.blue / 255.0;
    const double high = std::max({r, g, b}), low = std::min({r, g, b}), span = high - low;
    Hsv out{0, high > 0 ? span / high : 0, high};
    if (span <= 0) return out;
    double h = high == r ? (g - b) / span : high == g ? 2 + (b - r) / span : 4 + (r - g) / span;
    out.hue = std::fmod(h * 60 + 360, 360);
    return out;
}

// The search's measure: the worst vision's closest pair, up to `enough`; a hundredth of every
// vision's closest pair breaks ties, so the climb keeps moving while the worst pair is stuck. Once
// the worst pair is far enough apart, what counts is how little the colours moved from `start` as
// normal eyes see them, so the board keeps its look.
double score(const TintSet& tints, const TintSet& start, double shading, double enough) {
    double worst = 1e9, sum = 0;
    for (Vision v : kVisions) {
        std::array<Lab, kBallColours> lab;
        for (int k = 0; k < kBallColours; ++k)
            lab[static_cast<size_t>(k)] = toLab(simulate(v, tinted(tints[static_cast<size_t>(k)], shading)));
        double closest = 1e9;
        for (size_t a = 0; a < lab.size(); ++a)
            for (size_t b = a + 1; b < lab.size(); ++b) closest = std::min(closest, deltaE76(lab[a], lab[b]));
        worst = std::min(worst, closest);
        sum += closest;
    }
    double moved = 0;
    for (size_t k = 0; k < tints.size(); ++k)
        moved += deltaE76(toLab(tinted(tints[k], shading)), toLab(tinted(start[k], shading)));
    return std::min(worst, enough) + 0.01 * std::min(sum, 4 * enough) - (worst >= enough ? 0.01 * moved : 0.0);
}

int& channel(Tint& t, int c) { return c == 0 ? t.red : c == 1 ? t.green : t.blue; }

}  // namespace

Srgb tinted(Tint tint, double shading) {
    return {0.4 * tint.red + 0.6 * shading, 0.4 * tint.green + 0.6 * shading, 0.4 * tint.blue + 0.6 * shading};
}

const char* familyName(int colour) { return kFamilies[static_cast<size_t>(colour)].name; }

bool inFamily(int colour, Tint tint) {
    const Family& f = kFamilies[static_cast<size_t>(colour)];
    const Hsv hsv = toHsv(tint);
    const bool hueFits =
        f.hueFrom <= f.hueTo ? hsv.hue >= f.hueFrom && hsv.hue <= f.hueTo : hsv.hue >= f.hueFrom || hsv.hue <= f.hueTo;
    return hueFits && hsv.saturation >= f.minSaturation && hsv.saturation <= f.maxSaturation && hsv.value >= f.minValue;
}

std::vector<PairDistance> pairsByDistance(const TintSet& tints, Vision vision, double shading) {
    std::array<Lab, kBallColours> lab;
    for (int k = 0; k < kBallColours; ++k)
        lab[static_cast<size_t>(k)] = toLab(simulate(vision, tinted(tints[static_cast<size_t>(k)], shading)));
    std::vector<PairDistance> pairs;
    for (int a = 0; a < kBallColours; ++a)
        for (int b = a + 1; b < kBallColours; ++b)
            pairs.push_back({a, b, deltaE76(lab[static_cast<size_t>(a)], lab[static_cast<size_t>(b)])});
    std::sort(pairs.begin(), pairs.end(), [](const PairDistance& x, const PairDistance& y) { return x.distance < y.distance; });
    return pairs;
}

double worstDistance(const TintSet& tints, double shading) {
    double worst = 1e9;
    for (Vision v : kVisions) worst = std::min(worst, pairsByDistance(tints, v, shading).front().distance);
    return worst;
}

TintSet searchTints(const TintSet& start, double shading, double enough, uint64_t seed, int restarts) {
    std::mt19937_64 random(seed);
    auto draw = [&](int n) { return static_cast<int>(random() % static_cast<uint64_t>(n)); };
    TintSet best = start;
    double bestScore = score(best, start, shading, enough);
    for (int r = 0; r < restarts; ++r) {
        // Each climb but the first starts from a random member of every family.
        TintSet current = start;
        if (r > 0)
            for (int k = 0; k < kBallColours; ++k) {
                Tint t;
                do t = {draw(256), draw(256), draw(256)};
                while (!inFamily(k, t));
                current[static_cast<size_t>(k)] = t;
            }
        double currentScore = score(current, start, shading, enough);
        int sinceImprovement = 0;
        while (sinceImprovement < 4000) {
            TintSet next = current;
            const int k = draw(kBallColours), step = 1 << draw(6);
            int& value = channel(next[static_cast<size_t>(k)], draw(3));
            value = std::clamp(value + (draw(2) ? step : -step), 0, 255);
            if (!inFamily(k, next[static_cast<size_t>(k)])) {
                ++sinceImprovement;
                continue;
            }
            const double s = score(next, start, shading, enough);
            if (s > currentScore)
                sinceImprovement = 0;
            else
                ++sinceImprovement;
            if (s >= currentScore) {
                current = next;
                currentScore = s;
            }
        }
        if (currentScore > bestScore) {
            best = current;
            bestScore = currentScore;
        }
    }
    return best;
}

}  // namespace palette
