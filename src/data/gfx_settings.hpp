#pragma once
#include <array>
#include <cstdint>
#include <string_view>

#include "data/game_folder.hpp"

namespace data {

// The three effect strips, numbered as the file's markers select them.
enum Strip : int { StripRise = 0, StripExplode = 1, StripLevel = 2 };
inline constexpr int kStripCount = 3;

// Frame layout and drawing kind of one effect strip. Frame i covers x = i * frame_width up to
// (i + 1) * frame_width - 1 at full height and is drawn with its corner at the target minus the
// hot spot. `frames` may be 0: nothing may divide by it.
struct AnimationSettings {
    float transparencyS = 0;  // source factor when the strip is blended
    float transparencyD = 0;  // destination factor
    int32_t frames = 0;
    int32_t frame_width = 0;
    int32_t center_x = 0;
    int32_t center_y = 0;
    int32_t height = 0;  // from the loaded picture
    int32_t width = 0;   // from the loaded picture
    int32_t type = 0;    // 0: a colour-keyed surface copy; anything else: blended
};

// One bonus picture's strip, in the order "3Ball", "Color_Explode", "Snowy", "MultiColor", "Plus".
struct BonusLayout {
    int32_t frames = 0;
    int32_t frame_width = 0;
    int32_t center_x = 0;
    int32_t center_y = 0;
    int32_t height = 0;  // from the loaded picture
    int32_t width = 0;   // from the loaded picture
};
inline constexpr int kBonusPictureCount = 5;

struct GraphicsSettings {
    std::array<AnimationSettings, kStripCount> strips{};
    std::array<BonusLayout, kBonusPictureCount> bonuses{};
    float menuTransparency = 0;  // blend factor of the menu panels
};

// Reads "ini\gfxini.txt". The settings are reset first: a missing file leaves every number 0.
void loadGraphicsSettings(const GameFolder& folder, GraphicsSettings& settings);

// The same over text already in memory.
void scanGraphicsText(std::string_view text, GraphicsSettings& settings);

}  // namespace data
