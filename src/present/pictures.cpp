#include "present/pictures.hpp"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>

namespace present {

namespace {

constexpr int64_t M = kMagentaKey;
constexpr int64_t None = kNoColourKey;

constexpr std::string_view kBallTemplatePath = "gfx//Ball.png";
constexpr std::string_view kSymbolsPath = "gfx/symbols.png";
constexpr std::string_view kBrandingPath = "gfx//logo//trader.ini";
constexpr std::string_view kPartnerLogoPath = "gfx//logo//partnerLogo.bmp";

constexpr int kBallSide = 20;
constexpr int kBallColours = 7;
constexpr uint32_t kOpaqueMagenta = 0xFFFF00FF;
constexpr uint32_t kNoKey = 0xFFFFFFFF;  // no colour bytes compare equal to it

// Only the start of the branding file matters: eleven short lines.
constexpr size_t kBrandingReadLimit = 64 * 1024;
// Each line was read into an 80-byte buffer, so its first 79 characters count.
constexpr size_t kBrandingLineLimit = 79;
constexpr int kBrandingLines = 11;

constexpr std::array<std::string_view, 14> kFixedStartupPaths = {
    "gfx//Bar_Glass_Freeze.PNG",
    "gfx//Kerun_Buttons_Glow.png",
    "gfx//ButShine_TopBottom.png",
    "gfx//ButShine_LeftRight.png",
    "gfx//Font_Glow.png",
    "gfx//Menu//But_Big_Glow.png",
    "gfx//Menu//But_Small_Glow.png",
    "gfx//Menu//Layer_All.png",
    "gfx//bonuses//3Ball 15x15.png",
    "gfx//bonuses//Color_Explode 19x19.png",
    "gfx//bonuses//Snowy 15x17.png",
    "gfx//bonuses//MultiColor 9x12.png",
    "gfx//bonuses//Plus 6x6.png",
    "gfx//runes//FINAL.png",
};

// A decimal number at the start of a line, after blanks, with an optional sign; 0 without digits.
int32_t leadingInteger(std::string_view line) {
    size_t i = 0;
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    bool negative = false;
    if (i < line.size() && (line[i] == '-' || line[i] == '+')) negative = line[i++] == '-';
    int64_t value = 0;
    for (; i < line.size() && line[i] >= '0' && line[i] <= '9'; ++i)
        value = std::min<int64_t>(value * 10 + (line[i] - '0'), int64_t{1} << 31);
    value = negative ? -value : value;
    return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

bool flagLine(std::string_view line) { return !line.empty() && line[0] != '0'; }

void loadStrips(PictureJob& job) {
    for (int i = 0; i < kStripCount; ++i) {
        AnimationStrip& strip = job.pictures.strips[static_cast<size_t>(i)];
        strip = AnimationStrip{};
        bool loaded = false;
        if (job.stripTypes[static_cast<size_t>(i)] != 0) {
            loaded = job.loader.loadPixelImage(kStripPaths[static_cast<size_t>(i)], strip.image);
        } else {
            strip.surface = job.loader.loadSurfacePicture(kStripPaths[static_cast<size_t>(i)], kBlackKey);
            loaded = !strip.surface.empty();
        }
        // A strip that did not load keeps no size, so nothing is ever cut from a missing picture.
        strip.width = loaded ? job.loader.lastLoadedWidth() : 0;
        strip.height = loaded ? job.loader.lastLoadedHeight() : 0;
    }
}

void loadBranding(PictureLoader& loader, Pictures& pictures) {
    std::ifstream in(loader.folder().resolve(kBrandingPath), std::ios::binary);
    if (!in) return;  // no file: everything keeps its earlier value
    std::string text(kBrandingReadLimit, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<size_t>(in.gcount()));

    pictures.branding = parseBranding(text);
    pictures.partnerLogo = Surface{};
    pictures.partnerLogoImage.clear();
    if (pictures.branding.logoIsSurface)
        pictures.partnerLogo = loader.loadSurfacePicture(kPartnerLogoPath, M);
    else
        loader.loadPixelImage(kPartnerLogoPath, pictures.partnerLogoImage);
}

}  // namespace

// clang-format off
const std::array<SurfacePictureEntry, kSurfacePictureCount> kSurfacePictures = {{
    {"gfx//logo//Game_Logo.png", M},
    {"gfx//menu//menu.jpg", None},
    {"gfx//backgrounds//background1.jpg", None},
    {"gfx//backgrounds//background2.jpg", None},
    {"gfx//backgrounds//background3.jpg", None},
    {"gfx//backgrounds//background4.jpg", None},
    {"gfx//backgrounds//background5.jpg", None},
    {"gfx//Quadro.png", M},
    {"gfx//Kerunite Center.png", M},
    {"gfx//MainKerun_LeftRight.png", M},
    {"gfx//MainKerun_TopBottom.png", M},
    {"gfx//MainKerun_LeftRight_But.png", M},
    {"gfx//Bars_TimeProgress.png", M},
    {"gfx//Bar_Critical.png", M},
    {"gfx//Kerun_Buttons.png", M},
    {"gfx//Font_Sprites.png", M},
    {"gfx//Font_Sprites_White.png", M},
    {"gfx//Ring_Back.png", M},
    {"gfx//Menu//But_Big_Glass.png", M},
    {"gfx//Menu//But_Small_Glass.png", M},
    {"gfx//Menu//But_Big_Border.png", M},
    {"gfx//Menu//But_Small_Border.png", M},
    {"gfx//Menu//Ramka_All.png", M},
    {"gfx//Menu//CurPlayerCursor.png", M},
    {"gfx//Menu//Ramka//But_ActPzlStrMode_Border.PNG", M},
    {"gfx//Menu//Ramka//But_ChsPlayer_Border.PNG", M},
    {"gfx//Menu//Ramka//But_HScoreExit_Border.PNG", M},
    {"gfx//Menu//Ramka//But_OptionsHelp_Border.PNG", M},
    {"gfx//menu//but_name//But_NextName.PNG", M},
    {"gfx//menu//but_name//But_NextName_Glow.PNG", M},
    {"gfx//menu//but_name//But_NextName_Pressed.PNG", M},
    {"gfx//menu//but_name//But_PrevName.PNG", M},
    {"gfx//menu//but_name//But_PrevName_Glow.PNG", M},
    {"gfx//menu//but_name//But_PrevName_Pressed.PNG", M},
    {"gfx//Menu//Enter_Name_Border.PNG", M},
    {"gfx//Logo//Small_Logo.png", M},
    {"gfx//Menu//Menu_Slider.PNG", M},
    {"gfx//Menu//Slider.PNG", M},
    {"gfx//Help//Cursor.png", M},
    {"gfx//Help//Line_Help_Horiz.png", M},
    {"gfx//Help//But.png", M},
    {"gfx//Help//CheckBox_Check.png", M},
    {"gfx//Help//CheckBox_Base.png", M},
    {"gfx//Help//Small_Bars.png", M},
    {"gfx//Help//Mouse0.png", M},
    {"gfx//Help//Mouse1.png", M},
    {"gfx//Help//Mouse2.png", M},
}};
// clang-format on

std::string startupImagePath(StartupImage id) {
    const int index = static_cast<int>(id);
    char path[64];
    if (index < static_cast<int>(StartupImage::RuneWord1)) return std::string(kFixedStartupPaths[static_cast<size_t>(index)]);
    if (index <= static_cast<int>(StartupImage::RuneWord4)) {
        std::snprintf(path, sizeof path, "gfx//runes//RuneWord %d.png", index - static_cast<int>(StartupImage::RuneWord1) + 1);
        return path;
    }
    if (index <= static_cast<int>(StartupImage::GlowRune18)) {
        const int n = index - static_cast<int>(StartupImage::GlowRune01) + 1;
        std::snprintf(path, sizeof path, "gfx//runes//Glow_Rune %d%d.png", n / 10, n % 10);
        return path;
    }
    return "gfx//runes//Rot_Rune.png";
}

PartnerBranding parseBranding(std::string_view text) {
    std::array<std::string_view, kBrandingLines> lines{};
    for (int i = 0; i < kBrandingLines && !text.empty(); ++i) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines[static_cast<size_t>(i)] = line.substr(0, kBrandingLineLimit);
    }
    PartnerBranding b;
    b.logoIsSurface = flagLine(lines[0]);
    b.logoX = leadingInteger(lines[1]);
    b.logoY = leadingInteger(lines[2]);
    b.logoWidth = leadingInteger(lines[3]);
    b.logoHeight = leadingInteger(lines[4]);
    b.logoScreenFirstPhase = flagLine(lines[5]);
    b.showPartnerLogo = flagLine(lines[6]);
    b.smallLogoX = leadingInteger(lines[7]);
    b.smallLogoY = leadingInteger(lines[8]);
    b.smallLogoWidth = leadingInteger(lines[9]);
    b.smallLogoHeight = leadingInteger(lines[10]);
    return b;
}

int tintValue(int colour, int shading) {
    const double c = std::clamp(colour, 0, 255), v = std::clamp(shading, 0, 255);
    return static_cast<int>(0.4 * c + 0.6 * v);
}

Surface tintBalls(const PixelImage& ballTemplate, const std::array<rules::ColourTint, 8>& colorTints) {
    if (ballTemplate.width < 2 * kBallSide || ballTemplate.height < kBallSide) return {};
    Surface balls = createSurface(kBallSide * kBallColours, kBallSide, M);
    if (balls.empty()) return balls;
    // The table of every colour over every shading is made once per reload.
    std::array<std::array<uint8_t, 256>, 256> tint;
    for (int c = 0; c < 256; ++c)
        for (int v = 0; v < 256; ++v)
            tint[static_cast<size_t>(c)][static_cast<size_t>(v)] = static_cast<uint8_t>(tintValue(c, v));

    for (int k = 0; k < kBallColours; ++k) {
        const rules::ColourTint& t = colorTints[static_cast<size_t>(k + 1)];
        const auto& red = tint[std::min<uint16_t>(t.red, 255)];
        const auto& green = tint[std::min<uint16_t>(t.green, 255)];
        const auto& blue = tint[std::min<uint16_t>(t.blue, 255)];
        for (int y = 0; y < kBallSide; ++y) {
            uint32_t* out = balls.row(y) + kBallSide * k;
            for (int x = 0; x < kBallSide; ++x) {
                const uint32_t shape = ballTemplate.at(kBallSide + x, y);
                // Only fully opaque magenta stays the key colour; every other shape pixel is ball.
                if (shape == kOpaqueMagenta) {
                    out[x] = shape;
                    continue;
                }
                const uint32_t shade = ballTemplate.at(x, y);
                out[x] = (shape & 0xFF000000) | uint32_t{red[shade >> 16 & 0xFF]} << 16 |
                         uint32_t{green[shade >> 8 & 0xFF]} << 8 | blue[shade & 0xFF];
            }
        }
    }
    return balls;
}

Surface composeSymbolBalls(const Surface& balls, const PixelImage& symbols) {
    Surface out = balls;
    if (out.empty() || symbols.width < out.width || symbols.height < out.height) return out;
    const uint32_t key = out.hasColourKey() ? out.keyColour() : kNoKey;
    for (int y = 0; y < out.height; ++y) {
        uint32_t* row = out.row(y);
        for (int x = 0; x < out.width; ++x) {
            const uint32_t ball = row[x], symbol = symbols.at(x, y), alpha = symbol >> 24;
            if (alpha == 0 || (ball & kColourMask) == key) continue;
            uint32_t laid = ball & 0xFF000000;
            for (int shift = 0; shift <= 16; shift += 8)
                laid |= (((symbol >> shift & 0xFF) * alpha + (ball >> shift & 0xFF) * (255 - alpha) + 127) / 255) << shift;
            // A ball pixel that turned into the key would be a hole in the ball.
            if ((laid & kColourMask) == key) laid ^= 1;
            row[x] = laid;
        }
    }
    return out;
}

void reloadPictures(PictureJob& job) {
    if (job.windowed && !windowedModeSupported(job.loader.platform())) {
        job.windowed = false;
        job.display.windowedRefused = true;
        switchWindowMode(job);
        return;
    }
    createWorkSurfaces(job.display);

    Pictures& pictures = job.pictures;
    for (int i = 0; i < kSurfacePictureCount; ++i) {
        const SurfacePictureEntry& entry = kSurfacePictures[static_cast<size_t>(i)];
        pictures.surfaces[static_cast<size_t>(i)] = job.loader.loadSurfacePicture(entry.path, entry.colourKey);
    }
    loadStrips(job);

    PixelImage ballTemplate;
    pictures.balls =
        job.loader.loadPixelImage(kBallTemplatePath, ballTemplate) ? tintBalls(ballTemplate, job.colorTints) : Surface{};
    // The symbols are an extra: a folder without them plays with plain balls, and no beep says so.
    const std::optional<PixelImage> symbols = decodePicture(job.loader.folder().resolve(kSymbolsPath));
    pictures.symbolBalls = composeSymbolBalls(pictures.balls, symbols ? *symbols : PixelImage{});
    loadBranding(job.loader, pictures);
}

void switchWindowMode(PictureJob& job) {
    applyWindowMode(job.display, job.loader.platform(), job.windowed);
    reloadPictures(job);
}

void loadLogoPictures(PictureLoader& loader, Pictures& pictures) {
    loader.loadPixelImage("gfx//logo//partnerLogoBig.jpg", pictures.partnerLogoBig);
    loader.loadPixelImage("gfx//logo//Logo_Big.png", pictures.logoBig);
}

void loadStartupImages(PictureLoader& loader, Pictures& pictures) {
    for (int i = 0; i < kStartupImageCount; ++i)
        loader.loadPixelImage(startupImagePath(static_cast<StartupImage>(i)), pictures.startupImages[static_cast<size_t>(i)]);
}

void freeRiseImage(Pictures& pictures) { pictures.strips[static_cast<size_t>(Strip::Rise)].image.clear(); }

}  // namespace present
