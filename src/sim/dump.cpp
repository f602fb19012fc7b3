#include "sim/dump.hpp"

#include <charconv>
#include <string>

namespace sim {

using namespace flow;

namespace {

using nlohmann::json;

// A 32-bit real as its shortest decimal form, so 0.7f reads 0.7 and not 0.699999988079071.
double shortestOf(float value) {
    char text[32];
    const auto [end, ec] = std::to_chars(text, text + sizeof text, value);
    if (ec != std::errc()) return value;
    double out = value;
    std::from_chars(text, end, out);
    return out;
}

json levelJson(const rules::LevelEntry& entry) {
    const rules::LevelDefinition& d = entry.definition;
    return {{"number", entry.number},
            {"bonusRatio", d.bonusRatio},
            {"runesSquare2x2", d.runesSquare2x2},
            {"runesSquare2x3", d.runesSquare2x3},
            {"runesDiagonal", d.runesDiagonal},
            {"runesFigure", d.runesFigure},
            {"bonusDuration", d.bonusDuration},
            {"target", d.target},
            {"limit", d.limit},
            {"colors", d.colors},
            {"square4", d.square4},
            {"square6", d.square6},
            {"diagonal", d.diagonal},
            {"vh", d.vh},
            {"scoreBoost", d.scoreBoost},
            {"ball", d.ball}};
}

json levelsJson(const rules::GameState& rules) {
    static constexpr const char* kModeNames[rules::kModeCount] = {"Action", "Strategy", "Puzzle", "ActionPuzzle"};
    json lists = json::object();
    for (int m = 0; m < rules::kModeCount; ++m) {
        json list = json::array();
        for (const rules::LevelEntry& entry : rules.levels.lists[static_cast<size_t>(m)]) list.push_back(levelJson(entry));
        lists[kModeNames[m]] = std::move(list);
    }
    const rules::LevelSettings& s = rules.settings;
    json colours = json::array();
    for (const rules::ColourTint& tint : s.colorTints) colours.push_back({tint.red, tint.green, tint.blue});
    const json settings = {{"Color", colours},
                           {"Verticals", s.verticals},
                           {"StartingLevel", s.startingLevel},
                           {"Combo", s.combo},
                           {"MainStatus", s.mainStatus},
                           {"FPS", s.fps},
                           {"FreezDuration", s.freezeDurationMs},
                           {"Universal", s.universal},
                           {"ZeroRunesOnNextLEvel", s.zeroRunesOnNextLevel},
                           {"ExplodeType", s.explodeType},
                           {"TIMEbonus", s.timeBonus},
                           {"MOVEbonus", s.moveBonus},
                           {"SWAP", s.swap},
                           {"maxMusVol", s.maxMusicVolume}};
    return {{"levels", lists}, {"settings", settings}};
}

json stripJson(const data::AnimationSettings& strip) {
    return {{"type", strip.type},
            {"frames", strip.frames},
            {"frame_width", strip.frame_width},
            {"center_x", strip.center_x},
            {"center_y", strip.center_y},
            {"transparencyS", shortestOf(strip.transparencyS)},
            {"transparencyD", shortestOf(strip.transparencyD)}};
}

json gfxJson(const data::GraphicsSettings& gfx) {
    json bonuses = json::array();
    for (const data::BonusLayout& b : gfx.bonuses) bonuses.push_back({b.frames, b.frame_width, b.center_x, b.center_y});
    return {{"Rise", stripJson(gfx.strips[data::StripRise])},
            {"Explode", stripJson(gfx.strips[data::StripExplode])},
            {"Level", stripJson(gfx.strips[data::StripLevel])},
            {"bonus_gfx", bonuses},
            {"MenuTransparency", shortestOf(gfx.menuTransparency)}};
}

// Texts are bytes; JSON wants UTF-8, so a byte above 127 is written as the character of that number.
std::string utf8Of(std::string_view bytes) {
    std::string out;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            out.push_back(c);
        } else {
            out.push_back(static_cast<char>(0xC0 | (b >> 6)));
            out.push_back(static_cast<char>(0x80 | (b & 0x3F)));
        }
    }
    return out;
}

json textsJson(const Game& game) {
    json out = json::object();
    for (int t = 0; t < data::kTextTableCount; ++t) {
        const data::TextTable& table = game.texts.tables[static_cast<size_t>(t)];
        json slots = json::array();
        for (int slot = 0; slot < table.slots(); ++slot) slots.push_back(utf8Of(table.text(slot)));
        out["text0" + std::to_string(t)] = std::move(slots);  // five tables: text00 to text04
    }
    out["ascii"] = game.characterMap;
    return out;
}

}  // namespace

bool dumpJson(const Game& game, std::string_view what, nlohmann::json& json) {
    if (what == "levels") {
        json = levelsJson(game.rules);
    } else if (what == "gfx") {
        json = gfxJson(game.gfx);
    } else if (what == "texts") {
        json = textsJson(game);
    } else {
        return false;
    }
    return true;
}

}  // namespace sim
