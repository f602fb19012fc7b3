#include "attempt.hpp"

#include <algorithm>
#include <limits>

#include "data/config_scanner.hpp"
#include "data/levels.hpp"
#include "flow/frame_tick.hpp"
#include "flow/game.hpp"
#include "flow/launch.hpp"
#include "flow/persistence.hpp"
#include "flow/screens.hpp"
#include "flow/window_proc.hpp"
#include "game/board_geometry.hpp"
#include "game/falling.hpp"
#include "game/hints.hpp"
#include "game/runes.hpp"
#include "planner.hpp"
#include "present/headless_platform.hpp"

namespace levelbot {

namespace {

constexpr uint32_t kTickMs = 33;
// A level that has not ended after this much game time is cut off and counted as lost. Freezes can
// stretch a clock, so the timed modes get several times their limit; the move modes a long while.
constexpr uint32_t kTimedBoundFactor = 4;
constexpr uint32_t kBoundExtraMs = 300000;
constexpr uint32_t kMoveModeBoundMs = 1800000;

// Where a click turns block (blockColumn, blockRow): the middle of the block on the play screen.
present::Point blockCentre(int blockColumn, int blockRow) {
    return {rules::kBoardLeft + rules::kBlockPitch * blockColumn + rules::kBlockPitch / 2,
            rules::kBoardTop + rules::kBlockPitch * blockRow + rules::kBlockPitch / 2};
}

class Driver {
  public:
    Driver(flow::Game& game, present::HeadlessPlatform& platform) : game_(game), platform_(platform) {}

    // Sends the input a player would give for `move`; true when the game took it.
    bool send(const Move& move) {
        present::InputEvent event;
        switch (move.kind) {
            case MoveKind::Block: {
                event.type = present::InputEvent::Type::ButtonDown;
                event.button = move.direction == rules::Direction::CounterClockwise ? present::MouseButton::Left
                                                                                    : present::MouseButton::Right;
                event.at = blockCentre(move.blockColumn, move.blockRow);
                platform_.setPointer(event.at);
                flow::handleEvent(game_, event);
                const bool taken = game_.rules.moves.pendingBlockTurn.active;
                event.type = present::InputEvent::Type::ButtonUp;
                flow::handleEvent(game_, event);
                return taken;
            }
            case MoveKind::Board:
                event.type = present::InputEvent::Type::KeyDown;
                event.key = move.direction == rules::Direction::CounterClockwise ? present::Key::Left : present::Key::Right;
                flow::handleEvent(game_, event);
                return game_.rules.playState == rules::StateRotating;
            case MoveKind::Shuffle:
                event.type = present::InputEvent::Type::Character;
                event.character = 's';
                flow::handleEvent(game_, event);
                return game_.rules.playState == rules::StateShuffle;
            case MoveKind::None: break;
        }
        return false;
    }

    void tick() {
        platform_.manualClock().advance(kTickMs);
        flow::frameTick(game_);
    }

  private:
    flow::Game& game_;
    present::HeadlessPlatform& platform_;
};

// The level's limit left now: whole seconds on the clock, or moves.
double limitLeft(const rules::GameState& state) { return state.level.remaining; }

// The move the game's hint shows on this board, as a player would make it; a random click where the
// hint finder finds none.
Move hintedMove(const rules::GameState& state, rules::Random& random);

Move randomClick(rules::Random& random) {
    Move move;
    move.kind = MoveKind::Block;
    move.blockColumn = random.mod(5);
    move.blockRow = random.mod(5);
    move.direction = random.mod(2) == 0 ? rules::Direction::CounterClockwise : rules::Direction::Clockwise;
    return move;
}

Move hintedMove(const rules::GameState& state, rules::Random& random) {
    const std::optional<rules::Hint> hint = rules::findHint(state);
    if (!hint) return randomClick(random);
    Move move;
    move.kind = hint->kind == rules::HintKind::BlockTurn ? MoveKind::Block : MoveKind::Board;
    move.blockColumn = hint->blockColumn;
    move.blockRow = hint->blockRow;
    move.direction = hint->direction;
    return move;
}

}  // namespace

bool readLevelSet(const std::filesystem::path& file, LevelSet& set) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) return false;
    const std::vector<char> image = data::readConfigFile(file);
    data::scanLevelText(std::string_view(image.data(), image.size()), set.levels, set.settings);
    return true;
}

AttemptResult playAttempt(const LevelSet& set, const GameFolders& folders, const AttemptSetup& setup) {
    AttemptResult result;
    present::HeadlessPlatform platform;
    const std::unique_ptr<flow::Game> launched =
        flow::launchGame(platform, data::GameFolder(folders.gameRoot, folders.writeRoot), setup.seed,
                         [&platform](flow::Game& g) { g.sound.openSimulatedAudio(platform.clock()); });
    if (!launched) {
        result.cutOff = true;
        return result;
    }
    flow::Game& game = *launched;
    // A first start puts the name screen in front of everything: the bot names itself, as a new
    // player would, and turns the tips off in its profile, which the rules follow every tick.
    if (game.screens.menuActive && game.screens.menuScreen == flow::ScreenEnterName)
        for (const char c : std::string_view("LEVELBOT\r")) flow::typeNameCharacter(game, static_cast<uint8_t>(c));
    if (data::PlayerProfile* player = flow::currentProfile(game)) player->toShowTips = 0;
    while (game.screens.menuActive && !game.screens.screenStack.empty()) flow::closeMenuScreen(game);

    // The level set under test replaces the one the game folder holds.
    rules::GameState& rules = game.rules;
    rules.levels = set.levels;
    rules.settings = set.settings;
    game.app.showMainStatus = 0;
    game.app.showFps = 0;
    rules::LevelDefinition* definition = rules.levels.findLevel(setup.mode, setup.level);
    if (definition == nullptr) return result;
    result.limit = definition->limit;
    if (setup.openTarget)
        definition->target = rules::isRefilled(setup.mode) ? std::numeric_limits<int32_t>::max() / 2 : rules::kCellCount + 1;
    rules::computeBonusFirstLevels(rules);
    rules.player.toShowTips = false;
    rules.level.nextLevel = setup.level;
    rules.level.totalScore = 0;
    rules.gameMode = setup.mode;
    // The level is played on its own, without the intermission of a new group.
    rules.level.levelWon = false;
    flow::beginPlay(game);

    Driver driver(game, platform);
    Planner planner(setup.seed ^ 0x5bd1e995u);
    rules::Random clicks(setup.seed * 2654435761u + 17u);
    const bool timed = rules::isTimed(setup.mode);
    const uint32_t start = platform.clock().now();
    const uint32_t bound =
        timed ? kTimedBoundFactor * 1000u * static_cast<uint32_t>(std::max(result.limit, 0)) + kBoundExtraMs : kMoveModeBoundMs;
    bool started = false, moved = false;
    uint32_t lastMoveAt = 0;
    double progressAtMove = 0;

    for (;;) {
        const std::array<uint8_t, rules::kCellCount> before = rules.board.cells;
        driver.tick();
        const uint32_t now = platform.clock().now();
        if (rules.level.levelRunning) started = true;
        if (!started) {
            if (now - start > bound) break;
            continue;
        }

        // Progress as the goal test sees it: the score at any time, empty cells only on a board at
        // rest in play (or on the frame the level was won).
        const bool running = rules.level.levelRunning;
        const bool wonNow = !running && rules.level.levelWon;
        if (wonNow || (running && (rules::isRefilled(setup.mode) || rules.playState == rules::StatePlaying))) {
            const double p = levelProgress(rules);
            if (p > result.progress) {
                result.progress = p;
                result.milestones.push_back({p, limitLeft(rules)});
            }
        }
        if (!running) {
            result.won = rules.level.levelWon;
            result.left = result.won ? limitLeft(rules) : 0;
            break;
        }
        // The no-more-figures dialog (asked for, or already open): closing it loses the level.
        if (rules.requests.stuckDialog || (game.screens.menuActive && game.screens.dialogId == flow::DialogNoMoves)) {
            result.stuck = true;
            break;
        }
        // A tip or other dialog over the play screen is closed at once, as a hurried player would.
        while (game.screens.menuActive && !game.screens.screenStack.empty()) flow::closeMenuScreen(game);
        if (now - start > bound) {
            result.cutOff = true;
            break;
        }

        const bool settled =
            rules.playState == rules::StatePlaying && !rules.moves.pendingBlockTurn.active && !rules::needsFall(rules);
        const bool paced = !timed || !moved || now - lastMoveAt >= setup.paceMs;
        if (!settled || !paced) continue;

        Move move;
        if (setup.player == PlayerKind::Random) {
            move = randomClick(clicks);
        } else if (setup.player == PlayerKind::Hints) {
            // Figures made by the last move are found on the frame after it, as for the bot.
            if (rules.board.cells != before) continue;
            move = hintedMove(rules, clicks);
        } else {
            // Figures made by the last move are found on the frame after it: wait for a frame in which
            // the board stood still.
            if (rules.board.cells != before) continue;
            const double progress = levelProgress(rules);
            if (moved) planner.moveEnded(progress > progressAtMove);
            move = planner.choose(rules, now);
            progressAtMove = progress;
        }
        if (move.kind == MoveKind::None) continue;
        if (driver.send(move)) {
            moved = true;
            lastMoveAt = now;
            if (move.kind == MoveKind::Shuffle)
                ++result.shuffles;
            else
                ++result.moves;
        }
    }
    result.gameMs = platform.clock().now() - start;
    return result;
}

}  // namespace levelbot
