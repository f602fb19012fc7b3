#include "data/texts.hpp"

#include <algorithm>
#include <cstdio>
#include <string>

namespace data {

namespace {

// The longest line the game reads; a longer one ends the file.
constexpr size_t kLineChars = 79;

// No table needs more than this of its file: every slot's line with its CR LF, and one long line.
size_t bytesNeeded(int slots) { return static_cast<size_t>(slots + 1) * (kLineChars + 2); }

// The character map is as long as its file, but no sprite font has glyph cells for more than this.
constexpr size_t kCharacterMapBytes = 1 << 20;

// Calls take(line) for each line until take returns false. A carriage return before a line break
// (or at the very end) is dropped; a line break at the very end adds no empty line.
template <typename Take>
void forEachLine(std::string_view bytes, Take take) {
    size_t pos = 0;
    while (pos < bytes.size()) {
        const size_t start = pos;
        size_t count = 0;
        bool ended = false;
        while (pos < bytes.size()) {
            const char c = bytes[pos];
            if (c == '\n') {
                ++pos;
                ended = true;
                break;
            }
            if (c == '\r' && (pos + 1 == bytes.size() || bytes[pos + 1] == '\n')) {
                pos = std::min(pos + 2, bytes.size());
                ended = true;
                break;
            }
            if (count == kLineChars) break;
            ++count;
            ++pos;
        }
        const bool tooLong = !ended && pos < bytes.size();
        if (!take(bytes.substr(start, count)) || tooLong) return;
    }
}

// Decimal conversion as the C library's: blanks, a sign, digits up to the first other character.
// Values beyond 32 bits stop at the nearest 32-bit value.
int32_t decimalOf(std::string_view line) {
    size_t i = 0;
    while (i < line.size() && (line[i] == ' ' || (line[i] >= '\t' && line[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < line.size() && (line[i] == '+' || line[i] == '-')) negative = line[i++] == '-';
    int64_t value = 0;
    for (; i < line.size() && line[i] >= '0' && line[i] <= '9'; ++i)
        value = std::min<int64_t>(value * 10 + (line[i] - '0'), int64_t{INT32_MAX} + 1);
    value = negative ? -value : std::min<int64_t>(value, INT32_MAX);
    return static_cast<int32_t>(value);
}

std::string readPrefix(const std::filesystem::path& file, size_t maxBytes) {
    std::string bytes;
    std::FILE* f = std::fopen(file.c_str(), "rb");
    if (!f) return bytes;
    bytes.resize(maxBytes);
    bytes.resize(std::fread(bytes.data(), 1, maxBytes, f));
    std::fclose(f);
    return bytes;
}

}  // namespace

TextTable::TextTable(const TextTableShape& shape)
    : slots_(shape.slots), width_(shape.width), bytes_(static_cast<size_t>(shape.slots * shape.width), '\0') {}

std::string_view TextTable::text(int slot) const {
    if (slot < 0 || slot >= slots_) return {};
    const char* start = bytes_.data() + static_cast<size_t>(slot * width_);
    return std::string_view(start, std::find(start, start + width_ - 1, '\0') - start);
}

void TextTable::set(int slot, std::string_view line) {
    if (slot < 0 || slot >= slots_ || width_ < 1) return;
    char* start = bytes_.data() + static_cast<size_t>(slot * width_);
    std::fill(start, start + width_, '\0');
    const size_t length = std::min(line.size(), static_cast<size_t>(width_ - 1));
    std::copy_n(line.data(), length, start);
}

void TextTable::clear() { std::fill(bytes_.begin(), bytes_.end(), '\0'); }

TextTables::TextTables() {
    for (size_t t = 0; t < tables.size(); ++t) tables[t] = TextTable(kTextTableShapes[t]);
}

std::string_view TextTables::text(TextTableId table, int slot) const {
    const auto index = static_cast<size_t>(table);
    if (index >= tables.size()) return {};
    return tables[index].text(slot);
}

void readTextTable(std::string_view bytes, TextTable& table) {
    table.clear();
    int slot = 0;
    forEachLine(bytes, [&](std::string_view line) {
        table.set(slot++, line);
        return slot < table.slots();
    });
}

std::vector<uint8_t> parseCharacterMap(std::string_view bytes) {
    std::vector<uint8_t> map;
    forEachLine(bytes, [&](std::string_view line) {
        map.push_back(static_cast<uint8_t>(decimalOf(line)));
        return true;
    });
    return map;
}

void loadTexts(const GameFolder& folder, TextTables& texts) {
    for (size_t t = 0; t < texts.tables.size(); ++t) {
        const TextTableShape& shape = kTextTableShapes[t];
        readTextTable(readPrefix(folder.resolve(shape.file), bytesNeeded(shape.slots)), texts.tables[t]);
    }
}

void loadCharacterMap(const GameFolder& folder, std::vector<uint8_t>& characterMap) {
    characterMap = parseCharacterMap(readPrefix(folder.resolve("system\\ascii"), kCharacterMapBytes));
}

}  // namespace data
