#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <string_view>
#include <vector>

#include "game/state.hpp"

namespace rules_test {

// Remembers every sound the rules play; a sound plays until it is stopped.
class RecordingSound final : public rules::SoundSink {
  public:
    void play(rules::SoundId id) override {
        played.push_back(id);
        playing[id] = true;
    }
    void stop(rules::SoundId id) override { playing[id] = false; }
    bool isPlaying(rules::SoundId id) const override { return playing[id]; }
    int count(rules::SoundId id) const { return static_cast<int>(std::count(played.begin(), played.end(), id)); }

    std::vector<rules::SoundId> played;
    std::array<bool, rules::kSoundCount> playing{};
};

// A game state with a level of every mode at hand, a clock that moves only when told and a fixed
// seed.
struct RulesFixture : ::testing::Test {
    rules::GameState state;
    rules::ManualClock clock{100000};
    rules::Random random{12345};
    RecordingSound sound;
    rules::Services services{clock, random, sound};

    rules::LevelDefinition& def() { return state.level.definition; }

    // Rows top to bottom, one string per row, columns left to right; '.' is empty.
    void setRows(const std::vector<std::string_view>& rows) {
        state.board.clear();
        for (int r = 0; r < static_cast<int>(rows.size()); ++r)
            for (int c = 0; c < static_cast<int>(rows[r].size()); ++c)
                state.board.cells[rules::cellIndex(c, r)] = rows[r][c] == '.' ? 0 : static_cast<uint8_t>(rows[r][c] - '0');
    }

    void setBonus(int column, int row, rules::BonusKind kind) {
        state.board.cellBonus[rules::cellIndex(column, row)] = kind;
        state.board.cellStamp[rules::cellIndex(column, row)] = static_cast<int32_t>(clock.now());
    }

    void put(int column, int row, uint8_t colour) { state.board.cells[rules::cellIndex(column, row)] = colour; }

    uint8_t at(int column, int row) const { return state.board.cells[rules::cellIndex(column, row)]; }

    int emptyCount() const {
        return static_cast<int>(std::count(state.board.cells.begin(), state.board.cells.end(), uint8_t{0}));
    }

    void addLevel(rules::GameMode mode, int number, const rules::LevelDefinition& level) {
        state.levels.lists[static_cast<int>(mode)].push_back({number, level});
    }
};

// A full board of colours 1..6 on which no colour meets itself in any direction, so it holds no
// figure; colour 7 is left free for the figures a test places.
inline std::vector<std::string_view> quietRows() {
    return {"1234561234", "3456123456", "5612345612", "1234561234", "3456123456",
            "5612345612", "1234561234", "3456123456", "5612345612", "1234561234"};
}

}  // namespace rules_test
