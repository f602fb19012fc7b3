#pragma once
#include <array>
#include <cstdint>

// The hover glow every lit button shares: the menu buttons, the title's eight and the play
// screen's twelve. A glow is (state, frame): state 0 off, 1 the pointer is over it, 2 fading out.
namespace present::glow {

// State 0 off, 1 the pointer is over the button, 2 fading out; frame 0..5.
struct GlowPair {
    int32_t state = 0;
    int32_t frame = 0;
    bool operator==(const GlowPair&) const = default;
};

inline constexpr int kFrames = 6;

// Strength of each frame: the menu and title buttons, and the play screen's buttons.
inline constexpr std::array<float, kFrames> kMenuStrength = {0.5f, 1.0f, 1.0f, 0.7f, 0.5f, 0.3f};
inline constexpr std::array<float, kFrames> kPlayStrength = {0.85f, 1.0f, 1.0f, 0.9f, 0.75f, 0.55f};

// The strength to draw a glow at; 0 for a glow that is off or out of range.
inline float strength(const GlowPair& g, const std::array<float, kFrames>& table) {
    if (g.state == 0 || g.frame < 0 || g.frame >= kFrames) return 0.0f;
    return table[static_cast<size_t>(g.frame)];
}

// One tick after drawing a lit glow: the frame moves on, holds at 1 while the pointer stays, and
// the glow goes out when it reaches the sixth frame. A glow that is off stays as it is.
inline void advance(GlowPair& g) {
    if (g.state == 0) return;
    ++g.frame;
    if (g.frame == 2 && g.state == 1) g.frame = 1;
    if (g.frame >= kFrames) g.state = 0;
}

// The hover test for one button, after the glows have been drawn and advanced. True when the
// pointer has just entered the button (the glow starts again from its first frame).
inline bool hover(GlowPair& g, bool over) {
    if (over) {
        if (g == GlowPair{1, 1}) return false;
        g = {1, 0};
        return true;
    }
    if (g.state == 1) g = {2, 1};
    return false;
}

}  // namespace present::glow
