#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "data/gfx_settings.hpp"
#include "present/display.hpp"
#include "present/layout.hpp"
#include "present/pictures.hpp"
#include "present/sprite_font.hpp"

// What one frame of the play screen shows, and the pass that draws it. The play frame steps the
// animations and fills a PlayView; drawing it reads nothing else of the game and changes nothing
// but the pixels of the display's surfaces.
namespace present {

using layout::Point;

// One 2 by 2 block composed at a rotation step: its corner on screen and the ball colour (1..7,
// 0 none) that sits at each of the four turn positions of that step.
struct PlayBlock {
    Point at;
    int step = 0;
    std::array<uint8_t, 4> balls{};
    bool operator==(const PlayBlock&) const = default;
};

// A single ball (falling, or in the end animation): its corner and colour 1..7.
struct PlayBall {
    Point at;
    uint8_t colour = 0;
    bool operator==(const PlayBall&) const = default;
};

// A bonus picture over its ball: kind 0..4 (Explode, Color, Freeze, Universal, ScoreBoost), the
// animation frame, and the point where the picture's hot spot goes.
struct PlayBonusSprite {
    int kind = 0;
    int frame = 0;
    Point at;
    bool operator==(const PlayBonusSprite&) const = default;
};

// A bonus flying from the rune meter: where its rune is drawn, its picture row (the bonus kind) and
// its cell 0..6 in the row.
struct PlayFlight {
    Point at;
    int pictureRow = 0;
    int cell = 0;
    bool operator==(const PlayFlight&) const = default;
};

// An effect over a cell, at frame `frame` of its strip.
struct PlayEffect {
    int column = 0;
    int row = 0;
    int frame = 0;
    bool operator==(const PlayEffect&) const = default;
};

struct PlayText {
    std::string text;
    int y = 0;
    int style = 0;
    bool operator==(const PlayText&) const = default;
};

// The block whose four balls pulse to show a move (a hint), and how bright they are now.
struct PlayHintBlock {
    bool on = false;
    int column = 0;  // 0..4 among the blocks
    int row = 0;
    float strength = 0;  // 0..1: how far the balls are lightened towards white
    bool operator==(const PlayHintBlock&) const = default;
};

// The block cursor of the controller and the keys: a light frame around the block it stands on.
struct PlayBlockCursor {
    bool on = false;
    int column = 0;  // 0..4 among the blocks
    int row = 0;
    bool operator==(const PlayBlockCursor&) const = default;
};

// A glow drawn at some strength, or not at all.
struct PlayGlow {
    bool on = false;
    float strength = 0;
    bool operator==(const PlayGlow&) const = default;
};

enum class TimeBarShape { Bar, Critical, Frozen };
enum class BoardShape {
    Blocks,      // the 25 blocks (upright, one of them turning, or the whole board turned)
    LooseBalls,  // empty sockets and single balls: a drop being drawn, or the end animation
};

inline constexpr int kBlockCount = 25;
inline constexpr int kFlashSteps = 8;

struct PlayView {
    PlayGlow flash;         // the rune words and slots lit when a level starts
    int progressTop = 270;  // first row of the progress bar's picture shown (270: none)
    TimeBarShape timeBar = TimeBarShape::Bar;
    int timeTop = 270;                         // first row of the time bar shown
    int criticalFrame = 0;                     // 0: the plain bar picture, 1..4 the critical frames
    float freezeLevel = 0;                     // how far the freeze glass has come in, 0.1 steps to 1
    PlayGlow thaw;                             // the glass melting away after a freeze (strength: its level)
    int centreFrame = 0;                       // 0 upright, 1..5 turned
    std::array<Point, kBlockCount> sockets{};  // corners of the 25 sockets
    BoardShape board = BoardShape::Blocks;
    std::vector<PlayBlock> blocks;
    std::vector<PlayBall> balls;
    int64_t score = 0;
    int32_t level = 0;
    std::vector<PlayText> endTexts;  // won or lost, and the bonus line
    std::array<PlayGlow, 18> runeSlots{};
    std::vector<PlayBonusSprite> bonusSprites;  // in drawing order
    std::vector<PlayFlight> flights;
    std::array<PlayGlow, 12> buttonGlows{};                    // strength as drawn (side buttons already less 0.3)
    std::array<std::vector<PlayEffect>, kStripCount> effects;  // Rise, Explode, Level
    std::vector<PlayText> captions;                            // "LEVEL n" while the board fills in
    PlayHintBlock hint;
    PlayBlockCursor cursor;

    bool operator==(const PlayView&) const = default;

    // Back to the upright board with nothing on it, keeping the lists' storage for the next frame.
    void clear();
};

// Where digit i (0 = leftmost) of an n-digit score goes: on a shallow arc over the board. Scores of
// up to six digits use the arc's own places; longer ones keep the arc's spacing, centred on its
// middle, so every digit stays on screen.
Point scoreDigitAt(int digits, int i);

// Where digit i of an n-digit level number goes, under the board.
Point levelDigitAt(int digits, int i);

// The pictures and settings drawing reads.
struct PlayArt {
    const Pictures& pictures;
    const data::GraphicsSettings& gfx;
    SpriteFont font;
};

// What the play screen keeps between frames so as to draw less, with the same pixels:
// - the board's backdrop as the scene, the centre piece and the 25 sockets make it, for the
//   upright board and each frame of a board turn: the square under the centre piece is then one
//   copy instead of the scene's, the centre piece's and the sockets';
// - where the last frame drew outside that square: only those places are put back from the scene.
// It notices new pictures and a new back buffer. Whoever changes sceneSurface's pixels in place
// calls invalidate(); whoever draws into the back buffer between two play frames calls
// forgetBackBuffer().
class PlayBackdrop {
  public:
    void invalidate() {
        entries_.clear();
        forgetBackBuffer();
    }
    void forgetBackBuffer() { backBufferKnown_ = false; }
    // The square for this centre frame and these sockets, made when missing.
    const Surface& square(const PlayView& view, const Pictures& pictures, const Surface& scene);
    // Makes `target` the scene again: wholly, or where the last frame drew when the back buffer
    // has held nothing else since.
    void restore(const Surface& scene, Surface& target);

  private:
    friend void drawPlayView(const PlayView&, const PlayArt&, Display&, PlayBackdrop*);

    struct Entry {
        int centreFrame = 0;
        std::array<Point, kBlockCount> sockets{};
        Surface square;
    };
    struct Sources {
        const uint32_t* scene = nullptr;
        const uint32_t* centre = nullptr;
        const uint32_t* ring = nullptr;
        bool operator==(const Sources&) const = default;
    };
    std::vector<Entry> entries_;
    Sources sources_;
    std::vector<layout::Rect> drawn_;  // what the last frame drew outside the centre square
    bool backBufferKnown_ = false;
    const uint32_t* knownBuffer_ = nullptr;
    const uint32_t* knownScene_ = nullptr;
};

// Draws the play screen of `view` into the back buffer, starting from a copy of sceneSurface. The
// display's block surface is the work area in which blocks are composed. With a backdrop the board's
// static pictures come from it; the pixels are the same.
void drawPlayView(const PlayView& view, const PlayArt& art, Display& display, PlayBackdrop* backdrop = nullptr);

// A level group's intermission: its background and title.
void drawIntermission(int group, std::string_view title, const PlayArt& art, Display& display);

// The rune slots' and the level-start flash's strengths by step 0..7.
inline constexpr std::array<float, kFlashSteps> kRuneGlowStrength = {0.8f, 1.0f, 0.9f, 0.8f, 0.7f, 0.5f, 0.3f, 0.1f};

}  // namespace present
