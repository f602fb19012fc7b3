#pragma once
#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "data/game_folder.hpp"

namespace data {

// The five text files and the shape of their tables: a fixed number of slots of a fixed width, each
// holding at most width - 1 characters.
struct TextTableShape {
    std::string_view file;
    int slots = 0;
    int width = 0;
};
inline constexpr int kTextTableCount = 6;
inline constexpr std::array<TextTableShape, kTextTableCount> kTextTableShapes{{
    {"system\\text00.txt", 12, 15},   // title and side button captions
    {"system\\text01.txt", 20, 15},   // menu button captions
    {"system\\text02.txt", 15, 35},   // menu text lines
    {"system\\text03.txt", 127, 61},  // help pages, dialogs and messages
    {"system\\text04.txt", 12, 25},   // level-group titles and in-game messages
    {"system\\text05.txt", 40, 61},   // texts of the options and helps that came later
}};

// The tables by what they hold, in the order of kTextTableShapes.
enum class TextTableId : int32_t { TitleCaptions, MenuCaptions, MenuLabels, Messages, PlayMessages, LaterTexts };

// One text of the tables: its table and slot. The game's single texts have names below; the
// menus' layout tables hold slots of the Messages table.
struct TextId {
    TextTableId table = TextTableId::Messages;
    int32_t slot = 0;

    static const TextId PauseMessage;
    static const TextId GroupTitle1;  // the titles of the five level groups follow it
    static const TextId LastLevelNote;
    static const TextId LevelWon;
    static const TextId LostSubtitle;
    static const TextId TimeBonusCaption;
    static const TextId MovesBonusCaption;
    static const TextId TimeUp;
    static const TextId MovesUp;
    static const TextId FirstSideCaption;  // the captions of the play screen's four side buttons follow it
    static const TextId PlayerListFull;
    static const TextId ColourSymbolsCaption;
    static const TextId MoveHintsCaption;
    static const TextId HintKeyLine;    // on the second hints page
    static const TextId SymbolsLine;    // on the second hints page
    static const TextId ReplayCaption;  // the label over a replay, before its speed
    static const TextId ReplayPaused;
    static const TextId ReplayEnded;
};
inline constexpr TextId TextId::PauseMessage{TextTableId::Messages, 104};
inline constexpr TextId TextId::GroupTitle1{TextTableId::PlayMessages, 0};
inline constexpr TextId TextId::LastLevelNote{TextTableId::PlayMessages, 5};
inline constexpr TextId TextId::LevelWon{TextTableId::PlayMessages, 6};
inline constexpr TextId TextId::LostSubtitle{TextTableId::PlayMessages, 7};
inline constexpr TextId TextId::TimeBonusCaption{TextTableId::PlayMessages, 8};
inline constexpr TextId TextId::MovesBonusCaption{TextTableId::PlayMessages, 9};
inline constexpr TextId TextId::TimeUp{TextTableId::PlayMessages, 10};
inline constexpr TextId TextId::MovesUp{TextTableId::PlayMessages, 11};
inline constexpr TextId TextId::FirstSideCaption{TextTableId::TitleCaptions, 8};
inline constexpr TextId TextId::PlayerListFull{TextTableId::LaterTexts, 0};
inline constexpr TextId TextId::ColourSymbolsCaption{TextTableId::LaterTexts, 1};
inline constexpr TextId TextId::MoveHintsCaption{TextTableId::LaterTexts, 2};
inline constexpr TextId TextId::HintKeyLine{TextTableId::LaterTexts, 3};
inline constexpr TextId TextId::SymbolsLine{TextTableId::LaterTexts, 4};
inline constexpr TextId TextId::ReplayCaption{TextTableId::LaterTexts, 30};
inline constexpr TextId TextId::ReplayPaused{TextTableId::LaterTexts, 31};
inline constexpr TextId TextId::ReplayEnded{TextTableId::LaterTexts, 32};

// One table of fixed-width, zero-terminated slots. Slots no line filled are empty.
class TextTable {
  public:
    TextTable() = default;
    explicit TextTable(const TextTableShape& shape);

    int slots() const { return slots_; }
    int width() const { return width_; }
    // The text of a slot; empty for a slot the table does not have.
    std::string_view text(int slot) const;
    // Stores `line` cut to width - 1 characters (and at a zero byte, which ends a slot's text).
    void set(int slot, std::string_view line);
    void clear();

  private:
    int slots_ = 0;
    int width_ = 0;
    std::vector<char> bytes_;
};

// Every text the game shows, by table and slot; empty for a slot a table does not have.
struct TextTables {
    TextTables();
    std::array<TextTable, kTextTableCount> tables;
    std::string_view text(TextTableId table, int slot) const;
    // The text `offset` slots after `id`.
    std::string_view text(TextId id, int offset = 0) const { return text(id.table, id.slot + offset); }
};

// Fills a table from a file's bytes: one line a slot, lines of at most 79 characters without their
// line break (a carriage return before it is dropped). A line of 80 or more characters ends the
// reading; its first 79 characters are still stored. The table is emptied first.
void readTextTable(std::string_view bytes, TextTable& table);

// One byte per line: the line read as a decimal number (leading blanks and a sign allowed, reading
// stops at the first other character, no digits give 0), its low eight bits kept.
std::vector<uint8_t> parseCharacterMap(std::string_view bytes);

// Reads "system\text00.txt" to "system\text05.txt" in that order; a missing file leaves its table empty.
void loadTexts(const GameFolder& folder, TextTables& texts);

// Reads "system\ascii": byte i is the character that glyph cell i of the sprite font shows.
void loadCharacterMap(const GameFolder& folder, std::vector<uint8_t>& characterMap);

}  // namespace data
