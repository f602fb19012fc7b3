#include "sim/state_json.hpp"

#include "flow/current_player.hpp"
#include "flow/navigation.hpp"
#include "flow/persistence.hpp"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>

namespace sim {

using namespace flow;

namespace {

struct Variable {
    const char* name;
    bool real;
    std::function<double(const Game&)> get;
    std::function<void(Game&, double)> set;
};

// A script's number in a field of type T. Numbers beyond what T holds stop at its ends (converting
// them as they are is undefined); a NaN gives 0.
template <typename T>
T saturated(double v) {
    using Limits = std::numeric_limits<T>;
    if (std::isnan(v)) return T{};
    if (v >= static_cast<double>(Limits::max())) return Limits::max();
    if (v <= static_cast<double>(Limits::lowest())) return Limits::lowest();
    return static_cast<T>(v);
}

// Binds a name to a field reached through `access`, converting to and from the JSON number.
template <typename Field, typename Access>
Variable bind(const char* name, Access access) {
    constexpr bool real = std::is_floating_point_v<Field>;
    return {name, real, [access](const Game& g) { return static_cast<double>(access(const_cast<Game&>(g))); },
            [access](Game& g, double v) {
                if constexpr (std::is_same_v<Field, bool>)
                    access(g) = v != 0;
                else if constexpr (std::is_enum_v<Field>)
                    access(g) = static_cast<Field>(saturated<int32_t>(v));
                else
                    access(g) = saturated<Field>(v);
            }};
}

// The screens around the play screen report the numbers they had among the level states: 7 the
// title, 8 the pause screen, 11 the opening logos. Setting one of them shows that screen; setting a
// level state shows the play screen in that state.
constexpr int32_t kTitleNumber = 7, kPauseNumber = 8, kLogoNumber = 11;

Variable playStateVariable() {
    return {"playState", false,
            [](const Game& g) {
                switch (g.screens.base) {
                    case Screen::Logo: return static_cast<double>(kLogoNumber);
                    case Screen::Title: return static_cast<double>(kTitleNumber);
                    case Screen::Pause: return static_cast<double>(kPauseNumber);
                    case Screen::Play:
                    case Screen::Menu: break;
                }
                return static_cast<double>(g.rules.playState);
            },
            [](Game& g, double v) {
                const int32_t n = saturated<int32_t>(v);
                g.screens.base = n == kTitleNumber   ? Screen::Title
                                 : n == kPauseNumber ? Screen::Pause
                                 : n == kLogoNumber  ? Screen::Logo
                                                     : Screen::Play;
                if (g.screens.base == Screen::Play) g.rules.playState = static_cast<rules::PlayState>(n);
            }};
}

// A current player's option of the settings file, as 0 or 1.
Variable optionVariable(const char* name, bool (*get)(const Game&), void (*set)(Game&, bool)) {
    return {name, false, [get](const Game& g) { return get(g) ? 1.0 : 0.0; }, [set](Game& g, double v) { set(g, v != 0); }};
}

#define LUMERIK_VAR(name, expr)                                          \
    bind<std::remove_reference_t<decltype(std::declval<Game&>().expr)>>( \
        name, [](Game & g) -> auto& { return g.expr; })

const std::vector<Variable>& variables() {
    static const std::vector<Variable> table = {
        playStateVariable(),
        optionVariable("colourSymbols", colourSymbolsWanted, setColourSymbolsWanted),
        optionVariable("moveHints", moveHintsWanted, setMoveHintsWanted),
        LUMERIK_VAR("menuActive", screens.menuActive),
        LUMERIK_VAR("menuScreen", screens.menuScreen),
        LUMERIK_VAR("dialogId", screens.dialogId),
        LUMERIK_VAR("gameMode", rules.gameMode),
        LUMERIK_VAR("currentLevel", rules.level.currentLevel),
        LUMERIK_VAR("nextLevel", rules.level.nextLevel),
        LUMERIK_VAR("levelScore", rules.level.levelScore),
        LUMERIK_VAR("totalScore", rules.level.totalScore),
        LUMERIK_VAR("target", rules.level.target),
        LUMERIK_VAR("limit", rules.level.limit),
        LUMERIK_VAR("remaining", rules.level.remaining),
        LUMERIK_VAR("progressPercent", rules.level.progressPercent),
        LUMERIK_VAR("runePoints", rules.runePoints),
        LUMERIK_VAR("levelWon", rules.level.levelWon),
        LUMERIK_VAR("levelRunning", rules.level.levelRunning),
        LUMERIK_VAR("freezeOn", rules.level.freezeOn),
        LUMERIK_VAR("freezeStart", rules.level.freezeStart),
        LUMERIK_VAR("levelStartTime", rules.level.levelStartTime),
        LUMERIK_VAR("moveMade", rules.moves.moveMade),
        LUMERIK_VAR("fallOffset", rules.fall.fallOffset),
        LUMERIK_VAR("fallStepDue", rules.fall.fallStepDue),
        LUMERIK_VAR("fallPrimed", rules.fall.fallPrimed),
        LUMERIK_VAR("fallSoundIndex", rules.fall.fallSoundIndex),
        LUMERIK_VAR("chainRunning", rules.chain.chainRunning),
        LUMERIK_VAR("comboIndex", rules.chain.comboIndex),
        LUMERIK_VAR("matchEvents", rules.chain.matchEvents),
        LUMERIK_VAR("passPoints", rules.level.passPoints),
        LUMERIK_VAR("passFigures", rules.level.passFigures),
        LUMERIK_VAR("revealCount", rules.reveal.revealCount),
        LUMERIK_VAR("shuffleTick", rules.shuffle.shuffleTick),
        LUMERIK_VAR("fallenCount", rules.fallOut.fallenCount),
        LUMERIK_VAR("endBonusBase", rules.level.endBonusBase),
        LUMERIK_VAR("endBonusShown", rules.level.endBonusShown),
        LUMERIK_VAR("thawOn", rules.level.thawOn),
        LUMERIK_VAR("thawStart", rules.level.thawStart),
        LUMERIK_VAR("pauseStart", rules.level.pauseStart),
        LUMERIK_VAR("resumeSaved", rules.level.resumeSaved),
        LUMERIK_VAR("inResumedLevel", rules.level.inResumedLevel),
        LUMERIK_VAR("currentRunId", rules.level.currentRunId),
        LUMERIK_VAR("intermissionStartedAt", rules.level.intermissionStartedAt),
        LUMERIK_VAR("logoStartedAt", screens.logoStartedAt),
        LUMERIK_VAR("logoClicked", screens.logoClicked),
        LUMERIK_VAR("titleEnteredAt", screens.titleEnteredAt),
        LUMERIK_VAR("menuTickCount", screens.menuTickCount),
        LUMERIK_VAR("listUpPressed", screens.menuLive.listUpPressed),
        LUMERIK_VAR("listDownPressed", screens.menuLive.listDownPressed),
        LUMERIK_VAR("nameEntryActive", playerScreen.nameEntryActive),
        LUMERIK_VAR("selection", playerScreen.selection),
        LUMERIK_VAR("firstVisible", playerScreen.firstVisible),
        LUMERIK_VAR("musicSliderDrag", screens.menuLive.musicSliderDrag),
        LUMERIK_VAR("soundSliderDrag", screens.menuLive.soundSliderDrag),
        LUMERIK_VAR("toShowTips", rules.player.toShowTips),
        LUMERIK_VAR("shuffleTipShown", rules.player.shuffleTipShown),
        // Level-file settings, so a script can try a rule under each of them.
        LUMERIK_VAR("verticals", rules.settings.verticals),
        LUMERIK_VAR("explodeType", rules.settings.explodeType),
        LUMERIK_VAR("universal", rules.settings.universal),
        LUMERIK_VAR("zeroRunesOnNextLevel", rules.settings.zeroRunesOnNextLevel),
        LUMERIK_VAR("freezeDuration", rules.settings.freezeDurationMs),
        // Frame counts of the effect strips (Rise, Explode, Level).
        LUMERIK_VAR("burstFrames", rules.effects.frames[0]),
        LUMERIK_VAR("clearFrames", rules.effects.frames[1]),
        LUMERIK_VAR("revealFrames", rules.effects.frames[2]),
        // The play screen's own state.
        LUMERIK_VAR("progressShown", play.progressShown),
        LUMERIK_VAR("timeShown", play.timeShown),
        LUMERIK_VAR("criticalFrame", play.criticalFrame),
        LUMERIK_VAR("flashOn", play.flashOn),
        LUMERIK_VAR("flashStep", play.flashStep),
        LUMERIK_VAR("tipPending", rules.level.tipPending),
        LUMERIK_VAR("tipTimerAt", rules.level.tipTimerAt),
        LUMERIK_VAR("sweepStartAt", play.sweepStartAt),
        LUMERIK_VAR("stuckLost", play.stuckLost),
        LUMERIK_VAR("shuffleSoundOn", play.shuffleSoundOn),
        LUMERIK_VAR("windowed", profiles.windowed),
        LUMERIK_VAR("suspended", app.suspended),
        LUMERIK_VAR("graphicsLoaded", app.graphicsLoaded),
        LUMERIK_VAR("activatedAt", app.activatedAt),
        LUMERIK_VAR("showMainStatus", app.showMainStatus),
        LUMERIK_VAR("showFps", app.showFps),
        LUMERIK_VAR("musicVolume", profiles.musicVolume),
        LUMERIK_VAR("musicSliderX", profiles.musicSliderX),
        LUMERIK_VAR("soundVolume", profiles.soundVolume),
        LUMERIK_VAR("soundSliderX", profiles.soundSliderX),
        LUMERIK_VAR("currentPlayer", profiles.currentPlayer),
    };
    return table;
}

#undef LUMERIK_VAR

template <typename Array>
nlohmann::json numbers(const Array& values) {
    nlohmann::json list = nlohmann::json::array();
    for (const auto& v : values) list.push_back(static_cast<int64_t>(v));
    return list;
}

// Names are bytes, not always UTF-8: a byte that is not ASCII shows as its Latin-1 character, so a
// name always makes valid JSON.
std::string jsonText(const std::string& bytes) {
    std::string out;
    for (unsigned char c : bytes) {
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

// Every field of a player's record by its name.
nlohmann::json playerJson(const data::PlayerProfile& p) {
    nlohmann::json json = {{"runId", p.runId},           {"name", jsonText(p.name())},
                           {"toShowTips", p.toShowTips}, {"showHelpBeforeGame", p.showHelpBeforeGame},
                           {"ownCursor", p.ownCursor},   {"shuffleTipShown", p.shuffleTipShown}};
    const std::pair<const char*, const data::SavedRun&> modes[] = {
        {"Action", p.action}, {"Strategy", p.strategy}, {"ActionPuzzle", p.actionPuzzle}};
    for (const auto& [mode, run] : modes) {
        const std::string m = mode;
        json["level" + m] = run.level;
        json["total" + m] = run.total;
        json["levelScore" + m] = run.levelScore;
        json[(m == "Strategy" ? "movesLeft" : "elapsed") + m] = run.elapsedOrMovesLeft;
        json["runes" + m] = run.runes;
        json["board" + m] = numbers(run.board);
        json["bonusLayer" + m] = numbers(run.bonusLayer);
        json["cellTimes" + m] = numbers(run.cellTimes);
    }
    return json;
}

}  // namespace

nlohmann::json stateJson(const Game& game) {
    nlohmann::json state;
    for (const Variable& variable : variables()) {
        const double value = variable.get(game);
        if (variable.real)
            state[variable.name] = value;
        else
            state[variable.name] = static_cast<int64_t>(value);
    }
    state["now"] = game.platform.clock().now();
    // The picture on screen, as a checksum of its colour bytes, so scripts can compare frames.
    uint64_t checksum = 1469598103934665603ull;
    const present::Surface& screen = game.platform.screen();
    for (int y = 0; y < screen.height; ++y)
        for (int x = 0; x < screen.width; ++x)
            checksum = (checksum ^ (screen.at(x, y) & present::kColourMask)) * 1099511628211ull;
    state["frameChecksum"] = std::to_string(checksum);
    state["cells"] = numbers(game.rules.board.cells);
    state["cellBonus"] = numbers(game.rules.board.cellBonus);
    state["cellStamp"] = numbers(game.rules.board.cellStamp);
    state["screenStack"] = numbers(game.screens.screenStack);
    state["dialogStack"] = numbers(game.screens.dialogStack);
    auto glows = [](const auto& pairs) {
        nlohmann::json list = nlohmann::json::array();
        for (const present::glow::GlowPair& g : pairs) list.push_back({g.state, g.frame});
        return list;
    };
    state["typedName"] = jsonText(game.playerScreen.typedName);
    state["titleGlow"] = glows(game.screens.titleGlow);
    state["menuGlow"] = glows(game.screens.menuGlow);

    const rules::PendingBlockTurn& turn = game.rules.moves.pendingBlockTurn;
    state["pendingBlockTurn"] = turn.active ? nlohmann::json{{"blockColumn", turn.blockColumn},
                                                             {"blockRow", turn.blockRow},
                                                             {"direction", static_cast<int>(turn.direction)},
                                                             {"frame", turn.frame}}
                                            : nlohmann::json();
    state["boardTurnFrame"] = game.rules.moves.boardTurn.frame;
    nlohmann::json slots = nlohmann::json::array();
    for (const rules::RuneSlot& slot : game.rules.runeSlots) slots.push_back({slot.state, slot.counter});
    state["runeSlots"] = slots;

    const rules::GameState& rules = game.rules;
    auto effects = [](const std::vector<rules::EffectEntry>& queue) {
        nlohmann::json list = nlohmann::json::array();
        for (const rules::EffectEntry& e : queue) list.push_back({e.column, e.row, e.frame});
        return list;
    };
    state["burstEffects"] = effects(rules.effects.burst);
    state["clearEffects"] = effects(rules.effects.clear);
    state["revealEffects"] = effects(rules.effects.reveal);
    state["preparedCells"] = numbers(rules.reveal.preparedCells);
    state["revealOrder"] = numbers(
        std::vector<uint8_t>(rules.reveal.revealOrder.begin(), rules.reveal.revealOrder.begin() + rules.reveal.revealColours));
    state["fallOffsets"] = numbers(rules.fallOut.fallOffsets);
    nlohmann::json firstLevels = nlohmann::json::array();
    for (const auto& mode : rules.bonusFirstLevel) firstLevels.push_back(numbers(mode));
    state["bonusFirstLevel"] = firstLevels;

    const rules::RuleRequests& requests = rules.requests;
    nlohmann::json flights = nlohmann::json::array();
    for (const rules::BonusFlightRequest& f : requests.bonusFlights)
        flights.push_back({{"pictureRow", f.pictureRow}, {"startSlot", f.startSlot}, {"column", f.column}, {"row", f.row}});
    state["requests"] = {{"bonusFlights", flights},
                         {"explodeTipPending", requests.explodeTipPending ? 1 : 0},
                         {"explodeTipAt", requests.explodeTipAt},
                         {"explodeTipShown", requests.explodeTipShown ? 1 : 0},
                         {"explodeTipColour", requests.explodeTipColour},
                         {"shuffleTip", requests.shuffleTip ? 1 : 0},
                         {"stuckDialog", requests.stuckDialog ? 1 : 0},
                         {"recordRun", requests.recordRun ? 1 : 0},
                         {"gameComplete", requests.gameComplete ? 1 : 0},
                         {"startGameMusic", requests.startGameMusic ? 1 : 0}};

    const PlayScreenState& play = game.play;
    state["flights"] = play.flights.size();
    state["fireworks"] = game.screens.fireworks.size();
    state["bonusPhase"] = numbers(play.bonusPhase);
    state["playGlow"] = glows(play.buttonGlow);
    // The move hint showing: the block among the 5 by 5 and the mouse button whose turn makes the
    // figure, or the board turn's direction.
    const auto side = [](rules::Direction d) { return d == rules::Direction::CounterClockwise ? "left" : "right"; };
    if (!play.hint)
        state["hint"] = nullptr;
    else if (play.hint->kind == rules::HintKind::BlockTurn)
        state["hint"] = {{"block", {play.hint->blockColumn, play.hint->blockRow}}, {"turn", side(play.hint->direction)}};
    else
        state["hint"] = {{"board", side(play.hint->direction)}};
    // The block cursor of the controller and the keys, when it shows; the focused control of the
    // title or a menu: a menu button's action number in menuFocus, and every kind in focusItem.
    const flow::NavigationState& nav = game.nav;
    state["cursorBlock"] = nav.blockShown ? nlohmann::json::array({nav.block.x, nav.block.y}) : nlohmann::json(nullptr);
    const std::optional<flow::FocusItem> focused = flow::focusedItem(game);
    state["menuFocus"] = nullptr;
    state["focusItem"] = nullptr;
    if (focused) {
        static constexpr const char* kKinds[] = {"menuButton", "titleButton", "playerList", "slider",
                                                 "optionBox",  "helpBox",     "nameKey"};
        state["focusItem"] = {{"kind", kKinds[static_cast<int>(focused->kind)]}, {"index", focused->index}};
        if (focused->kind == flow::FocusKind::MenuButton)
            state["menuFocus"] = present::menu::kMenuLayouts[static_cast<size_t>(game.screens.menuScreen)]
                                     .buttons[static_cast<size_t>(focused->index)]
                                     .action;
    }
    // The bonus pictures the last play frame drew: [kind, x, y] of each hot spot.
    nlohmann::json sprites = nlohmann::json::array();
    for (const present::PlayBonusSprite& sprite : play.view.bonusSprites)
        sprites.push_back({sprite.kind, sprite.at.x, sprite.at.y});
    state["shownBonusSprites"] = sprites;
    state["shownFlights"] = play.view.flights.size();
    state["timeBarShape"] = static_cast<int>(play.view.timeBar);  // 0 bar, 1 critical, 2 frozen glass
    // The texts the last play frame drew: [text, y] in drawing order.
    nlohmann::json texts = nlohmann::json::array();
    for (const auto* list : {&play.view.endTexts, &play.view.captions})
        for (const present::PlayText& line : *list) texts.push_back({line.text, line.y});
    state["shownTexts"] = texts;

    // The rules help's demonstrations: each pointer, mouse picture, script position and block.
    nlohmann::json demos = nlohmann::json::array();
    for (const present::DemoPlayer& player : game.helpDemos.players) {
        nlohmann::json blocks = nlohmann::json::array();
        for (const present::DemoBlock& block : player.blocks)
            blocks.push_back({{"cells", numbers(block.cells)},
                              {"turning", block.turning ? 1 : 0},
                              {"turnCounter", block.turnCounter},
                              {"dropOn", block.dropOn ? 1 : 0}});
        demos.push_back({{"x", player.x},
                         {"y", player.y},
                         {"mouse", player.mouse},
                         {"pc", player.pc},
                         {"pausing", player.pausing ? 1 : 0},
                         {"gliding", player.gliding ? 1 : 0},
                         {"blocks", blocks}});
    }
    state["helpDemos"] = demos;

    nlohmann::json players = nlohmann::json::array();
    for (const data::PlayerProfile& player : game.profiles.players) players.push_back(playerJson(player));
    state["players"] = players;
    nlohmann::json tables = nlohmann::json::array();
    for (const data::HighScoreTable& table : game.highScores.tables) {
        nlohmann::json rows = nlohmann::json::array();
        for (const data::HighScoreEntry& entry : table)
            rows.push_back({{"runId", entry.runId}, {"score", entry.score}, {"name", jsonText(entry.name())}});
        tables.push_back(rows);
    }
    state["highScores"] = tables;

    nlohmann::json playing = nlohmann::json::array();
    for (rules::SoundId id : game.sound.playingNow()) playing.push_back(static_cast<int>(id));
    state["soundsPlaying"] = playing;
    nlohmann::json log = nlohmann::json::array();
    for (const present::SoundLogEntry& entry : game.sound.log())
        log.push_back({entry.tick, static_cast<int>(entry.id), entry.play ? "play" : "stop"});
    state["soundLog"] = log;
    nlohmann::json volumes = nlohmann::json::array();
    for (int id = 0; id < rules::kSoundCount; ++id) volumes.push_back(game.sound.volume(static_cast<rules::SoundId>(id)));
    state["soundVolumes"] = volumes;
    const std::optional<rules::SoundId> owner = game.sound.musicOwner();
    state["musicOwner"] = owner ? nlohmann::json(static_cast<int>(*owner)) : nlohmann::json();
    return state;
}

bool setStateVariable(Game& game, std::string_view name, double value) {
    for (const Variable& variable : variables()) {
        if (name == variable.name) {
            variable.set(game, value);
            // The rules take the player's tips from the profile every tick: a script that turns
            // them on or off speaks for the current player.
            if (name == "toShowTips") {
                if (data::PlayerProfile* player = currentProfile(game)) player->toShowTips = value != 0 ? 1 : 0;
            }
            return true;
        }
    }
    return false;
}

}  // namespace sim
