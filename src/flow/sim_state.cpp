#include "flow/sim_state.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <functional>

namespace flow {

namespace {

struct Variable {
    const char* name;
    bool real;
    std::function<double(const Game&)> get;
    std::function<void(Game&, double)> set;
};

// Binds a name to a field reached through `access`, converting to and from the JSON number.
template <typename Field, typename Access>
Variable bind(const char* name, Access access) {
    constexpr bool real = std::is_floating_point_v<Field>;
    return {name, real,
            [access](const Game& g) { return static_cast<double>(access(const_cast<Game&>(g))); },
            [access](Game& g, double v) {
                if constexpr (std::is_same_v<Field, bool>)
                    access(g) = v != 0;
                else if constexpr (std::is_enum_v<Field>)
                    access(g) = static_cast<Field>(static_cast<int32_t>(v));
                else if constexpr (std::is_integral_v<Field>)
                    // Held to the field's range: converting a number past it is undefined.
                    access(g) = static_cast<Field>(std::clamp(v, static_cast<double>(std::numeric_limits<Field>::lowest()),
                                                              static_cast<double>(std::numeric_limits<Field>::max())));
                else
                    access(g) = static_cast<Field>(v);
            }};
}

#define LUMERIK_VAR(name, expr) \
    bind<std::remove_reference_t<decltype(std::declval<Game&>().expr)>>(name, [](Game& g) -> auto& { return g.expr; })

const std::vector<Variable>& variables() {
    static const std::vector<Variable> table = {
        LUMERIK_VAR("playState", rules.playState),
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
        LUMERIK_VAR("intermissionStartedAt", screens.intermissionStartedAt),
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
    nlohmann::json json = {{"runId", p.runId},
                           {"name", jsonText(p.name())},
                           {"toShowTips", p.toShowTips},
                           {"showHelpBeforeGame", p.showHelpBeforeGame},
                           {"ownCursor", p.ownCursor},
                           {"shuffleTipShown", p.shuffleTipShown}};
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
    state["cells"] = numbers(game.rules.board.cells);
    state["cellBonus"] = numbers(game.rules.board.cellBonus);
    state["cellStamp"] = numbers(game.rules.board.cellStamp);
    state["screenStack"] = numbers(game.screens.screenStack);
    state["dialogStack"] = numbers(game.screens.dialogStack);

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
    state["revealOrder"] = numbers(std::vector<uint8_t>(rules.reveal.revealOrder.begin(),
                                                        rules.reveal.revealOrder.begin() + rules.reveal.revealColours));
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
            return true;
        }
    }
    return false;
}

}  // namespace flow
