#include "present/play_draw.hpp"

#include <algorithm>

#include "present/blitter.hpp"

namespace present {

namespace {

using layout::kBallSide;
using layout::kBlockSide;
using layout::kSocketSide;

constexpr int kBarWidth = 51;
constexpr int kBarHeight = 270;
constexpr int kCentreSide = 448;
constexpr int kFirstDigitGlyph = 52;  // digit d is glyph 52 + d of the sprite font's strip
constexpr int kDigitPitch = 16;       // the arc's places are 16 pixels apart
constexpr int kFlightCell = 27;
constexpr int kFlightRowWidth = 7 * kFlightCell;
constexpr int kSideGlowFirst = 8;

// The back buffer as the play screen draws into it, noting every rectangle it draws over so that
// the next frame restores only those from the scene.
class Canvas {
  public:
    Canvas(Surface& target, std::vector<layout::Rect>* drawn) : target_(target), drawn_(drawn) {}

    void copy(const Surface& source, int sx, int sy, int dx, int dy, int w, int h) {
        if (copyRect(source, sx, sy, dx, dy, w, h, target_, ColourKey::Use)) note({dx, dy, w, h});
    }
    void blend(const PixelImage& source, int sx, int sy, int dx, int dy, int w, int h, float fs, float fd) {
        if (source.empty()) return;
        blendBlit(sx, sy, dx, dy, w, h, source, target_, fs, fd);
        note({dx, dy, w, h});
    }
    void text(const SpriteFont& font, int y, std::string_view line, int style) {
        drawText(font, 0, y, kScreenWidth, line, target_, style);
        // Glyphs of the glow style reach 6 pixels above and 9 below the line.
        note({0, y - 6, kScreenWidth, kGlowCellHeight});
    }
    void outline(layout::Rect r, int thickness, uint32_t colour) {
        drawOutline(r.x, r.y, r.w, r.h, thickness, colour, target_);
        note(r);
    }
    Surface& target() { return target_; }

  private:
    void note(layout::Rect r) {
        if (drawn_ != nullptr && r.w > 0 && r.h > 0) drawn_->push_back(r);
    }
    Surface& target_;
    std::vector<layout::Rect>* drawn_;
};

void copyWhole(const Surface& source, Surface& target) {
    copyRect(source, 0, 0, 0, 0, kScreenWidth, kScreenHeight, target, ColourKey::Ignore);
}

void drawFlash(const PlayView& view, const Pictures& pictures, Canvas& canvas) {
    if (!view.flash.on) return;
    const float a = view.flash.strength;
    for (int w = 0; w < 4; ++w) {
        const PixelImage& word = pictures.image(static_cast<StartupImage>(static_cast<int>(StartupImage::RuneWord1) + w));
        canvas.blend(word, 0, 0, layout::kRuneWords[w].x, layout::kRuneWords[w].y, word.width, word.height, a, 1.0f);
    }
    for (int slot = 0; slot < 18; ++slot) {
        const PixelImage& glow = pictures.image(static_cast<StartupImage>(static_cast<int>(StartupImage::GlowRune01) + slot));
        canvas.blend(glow, 0, 0, layout::kRuneSlots[slot].x, layout::kRuneSlots[slot].y, glow.width, glow.height, a, 1.0f);
    }
}

void drawFreezeGlass(const Pictures& pictures, float level, Canvas& canvas) {
    const PixelImage& glass = pictures.image(StartupImage::BarGlassFreeze);
    const layout::Rect& at = layout::kFreezeGlass;
    canvas.blend(glass, 0, 0, at.x, at.y, at.w, at.h, level + 0.1f, 0.9f - level);
}

void drawBars(const PlayView& view, const Pictures& pictures, Canvas& canvas) {
    const Surface& bars = pictures.surface(SurfacePicture::BarsTimeProgress);
    const layout::Rect& progress = layout::kProgressBar;
    canvas.copy(bars, kBarWidth, view.progressTop, progress.x, progress.y + view.progressTop, kBarWidth,
                kBarHeight - view.progressTop);

    const layout::Rect& timeBar = layout::kTimeBar;
    switch (view.timeBar) {
        case TimeBarShape::Frozen: drawFreezeGlass(pictures, view.freezeLevel, canvas); break;
        case TimeBarShape::Critical:
            if (view.criticalFrame > 0) {
                canvas.copy(pictures.surface(SurfacePicture::BarCritical), kBarWidth * (view.criticalFrame - 1), view.timeTop,
                            timeBar.x, timeBar.y + view.timeTop, kBarWidth, kBarHeight - view.timeTop);
                break;
            }
            [[fallthrough]];
        case TimeBarShape::Bar:
            canvas.copy(bars, 0, view.timeTop, timeBar.x, timeBar.y + view.timeTop, kBarWidth, kBarHeight - view.timeTop);
            break;
    }
    if (view.thaw.on) drawFreezeGlass(pictures, view.thaw.strength, canvas);
}

// A ball's pixels in the work surface lightened towards white by `strength` (its key pixels, the
// socket around it, stay as they are).
void lightenBall(const Surface& balls, int colour, Point at, float strength, Surface& work) {
    const int sx = kBallSide * (colour - 1);
    if (sx < 0 || sx + kBallSide > balls.width || balls.height < kBallSide) return;
    const int x0 = std::max(at.x, 0), y0 = std::max(at.y, 0);
    const int x1 = std::min(at.x + kBallSide, work.width), y1 = std::min(at.y + kBallSide, work.height);
    const auto lighten = [strength](uint32_t c, int shift) {
        const auto v = static_cast<float>(c >> shift & 0xFF);
        return static_cast<uint32_t>(v + (255.0f - v) * strength) << shift;
    };
    for (int y = y0; y < y1; ++y) {
        const uint32_t* ball = balls.row(y - at.y) + sx;
        uint32_t* out = work.row(y);
        for (int x = x0; x < x1; ++x) {
            if ((ball[x - at.x] & kColourMask) == balls.keyColour()) continue;
            const uint32_t c = out[x];
            out[x] = (c & 0xFF000000) | lighten(c, 16) | lighten(c, 8) | lighten(c, 0);
        }
    }
}

// One block composed in the work surface from the Quadro frame of its step and its balls, then
// copied with the key to its place. A hinted block's balls are lightened by the hint's pulse.
void drawBlock(const PlayBlock& block, float lightening, const Pictures& pictures, Surface& work, Canvas& canvas) {
    copyRect(pictures.surface(SurfacePicture::Quadro), kBlockSide * block.step, 0, 0, 0, kBlockSide, kBlockSide, work,
             ColourKey::Ignore);
    const auto& places = layout::kTurnPositions[static_cast<size_t>(block.step)];
    const Surface& balls = pictures.ballsShown();
    for (int j = 0; j < 4; ++j) {
        const int colour = block.balls[static_cast<size_t>(j)];
        if (colour == 0) continue;
        const Point at = places[static_cast<size_t>(j)];
        copyRect(balls, kBallSide * (colour - 1), 0, at.x, at.y, kBallSide, kBallSide, work, ColourKey::Use);
        if (lightening > 0) lightenBall(balls, colour, at, lightening, work);
    }
    canvas.copy(work, 0, 0, block.at.x, block.at.y, kBlockSide, kBlockSide);
}

// The centre piece and the sockets over them, within `clip` of the picture, into a target whose
// corner is the picture's point `origin`.
void drawCentreAndSockets(const PlayView& view, const Pictures& pictures, const layout::Rect& clip, Surface& target,
                          Point origin = {0, 0}) {
    const layout::Rect& centre = layout::kCentrePiece;
    const auto piece = [&](const Surface& source, int sourceX, Point at, int w, int h) {
        const int x0 = std::max(at.x, clip.x), y0 = std::max(at.y, clip.y);
        const int x1 = std::min(at.x + w, clip.x + clip.w), y1 = std::min(at.y + h, clip.y + clip.h);
        if (x0 >= x1 || y0 >= y1) return;
        copyRect(source, sourceX + x0 - at.x, y0 - at.y, x0 - origin.x, y0 - origin.y, x1 - x0, y1 - y0, target, ColourKey::Use);
    };
    piece(pictures.surface(SurfacePicture::KeruniteCenter), kCentreSide * view.centreFrame, {centre.x, centre.y}, kCentreSide,
          kCentreSide);
    const Surface& ring = pictures.surface(SurfacePicture::RingBack);
    for (const Point& socket : view.sockets) piece(ring, 0, socket, kSocketSide, kSocketSide);
}

constexpr layout::Rect kWholePicture = {0, 0, kScreenWidth, kScreenHeight};

// Where the bars and the freeze glass reach under the centre piece: drawn after the backdrop, they
// are covered again by the centre piece and sockets there, as if drawn before them.
constexpr std::array<layout::Rect, 2> kUnderCentre = {{{176, 159, 215 - 176, 465 - 159}, {591, 165, 624 - 591, 435 - 165}}};

void drawBoard(const PlayView& view, const Pictures& pictures, Display& display, bool backdropDrawn, Canvas& canvas) {
    Surface& target = canvas.target();
    if (backdropDrawn) {
        for (const layout::Rect& strip : kUnderCentre) drawCentreAndSockets(view, pictures, strip, target);
    } else {
        drawCentreAndSockets(view, pictures, kWholePicture, target);
    }

    if (view.board == BoardShape::LooseBalls) {
        const Surface& quadro = pictures.surface(SurfacePicture::Quadro);
        for (int i = 0; i < 5; ++i)
            for (int k = 0; k < 5; ++k) {
                const Point at = layout::blockAt(k, i);
                canvas.copy(quadro, 0, 0, at.x, at.y, kBlockSide, kBlockSide);
            }
        for (const PlayBall& ball : view.balls) {
            if (ball.colour == 0) continue;
            canvas.copy(pictures.ballsShown(), kBallSide * (ball.colour - 1), 0, ball.at.x, ball.at.y, kBallSide, kBallSide);
        }
        return;
    }
    // A picture reload makes the work surface anew; without one the blocks cannot be composed.
    if (display.blockSurface.empty()) return;
    const PlayHintBlock& hint = view.hint;
    const Point hinted = layout::blockAt(hint.column, hint.row);
    for (const PlayBlock& block : view.blocks) {
        const bool lit = hint.on && block.at == hinted;
        drawBlock(block, lit ? hint.strength : 0.0f, pictures, display.blockSurface, canvas);
    }
}

void drawDigits(std::string_view digits, Point (*place)(int, int), const Surface& font, Canvas& canvas) {
    const int n = static_cast<int>(digits.size());
    for (int i = 0; i < n; ++i) {
        const Point at = place(n, i);
        canvas.copy(font, layout::kDigitW * (kFirstDigitGlyph + digits[static_cast<size_t>(i)] - '0'), 0, at.x, at.y,
                    layout::kDigitW, layout::kDigitH);
    }
}

void drawNumbers(const PlayView& view, const Pictures& pictures, Canvas& canvas) {
    const Surface& font = pictures.surface(SurfacePicture::FontSprites);
    drawDigits(std::to_string(view.score < 0 ? 0 : view.score), scoreDigitAt, font, canvas);
    drawDigits(std::to_string(view.level < 0 ? 0 : view.level), levelDigitAt, font, canvas);
}

void drawTexts(const std::vector<PlayText>& texts, const SpriteFont& font, Canvas& canvas) {
    for (const PlayText& line : texts) canvas.text(font, line.y, line.text, line.style);
}

void drawRuneMeter(const PlayView& view, const Pictures& pictures, Canvas& canvas) {
    for (int slot = 0; slot < 18; ++slot) {
        const PlayGlow& glow = view.runeSlots[static_cast<size_t>(slot)];
        if (!glow.on) continue;
        const PixelImage& image = pictures.image(static_cast<StartupImage>(static_cast<int>(StartupImage::GlowRune01) + slot));
        canvas.blend(image, 0, 0, layout::kRuneSlots[slot].x, layout::kRuneSlots[slot].y, image.width, image.height,
                     glow.strength, 1.0f);
    }
}

void drawBonusSprites(const PlayView& view, const PlayArt& art, Canvas& canvas) {
    for (const PlayBonusSprite& sprite : view.bonusSprites) {
        if (sprite.kind < 0 || sprite.kind >= data::kBonusPictureCount) continue;
        const data::BonusLayout& record = art.gfx.bonuses[static_cast<size_t>(sprite.kind)];
        const PixelImage& image =
            art.pictures.image(static_cast<StartupImage>(static_cast<int>(StartupImage::Bonus1) + sprite.kind));
        // The Universal ball's picture stands in for the ball itself, so it is drawn opaque.
        const float fd = sprite.kind == 3 ? 0.0f : 1.0f;
        canvas.blend(image, sprite.frame * record.frame_width, 0, sprite.at.x - record.center_x, sprite.at.y - record.center_y,
                     record.frame_width, image.height, 1.0f, fd);
    }
}

void drawFlights(const PlayView& view, const Pictures& pictures, Canvas& canvas) {
    const PixelImage& runes = pictures.image(StartupImage::RotRune);
    for (const PlayFlight& flight : view.flights)
        canvas.blend(runes, kFlightRowWidth * flight.pictureRow + kFlightCell * flight.cell, 0, flight.at.x, flight.at.y,
                     kFlightCell, kFlightCell, 1.0f, 1.0f);
}

void drawButtonGlows(const PlayView& view, const Pictures& pictures, Canvas& canvas) {
    for (int b = 0; b < 12; ++b) {
        const PlayGlow& glow = view.buttonGlows[static_cast<size_t>(b)];
        if (!glow.on) continue;
        const layout::PlayButton& button = layout::kPlayButtons[static_cast<size_t>(b)];
        if (b >= kSideGlowFirst) {
            canvas.blend(pictures.image(StartupImage::KerunButtonsGlow), button.glowSource.x, button.glowSource.y,
                         button.glowAt.x, button.glowAt.y, layout::kSideGlowCell.x, layout::kSideGlowCell.y, glow.strength, 1.0f);
            continue;
        }
        // The arrows above and below the board shine from one picture, those beside it from another.
        const bool topBottom = button.rect.w > button.rect.h;
        const PixelImage& shine = pictures.image(topBottom ? StartupImage::ButShineTopBottom : StartupImage::ButShineLeftRight);
        canvas.blend(shine, button.glowSource.x, button.glowSource.y, button.rect.x, button.rect.y, button.rect.w, button.rect.h,
                     glow.strength, 1.0f);
    }
}

void drawEffects(const PlayView& view, const PlayArt& art, Canvas& canvas) {
    for (int s = 0; s < kStripCount; ++s) {
        const data::AnimationSettings& settings = art.gfx.strips[static_cast<size_t>(s)];
        const AnimationStrip& strip = art.pictures.strip(static_cast<Strip>(s));
        const int w = settings.frame_width;
        if (w <= 0) continue;
        for (const PlayEffect& effect : view.effects[static_cast<size_t>(s)]) {
            const Point cell = layout::effectAt(effect.column, effect.row);
            const int x = cell.x - settings.center_x, y = cell.y - settings.center_y;
            if (settings.type == 0)
                canvas.copy(strip.surface, effect.frame * w, 0, x, y, w, strip.height);
            else
                canvas.blend(strip.image, effect.frame * w, 0, x, y, w, strip.height, settings.transparencyS,
                             settings.transparencyD);
        }
    }
}

}  // namespace

void PlayView::clear() {
    board = BoardShape::Blocks;
    blocks.clear();
    balls.clear();
    endTexts.clear();
    bonusSprites.clear();
    flights.clear();
    for (auto& queue : effects) queue.clear();
    captions.clear();
    hint = {};
    cursor = {};
}

Point scoreDigitAt(int digits, int i) {
    if (digits > 6) {
        // The arc's middle lies between x 400 and 401, at the height of its top places.
        const int width = kDigitPitch * digits - 1;
        return {400 - width / 2 + kDigitPitch * i, layout::kScoreDigitsOdd[2].y};
    }
    const int entry = digits / 2 + 2 - (digits - 1 - i);
    return digits % 2 == 0 ? layout::kScoreDigitsEven[static_cast<size_t>(entry)]
                           : layout::kScoreDigitsOdd[static_cast<size_t>(entry)];
}

Point levelDigitAt(int digits, int i) {
    if (digits == 1) return layout::kLevelOneDigit;
    if (digits == 2) return layout::kLevelTwoDigits[static_cast<size_t>(i)];
    const int width = kDigitPitch * digits - 1;
    return {400 - width / 2 + kDigitPitch * i, layout::kLevelOneDigit.y};
}

const Surface& PlayBackdrop::square(const PlayView& view, const Pictures& pictures, const Surface& scene) {
    const Sources now{scene.pixels.data(), pictures.surface(SurfacePicture::KeruniteCenter).pixels.data(),
                      pictures.surface(SurfacePicture::RingBack).pixels.data()};
    if (!(now == sources_)) {
        entries_.clear();
        sources_ = now;
    }
    const auto sameSockets = [&](const Entry& entry) {
        for (size_t i = 0; i < entry.sockets.size(); ++i)
            if (entry.sockets[i].x != view.sockets[i].x || entry.sockets[i].y != view.sockets[i].y) return false;
        return true;
    };
    for (const Entry& entry : entries_)
        if (entry.centreFrame == view.centreFrame && sameSockets(entry)) return entry.square;
    // The upright board and five frames of a turn each way.
    constexpr size_t kMostEntries = 11;
    if (entries_.size() >= kMostEntries) entries_.erase(entries_.begin());
    const layout::Rect& centre = layout::kCentrePiece;
    Entry entry{view.centreFrame, view.sockets, Surface::create(centre.w, centre.h)};
    copyRect(scene, centre.x, centre.y, 0, 0, centre.w, centre.h, entry.square, ColourKey::Ignore);
    drawCentreAndSockets(view, pictures, centre, entry.square, {centre.x, centre.y});
    entries_.push_back(std::move(entry));
    return entries_.back().square;
}

void PlayBackdrop::restore(const Surface& scene, Surface& target) {
    const layout::Rect& c = layout::kCentrePiece;
    const bool known = backBufferKnown_ && knownBuffer_ == target.pixels.data() && knownScene_ == scene.pixels.data();
    if (!known) {
        copyWhole(scene, target);
    } else {
        // Only what the last frame drew outside the centre square is put back; the square is
        // drawn whole every frame.
        const auto back = [&](int x0, int y0, int x1, int y1) {
            if (x0 < x1 && y0 < y1) copyRect(scene, x0, y0, x0, y0, x1 - x0, y1 - y0, target, ColourKey::Ignore);
        };
        for (const layout::Rect& r : drawn_) {
            const int x0 = std::max(r.x, 0), y0 = std::max(r.y, 0);
            const int x1 = std::min(r.x + r.w, kScreenWidth), y1 = std::min(r.y + r.h, kScreenHeight);
            back(x0, y0, x1, std::min(y1, c.y));
            back(x0, std::max(y0, c.y + c.h), x1, y1);
            const int my0 = std::max(y0, c.y), my1 = std::min(y1, c.y + c.h);
            back(x0, my0, std::min(x1, c.x), my1);
            back(std::max(x0, c.x + c.w), my0, x1, my1);
        }
    }
    drawn_.clear();
    backBufferKnown_ = true;
    knownBuffer_ = target.pixels.data();
    knownScene_ = scene.pixels.data();
}

void drawPlayView(const PlayView& view, const PlayArt& art, Display& display, PlayBackdrop* backdrop) {
    Surface& target = display.backBuffer;
    if (target.empty()) return;
    const Surface& scene = display.sceneSurface;
    // The flash lies under the centre piece: its frames are drawn in the plain order.
    const bool useBackdrop = backdrop != nullptr && !view.flash.on && !scene.empty();
    if (useBackdrop) {
        const layout::Rect& c = layout::kCentrePiece;
        const Surface& square = backdrop->square(view, art.pictures, scene);
        backdrop->restore(scene, target);
        copyRect(square, 0, 0, c.x, c.y, c.w, c.h, target, ColourKey::Ignore);
    } else {
        copyWhole(scene, target);
        if (backdrop != nullptr) backdrop->forgetBackBuffer();
    }
    Canvas canvas(target, useBackdrop ? &backdrop->drawn_ : nullptr);
    drawFlash(view, art.pictures, canvas);
    drawBars(view, art.pictures, canvas);
    drawBoard(view, art.pictures, display, useBackdrop, canvas);
    if (view.cursor.on) {
        const Point at = layout::blockAt(view.cursor.column, view.cursor.row);
        canvas.outline({at.x, at.y, layout::kBlockSide, layout::kBlockSide}, 3, kFocusFrameColour);
    }
    drawNumbers(view, art.pictures, canvas);
    drawTexts(view.endTexts, art.font, canvas);
    drawRuneMeter(view, art.pictures, canvas);
    drawBonusSprites(view, art, canvas);
    drawFlights(view, art.pictures, canvas);
    drawButtonGlows(view, art.pictures, canvas);
    drawEffects(view, art, canvas);
    drawTexts(view.captions, art.font, canvas);
}

void drawIntermission(int group, std::string_view title, const PlayArt& art, Display& display) {
    const int background = static_cast<int>(SurfacePicture::Background1) + std::clamp(group, 0, 4);
    copyWhole(art.pictures.surface(static_cast<SurfacePicture>(background)), display.backBuffer);
    drawText(art.font, 0, layout::kLevelTextY, kScreenWidth, title, display.backBuffer, FontNormal);
}

}  // namespace present
