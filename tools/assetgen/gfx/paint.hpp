#pragma once
#include <cairo.h>

#include <cstdint>
#include <string>

#include "layer.hpp"

namespace assetgen {

// The palette of the art: bronze and gold metal, dark stone, cyan light, blue glass.
namespace palette {
inline const Rgb goldLight = hex(0xFFF0B8);
inline const Rgb gold = hex(0xF0C050);
inline const Rgb goldDeep = hex(0xA86C18);
inline const Rgb goldWarm = hex(0xE6B66A);  // the lit top of large bronze pieces
inline const Rgb bronzeLight = hex(0xD89A58);
inline const Rgb bronze = hex(0x8E5C2C);
inline const Rgb bronzeDark = hex(0x3E2610);
inline const Rgb stone = hex(0x3C4250);
inline const Rgb stoneDark = hex(0x1E222B);
inline const Rgb stoneWarm = hex(0x5A534E);
inline const Rgb cyan = hex(0x6CF4FF);
inline const Rgb cyanDeep = hex(0x1A9CD8);
inline const Rgb glassLight = hex(0x5A94C8);
inline const Rgb glass = hex(0x25507E);
inline const Rgb glassDark = hex(0x0E2444);
inline const Rgb ink = hex(0x120C06);
}  // namespace palette

// The DejaVu faces the art uses (only those that fonts-dejavu-core ships).
enum class Font { Sans, SansBold, SansMono, SansMonoBold, Serif, SerifBold };
// Selects the face at `size` pixels, unhinted and greyscale-antialiased, so the letters come out the
// same on every machine.
void setFont(cairo_t* cr, Font font, double size);

// A small deterministic generator for placing stars and sparks (the art never uses the game's).
class Rng {
  public:
    explicit Rng(uint64_t seed) : state_(seed) {}
    uint32_t next();
    float uniform();  // 0 <= u < 1
    float range(float lo, float hi) { return lo + (hi - lo) * uniform(); }

  private:
    uint64_t state_;
};

// Smooth value noise in 0..1 and its fractal sum (octaves halve in size and strength).
float valueNoise(float x, float y, uint32_t seed);
float fbm(float x, float y, int octaves, uint32_t seed);

// A soft halo: the coverage of `mask` in `colour`, blurred.
Layer glow(const Layer& mask, Rgb colour, float radius, float strength = 1.0f);

// Fades each w by h cell of a strip of light to black over `margin` pixels at its edges, so the
// blender never shows a cell's rectangle.
void fadeCellEdges(Layer& strip, int w, int h, float margin);

// Light from the upper left falling on a relief whose height is the blurred coverage of `mask`:
// above 0 on slopes that face the light, below 0 on the others.
Layer reliefLight(const Layer& mask, float softness);
float lightAt(const Layer& relief, int x, int y);

// Polished metal (gold or bronze) filling `mask`: a vertical ramp from `light` to `deep`, lit by
// the relief of the mask's own edges.
Layer metal(const Layer& mask, Rgb light, Rgb mid, Rgb deep, float bevel);

// Metal of one colour lit only by its relief, so that a band looks the same along its length
// (frame edges that the game repeats must match end to end).
Layer flatMetal(const Layer& mask, Rgb colour, float bevel);

// The 24 rune glyphs of the art, drawn as strokes: glyph `index` centred at (cx, cy), `size`
// pixels tall, turned by `angle` radians (0 upright).
inline constexpr int kRuneCount = 24;
void runePath(cairo_t* cr, int index, double cx, double cy, double size, double angle);

// The path of `text` laid out with its baseline starting at (x, y).
void textPath(cairo_t* cr, Font font, double size, const std::string& text, double x, double y);
// Width of `text`'s advance in `font` at `size`.
double textWidth(Font font, double size, const std::string& text);

inline constexpr double kPi = 3.14159265358979323846;

}  // namespace assetgen
