#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "data/file_io.hpp"
#include "data/game_folder.hpp"
#include "game/types.hpp"

namespace data {

// A high-score file is its entries back to back, best first: 24 bytes each, little-endian.
inline constexpr size_t kHighScoreEntrySize = 24;
inline constexpr size_t kHighScoreNameSize = 16;
inline constexpr size_t kHighScoreTableSize = 10;  // a full table; an edited file may hold more
inline constexpr size_t kHighScoreFileLimit = 1u << 20;
inline constexpr int kHighScoreTables = 3;

struct HighScoreEntry {
    int32_t runId = 0;                                    // the run that made the score
    uint32_t score = 0;                                   // the run's total
    std::array<uint8_t, kHighScoreNameSize> nameField{};  // the name, its terminator, the rest

    // The name up to its terminator, or the whole field when it has none.
    std::string name() const;

    bool operator==(const HighScoreEntry&) const = default;
};

using HighScoreTable = std::vector<HighScoreEntry>;

// Action, ActionPuzzle and Strategy, in the order of their files "profile\hi0x00" to "hi0x02".
struct HighScores {
    std::array<HighScoreTable, kHighScoreTables> tables;
    // A file that was there but could not be read is not written over.
    std::array<bool, kHighScoreTables> keepFile{};

    bool operator==(const HighScores&) const = default;
};

// The table of a mode: Action 0, ActionPuzzle 1, Strategy 2; any other mode uses table 0.
int highScoreTableIndex(rules::GameMode mode);
// "profile\hi0x00" and so on.
std::string highScoreFileName(int table);

HighScoreTable& highScoreTable(HighScores& highScores, rules::GameMode mode);
const HighScoreTable& highScoreTable(const HighScores& highScores, rules::GameMode mode);

// The file's entries in file order (a trailing piece shorter than an entry is dropped; a file of
// more than ten entries is read whole).
HighScoreTable parseHighScores(std::span<const uint8_t> bytes);
std::vector<uint8_t> serialiseHighScores(const HighScoreTable& table);

void loadHighScores(const GameFolder& folder, HighScores& highScores);
// Writes the three files, each atomically; the result names the files that failed.
WriteResult writeHighScores(const GameFolder& folder, const HighScores& highScores);

// Enters a run's total into a table. The run's own entry (same name and run) is raised when the
// total beats it; otherwise a new entry is added, replacing the lowest one when the table is full
// (ten or more) and the total is at least that low score. The table is then sorted best first,
// keeping the order of equal scores. Scores compare as unsigned. True when the table changed.
bool enterHighScore(HighScoreTable& table, int32_t runId, std::string_view name, uint32_t total);

// Empties the table of `mode`; the next save writes it as an empty file.
void clearHighScores(HighScores& highScores, rules::GameMode mode);

}  // namespace data
