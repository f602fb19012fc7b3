#include "data/gfx_settings.hpp"

#include "data/config_scanner.hpp"

namespace data {

namespace {

enum GfxKey : int {
    KeyExplode,
    KeyLevel,
    KeyRise,
    KeyType,
    KeyFrames,
    KeyFrameWidth,
    KeyCenterX,
    KeyCenterY,
    KeyTransparencyS,
    KeyTransparencyD,
    KeyBonusGfx,
    KeyMenuTransparency,
};

using enum ValueKind;

// The strip markers match anywhere, so "Rise", "Explode" and "Level" in a remark switch the strip.
constexpr ConfigKey kGfxKeys[] = {
    {"Explode", Marker, KeyExplode},
    {"Level", Marker, KeyLevel},
    {"Rise", Marker, KeyRise},
    {"type", Integer, KeyType},
    {"frames", Integer, KeyFrames},
    {"frame_width", Integer, KeyFrameWidth},
    {"center_x", Integer, KeyCenterX},
    {"center_y", Integer, KeyCenterY},
    {"transparencyS", Real, KeyTransparencyS},
    {"transparencyD", Real, KeyTransparencyD},
    {"bonus_gfx", List, KeyBonusGfx, 4 * kBonusPictureCount},
    {"MenuTransparency", Real, KeyMenuTransparency},
};

class GfxFileTarget final : public ConfigTarget {
  public:
    explicit GfxFileTarget(GraphicsSettings& settings) : settings_(settings) {}

    void apply(const ConfigKey& key, const ConfigValue& value) override {
        AnimationSettings& strip = settings_.strips[static_cast<size_t>(strip_)];
        const int32_t v = value.integer;
        switch (static_cast<GfxKey>(key.id)) {
            case KeyRise: strip_ = StripRise; return;
            case KeyExplode: strip_ = StripExplode; return;
            case KeyLevel: strip_ = StripLevel; return;
            case KeyType: strip.type = v; return;
            case KeyFrames: strip.frames = v; return;
            case KeyFrameWidth: strip.frame_width = v; return;
            case KeyCenterX: strip.center_x = v; return;
            case KeyCenterY: strip.center_y = v; return;
            case KeyTransparencyS: strip.transparencyS = static_cast<float>(value.real); return;
            case KeyTransparencyD: strip.transparencyD = static_cast<float>(value.real); return;
            case KeyMenuTransparency: settings_.menuTransparency = static_cast<float>(value.real); return;
            case KeyBonusGfx:
                for (size_t i = 0; i < settings_.bonuses.size(); ++i) {
                    BonusLayout& bonus = settings_.bonuses[i];
                    bonus.frames = value.list[i * 4];
                    bonus.frame_width = value.list[i * 4 + 1];
                    bonus.center_x = value.list[i * 4 + 2];
                    bonus.center_y = value.list[i * 4 + 3];
                }
                return;
        }
    }

  private:
    GraphicsSettings& settings_;
    Strip strip_ = StripRise;  // entries before the first marker belong to the rising strip
};

}  // namespace

void scanGraphicsText(std::string_view text, GraphicsSettings& settings) {
    settings = {};
    GfxFileTarget target(settings);
    scanConfigText(text, kGfxKeys, target);
}

void loadGraphicsSettings(const GameFolder& folder, GraphicsSettings& settings) {
    const std::vector<char> image = readConfigFile(folder.resolve("ini\\gfxini.txt"));
    scanGraphicsText(std::string_view(image.data(), image.size()), settings);
}

}  // namespace data
