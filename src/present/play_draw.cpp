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

void copyWhole(const Surface& source, Surface& target) {
    copyRect(source, 0, 0, 0, 0, kScreenWidth, kScreenHeight, target, ColourKey::Ignore);
}

void drawFlash(const PlayView& view, const Pictures& pictures, Surface& target) {
    if (!view.flash.on) return;
    const float a = view.flash.strength;
    for (int w = 0; w < 4; ++w) {
        const PixelImage& word = pictures.image(static_cast<StartupImage>(static_cast<int>(StartupImage::RuneWord1) + w));
        blendBlit(0, 0, layout::kRuneWords[w].x, layout::kRuneWords[w].y, word.width, word.height, word, target, a, 1.0f);
    }
    for (int slot = 0; slot < 18; ++slot) {
        const PixelImage& glow = pictures.image(static_cast<StartupImage>(static_cast<int>(StartupImage::GlowRune01) + slot));
        blendBlit(0, 0, layout::kRuneSlots[slot].x, layout::kRuneSlots[slot].y, glow.width, glow.height, glow, target, a,
                  1.0f);
    }
}

void drawFreezeGlass(const Pictures& pictures, float level, Surface& target) {
    const PixelImage& glass = pictures.image(StartupImage::BarGlassFreeze);
    const layout::Rect& at = layout::kFreezeGlass;
    blendBlit(0, 0, at.x, at.y, at.w, at.h, glass, target, level + 0.1f, 0.9f - level);
}

void drawBars(const PlayView& view, const Pictures& pictures, Surface& target) {
    const Surface& bars = pictures.surface(SurfacePicture::BarsTimeProgress);
    const layout::Rect& progress = layout::kProgressBar;
    copyRect(bars, kBarWidth, view.progressTop, progress.x, progress.y + view.progressTop, kBarWidth,
             kBarHeight - view.progressTop, target, ColourKey::Use);

    const layout::Rect& timeBar = layout::kTimeBar;
    switch (view.timeBar) {
        case TimeBarShape::Frozen: drawFreezeGlass(pictures, view.freezeLevel, target); break;
        case TimeBarShape::Critical:
            if (view.criticalFrame > 0) {
                copyRect(pictures.surface(SurfacePicture::BarCritical), kBarWidth * (view.criticalFrame - 1), view.timeTop,
                         timeBar.x, timeBar.y + view.timeTop, kBarWidth, kBarHeight - view.timeTop, target, ColourKey::Use);
                break;
            }
            [[fallthrough]];
        case TimeBarShape::Bar:
            copyRect(bars, 0, view.timeTop, timeBar.x, timeBar.y + view.timeTop, kBarWidth, kBarHeight - view.timeTop, target,
                     ColourKey::Use);
            break;
    }
    if (view.thaw.on) drawFreezeGlass(pictures, view.thaw.strength, target);
}

// One block composed in the work surface from the Quadro frame of its step and its balls, then
// copied with the key to its place.
void drawBlock(const PlayBlock& block, const Pictures& pictures, Surface& work, Surface& target) {
    copyRect(pictures.surface(SurfacePicture::Quadro), kBlockSide * block.step, 0, 0, 0, kBlockSide, kBlockSide, work,
             ColourKey::Ignore);
    const auto& places = layout::kTurnPositions[static_cast<size_t>(block.step)];
    for (int j = 0; j < 4; ++j) {
        const int colour = block.balls[static_cast<size_t>(j)];
        if (colour == 0) continue;
        copyRect(pictures.balls, kBallSide * (colour - 1), 0, places[static_cast<size_t>(j)].x,
                 places[static_cast<size_t>(j)].y, kBallSide, kBallSide, work, ColourKey::Use);
    }
    copyRect(work, 0, 0, block.at.x, block.at.y, kBlockSide, kBlockSide, target, ColourKey::Use);
}

void drawBoard(const PlayView& view, const Pictures& pictures, Display& display) {
    Surface& target = display.backBuffer;
    copyRect(pictures.surface(SurfacePicture::KeruniteCenter), kCentreSide * view.centreFrame, 0,
             layout::kCentrePiece.x, layout::kCentrePiece.y, kCentreSide, kCentreSide, target, ColourKey::Use);
    const Surface& ring = pictures.surface(SurfacePicture::RingBack);
    for (const Pos& socket : view.sockets) copyRect(ring, 0, 0, socket.x, socket.y, kSocketSide, kSocketSide, target, ColourKey::Use);

    if (view.board == BoardShape::LooseBalls) {
        const Surface& quadro = pictures.surface(SurfacePicture::Quadro);
        for (int i = 0; i < 5; ++i)
            for (int k = 0; k < 5; ++k) {
                const Pos at = layout::blockAt(k, i);
                copyRect(quadro, 0, 0, at.x, at.y, kBlockSide, kBlockSide, target, ColourKey::Use);
            }
        for (const PlayBall& ball : view.balls) {
            if (ball.colour == 0) continue;
            copyRect(pictures.balls, kBallSide * (ball.colour - 1), 0, ball.at.x, ball.at.y, kBallSide, kBallSide, target,
                     ColourKey::Use);
        }
        return;
    }
    // A picture reload makes the work surface anew; without one the blocks cannot be composed.
    if (display.blockSurface.empty()) return;
    for (const PlayBlock& block : view.blocks) drawBlock(block, pictures, display.blockSurface, target);
}

void drawDigits(std::string_view digits, Pos (*place)(int, int), const Surface& font, Surface& target) {
    const int n = static_cast<int>(digits.size());
    for (int i = 0; i < n; ++i) {
        const Pos at = place(n, i);
        copyRect(font, layout::kDigitW * (kFirstDigitGlyph + digits[static_cast<size_t>(i)] - '0'), 0, at.x, at.y,
                 layout::kDigitW, layout::kDigitH, target, ColourKey::Use);
    }
}

void drawNumbers(const PlayView& view, const Pictures& pictures, Surface& target) {
    const Surface& font = pictures.surface(SurfacePicture::FontSprites);
    drawDigits(std::to_string(view.score < 0 ? 0 : view.score), scoreDigitAt, font, target);
    drawDigits(std::to_string(view.level < 0 ? 0 : view.level), levelDigitAt, font, target);
}

void drawTexts(const std::vector<PlayText>& texts, const SpriteFont& font, Surface& target) {
    for (const PlayText& line : texts) drawText(font, 0, line.y, kScreenWidth, line.text, target, line.style);
}

void drawRuneMeter(const PlayView& view, const Pictures& pictures, Surface& target) {
    for (int slot = 0; slot < 18; ++slot) {
        const PlayGlow& glow = view.runeSlots[static_cast<size_t>(slot)];
        if (!glow.on) continue;
        const PixelImage& image = pictures.image(static_cast<StartupImage>(static_cast<int>(StartupImage::GlowRune01) + slot));
        blendBlit(0, 0, layout::kRuneSlots[slot].x, layout::kRuneSlots[slot].y, image.width, image.height, image, target,
                  glow.strength, 1.0f);
    }
}

void drawBonusSprites(const PlayView& view, const PlayArt& art, Surface& target) {
    for (const PlayBonusSprite& sprite : view.bonusSprites) {
        if (sprite.kind < 0 || sprite.kind >= data::kBonusPictureCount) continue;
        const data::BonusLayout& record = art.gfx.bonuses[static_cast<size_t>(sprite.kind)];
        const PixelImage& image = art.pictures.image(static_cast<StartupImage>(static_cast<int>(StartupImage::Bonus1) + sprite.kind));
        // The Universal ball's picture stands in for the ball itself, so it is drawn opaque.
        const float fd = sprite.kind == 3 ? 0.0f : 1.0f;
        blendBlit(sprite.frame * record.frame_width, 0, sprite.at.x - record.center_x, sprite.at.y - record.center_y,
                  record.frame_width, image.height, image, target, 1.0f, fd);
    }
}

void drawFlights(const PlayView& view, const Pictures& pictures, Surface& target) {
    const PixelImage& runes = pictures.image(StartupImage::RotRune);
    for (const PlayFlight& flight : view.flights)
        blendBlit(kFlightRowWidth * flight.pictureRow + kFlightCell * flight.cell, 0, flight.at.x, flight.at.y, kFlightCell,
                  kFlightCell, runes, target, 1.0f, 1.0f);
}

void drawButtonGlows(const PlayView& view, const Pictures& pictures, Surface& target) {
    for (int b = 0; b < 12; ++b) {
        const PlayGlow& glow = view.buttonGlows[static_cast<size_t>(b)];
        if (!glow.on) continue;
        const layout::PlayButton& button = layout::kPlayButtons[static_cast<size_t>(b)];
        if (b >= kSideGlowFirst) {
            blendBlit(button.glowSource.x, button.glowSource.y, button.glowAt.x, button.glowAt.y, layout::kSideGlowCell.x,
                      layout::kSideGlowCell.y, pictures.image(StartupImage::KerunButtonsGlow), target, glow.strength, 1.0f);
            continue;
        }
        // The arrows above and below the board shine from one picture, those beside it from another.
        const bool topBottom = button.rect.w > button.rect.h;
        const PixelImage& shine = pictures.image(topBottom ? StartupImage::ButShineTopBottom : StartupImage::ButShineLeftRight);
        blendBlit(button.glowSource.x, button.glowSource.y, button.rect.x, button.rect.y, button.rect.w, button.rect.h, shine,
                  target, glow.strength, 1.0f);
    }
}

void drawEffects(const PlayView& view, const PlayArt& art, Surface& target) {
    for (int s = 0; s < kStripCount; ++s) {
        const data::AnimationSettings& settings = art.gfx.strips[static_cast<size_t>(s)];
        const AnimationStrip& strip = art.pictures.strip(static_cast<Strip>(s));
        const int w = settings.frame_width;
        if (w <= 0) continue;
        for (const PlayEffect& effect : view.effects[static_cast<size_t>(s)]) {
            const Pos cell = layout::effectAt(effect.column, effect.row);
            const int x = cell.x - settings.center_x, y = cell.y - settings.center_y;
            if (settings.type == 0)
                copyRect(strip.surface, effect.frame * w, 0, x, y, w, strip.height, target, ColourKey::Use);
            else
                blendBlit(effect.frame * w, 0, x, y, w, strip.height, strip.image, target, settings.transparencyS,
                          settings.transparencyD);
        }
    }
}

}  // namespace

void PlayView::clear() {
    blocks.clear();
    balls.clear();
    endTexts.clear();
    bonusSprites.clear();
    flights.clear();
    for (auto& queue : effects) queue.clear();
    captions.clear();
}

Pos scoreDigitAt(int digits, int i) {
    if (digits > 6) {
        // The arc's middle lies between x 400 and 401, at the height of its top places.
        const int width = kDigitPitch * digits - 1;
        return {400 - width / 2 + kDigitPitch * i, layout::kScoreDigitsOdd[2].y};
    }
    const int entry = digits / 2 + 2 - (digits - 1 - i);
    return digits % 2 == 0 ? layout::kScoreDigitsEven[static_cast<size_t>(entry)]
                           : layout::kScoreDigitsOdd[static_cast<size_t>(entry)];
}

Pos levelDigitAt(int digits, int i) {
    if (digits == 1) return layout::kLevelOneDigit;
    if (digits == 2) return layout::kLevelTwoDigits[static_cast<size_t>(i)];
    const int width = kDigitPitch * digits - 1;
    return {400 - width / 2 + kDigitPitch * i, layout::kLevelOneDigit.y};
}

void drawPlayView(const PlayView& view, const PlayArt& art, Display& display) {
    Surface& target = display.backBuffer;
    if (target.empty()) return;
    copyWhole(display.sceneSurface, target);
    drawFlash(view, art.pictures, target);
    drawBars(view, art.pictures, target);
    drawBoard(view, art.pictures, display);
    drawNumbers(view, art.pictures, target);
    drawTexts(view.endTexts, art.font, target);
    drawRuneMeter(view, art.pictures, target);
    drawBonusSprites(view, art, target);
    drawFlights(view, art.pictures, target);
    drawButtonGlows(view, art.pictures, target);
    drawEffects(view, art, target);
    drawTexts(view.captions, art.font, target);
}

void drawIntermission(int group, std::string_view title, const PlayArt& art, Display& display) {
    const int background = static_cast<int>(SurfacePicture::Background1) + std::clamp(group, 0, 4);
    copyWhole(art.pictures.surface(static_cast<SurfacePicture>(background)), display.backBuffer);
    drawText(art.font, 0, layout::kLevelTextY, kScreenWidth, title, display.backBuffer, FontNormal);
}

}  // namespace present
