#include "flow/fireworks.hpp"

#include <cmath>
#include <numbers>

#include "present/blitter.hpp"

namespace flow {

namespace {

constexpr uint32_t kLaunchEveryMs = 666;
constexpr uint32_t kFuseMs = 1100;  // from the top of a rocket's climb to its burst
constexpr uint32_t kSparkFrameMs = 200;
constexpr uint32_t kSparkFrames = 7;
constexpr float kGravity = 0.3f;
constexpr float kBottom = 572;
constexpr int kBallSide = 20;
constexpr int kSparkSide = 27;
// A burst's colour row in the spark strip, by the rocket's ball colour.
constexpr int kSparkColour[7] = {2, 3, 1, 0, 3, 4, 2};

double radians(int degrees) { return degrees * std::numbers::pi / 180.0; }

void launchRocket(std::vector<Particle>& particles, rules::Random& random) {
    const int side = random.mod(2);
    const int angle = 85 * side + 40 + random.mod(15);  // 40..54 from the left, 125..139 from the right
    const int along = 5 + random.mod(5);
    const int up = 20 + random.mod(5);
    Particle rocket;
    rocket.x = angle <= 90 ? 0.0f : 780.0f;
    rocket.y = 580.0f;
    rocket.vx = static_cast<float>(std::cos(radians(angle)) * along);
    rocket.vy = static_cast<float>(-std::sin(radians(angle)) * up);
    rocket.colour = random.mod(7);
    rocket.stamp = 0;
    rocket.isRocket = true;
    particles.push_back(rocket);
}

void burst(std::vector<Particle>& particles, const Particle& rocket, rules::Random& random, uint32_t now) {
    const int n = 15 + random.mod(9);
    const int colour = kSparkColour[rocket.colour >= 0 && rocket.colour < 7 ? rocket.colour : 0];
    for (int i = 0; i < n; ++i) {
        const int angle = 360 * i / n;
        // Sparks thrown upwards fly faster than those thrown down.
        const int speed = angle < 180 ? 4 + random.mod(7) : 4 + random.mod(3);
        Particle spark;
        spark.x = rocket.x;
        spark.y = rocket.y;
        spark.vx = static_cast<float>(std::cos(radians(angle)) * speed);
        spark.vy = static_cast<float>(-std::sin(radians(angle)) * speed);
        spark.stamp = now;
        spark.colour = colour;
        spark.isRocket = false;
        particles.push_back(spark);
    }
}

}  // namespace

void stepFireworks(ScreenState& screens, rules::Random& random, uint32_t now, std::vector<FireworkSprite>& shown) {
    std::vector<Particle>& particles = screens.fireworks;
    if (rules::elapsedSince(now, screens.lastRocketAt) > kLaunchEveryMs) {
        screens.lastRocketAt = now;
        launchRocket(particles, random);
    }
    // Last to first: a burst appends sparks behind the walk, a removal only moves particles already seen.
    for (size_t i = particles.size(); i-- > 0;) {
        Particle& p = particles[i];
        if (p.isRocket) {
            shown.push_back({static_cast<int>(p.x), static_cast<int>(p.y), true, p.colour, 0});
        } else if (p.y >= 0) {
            const uint32_t k = rules::elapsedSince(now, p.stamp) / kSparkFrameMs;
            if (k < kSparkFrames)
                shown.push_back({static_cast<int>(p.x), static_cast<int>(p.y), false, p.colour, static_cast<int>(k)});
        }
        // A spark above the top edge is not drawn but keeps moving: it falls back and leaves at the
        // bottom like every other, so the array never fills with sparks nobody sees.
        p.x += p.vx;
        p.y += p.vy;
        p.vy += kGravity;
        if (p.vy > -1.0f && p.vy <= 0.0f) p.stamp = now;  // the top of the climb
        if (p.isRocket && p.stamp != 0 && rules::elapsedSince(now, p.stamp) > kFuseMs) {
            const Particle rocket = p;
            particles.erase(particles.begin() + static_cast<std::ptrdiff_t>(i));
            burst(particles, rocket, random, now);
            continue;
        }
        if (p.y > kBottom) particles.erase(particles.begin() + static_cast<std::ptrdiff_t>(i));
    }
}

void drawFireworks(Game& game, const std::vector<FireworkSprite>& shown) {
    present::Surface& target = game.display.backBuffer;
    const present::PixelImage& sparks = game.pictures.image(present::StartupImage::RuneFinal);
    for (const FireworkSprite& s : shown) {
        if (s.rocket)
            present::copyRect(game.pictures.balls, kBallSide * s.colour, 0, s.x, s.y, kBallSide, kBallSide, target,
                              present::ColourKey::Use);
        else
            present::blendBlit(kSparkSide * (7 * s.colour + s.frame), 0, s.x, s.y, kSparkSide, kSparkSide, sparks, target, 1.0f,
                               1.0f);
    }
}

}  // namespace flow
