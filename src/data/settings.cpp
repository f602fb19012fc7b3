#include "data/settings.hpp"

#include <algorithm>
#include <array>
#include <initializer_list>

namespace data {

namespace {

constexpr std::string_view kSignature = "Lumerik settings";
constexpr std::string_view kMachineHeading = "machine";
constexpr std::string_view kPlayerHeading = "player";

enum class Section : uint8_t { None, Machine, Player };

enum SettingsKeyId : int { KeyWindow, KeyColourSymbols, KeyMoveHints };

struct Range {
    int32_t low;
    int32_t high;
};

constexpr size_t kMaxValues = 4;

struct SettingsKey {
    std::string_view word;
    Section section;
    SettingsKeyId id;
    size_t count;  // the numbers the key takes
    std::array<Range, kMaxValues> ranges;
};

constexpr Range kSwitch{0, 1};
constexpr Range kCorner{-kWindowCoordinateLimit, kWindowCoordinateLimit};
constexpr Range kSide{1, kWindowCoordinateLimit};

// In the order of their ids, so the writer finds each key's word by its id.
constexpr SettingsKey kSettingsKeys[] = {
    {"window", Section::Machine, KeyWindow, 4, {kCorner, kCorner, kSide, kSide}},
    {"colourSymbols", Section::Player, KeyColourSymbols, 1, {kSwitch}},
    {"moveHints", Section::Player, KeyMoveHints, 1, {kSwitch}},
};
static_assert(kSettingsKeys[KeyWindow].id == KeyWindow && kSettingsKeys[KeyColourSymbols].id == KeyColourSymbols &&
              kSettingsKeys[KeyMoveHints].id == KeyMoveHints);

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view trimmed(std::string_view line) {
    while (!line.empty() && isBlank(line.front())) line.remove_prefix(1);
    while (!line.empty() && isBlank(line.back())) line.remove_suffix(1);
    return line;
}

// The next word of `line`, taken off its front.
std::string_view takeWord(std::string_view& line) {
    line = trimmed(line);
    size_t end = 0;
    while (end < line.size() && !isBlank(line[end])) ++end;
    const std::string_view word = line.substr(0, end);
    line.remove_prefix(end);
    return word;
}

// An optional minus sign and decimal digits, held to `range`; nothing for any other word.
std::optional<int32_t> parseNumber(std::string_view word, Range range) {
    const bool negative = !word.empty() && word.front() == '-';
    if (negative) word.remove_prefix(1);
    if (word.empty()) return std::nullopt;
    // Past the limits, more digits change nothing: the value is held to the range anyway.
    constexpr int64_t kCeiling = int64_t{1} << 40;
    int64_t value = 0;
    for (char c : word) {
        if (!isDigit(c)) return std::nullopt;
        value = std::min(value * 10 + (c - '0'), kCeiling);
    }
    if (negative) value = -value;
    return static_cast<int32_t>(std::clamp<int64_t>(value, range.low, range.high));
}

int hexDigit(char c) {
    if (isDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// A quoted name with its escapes, and nothing after it; nothing for a name no player can have.
std::optional<std::string> parseQuotedName(std::string_view text) {
    if (text.size() < 2 || text.front() != '"' || text.back() != '"') return std::nullopt;
    text = text.substr(1, text.size() - 2);
    std::string name;
    for (size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte == '"' || byte < 0x20) return std::nullopt;
        if (byte != '\\') {
            name.push_back(static_cast<char>(byte));
        } else if (i + 1 < text.size() && (text[i + 1] == '\\' || text[i + 1] == '"')) {
            name.push_back(text[++i]);
        } else if (i + 3 < text.size() && text[i + 1] == 'x' && hexDigit(text[i + 2]) >= 0 && hexDigit(text[i + 3]) >= 0) {
            const int value = hexDigit(text[i + 2]) * 16 + hexDigit(text[i + 3]);
            if (value == 0) return std::nullopt;  // a name ends at a zero byte
            name.push_back(static_cast<char>(value));
            i += 3;
        } else {
            return std::nullopt;
        }
        if (name.size() > kSettingsNameLimit) return std::nullopt;
    }
    return name;
}

void appendQuotedName(std::string& out, std::string_view name) {
    constexpr char kHex[] = "0123456789abcdef";
    out.push_back('"');
    for (char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == '"' || byte == '\\') {
            out.push_back('\\');
            out.push_back(c);
        } else if (byte >= 0x20 && byte < 0x7f) {
            out.push_back(c);
        } else {
            out.append("\\x").push_back(kHex[byte >> 4]);
            out.push_back(kHex[byte & 15]);
        }
    }
    out.push_back('"');
}

void appendKey(std::string& out, SettingsKeyId id, std::initializer_list<int32_t> values) {
    out.append(kSettingsKeys[id].word);
    for (int32_t v : values) out.append(" ").append(std::to_string(v));
    out.push_back('\n');
}

// The scan's place in the text: the section that keys apply to, and for a player's section the
// player's options.
struct ScanState {
    Section section = Section::None;
    PlayerOptions* player = nullptr;
};

// "[machine]", "[player "NAME"]"; any other line that opens a bracket, or a name no player can
// have, starts a section whose lines are all skipped.
void enterSection(std::string_view heading, Settings& settings, ScanState& state) {
    state = {};
    if (heading.size() < 2 || heading.back() != ']') return;
    heading = trimmed(heading.substr(1, heading.size() - 2));
    const std::string_view kind = takeWord(heading);
    heading = trimmed(heading);
    if (kind == kMachineHeading && heading.empty()) {
        state.section = Section::Machine;
    } else if (kind == kPlayerHeading) {
        if (const std::optional<std::string> name = parseQuotedName(heading)) {
            state.section = Section::Player;
            state.player = &settings.players[*name];
        }
    }
}

void applyKey(const SettingsKey& key, const std::array<int32_t, kMaxValues>& v, Settings& settings, ScanState& state) {
    switch (key.id) {
        case KeyWindow: settings.machine.window = WindowPlacement{v[0], v[1], v[2], v[3]}; return;
        case KeyColourSymbols: state.player->colourSymbols = v[0] != 0; return;
        case KeyMoveHints: state.player->moveHints = v[0] != 0; return;
    }
}

void scanLine(std::string_view line, Settings& settings, ScanState& state) {
    line = trimmed(line);
    if (!line.empty() && line.front() == '[') {
        enterSection(line, settings, state);
        return;
    }
    const std::string_view word = takeWord(line);
    const auto key = std::find_if(std::begin(kSettingsKeys), std::end(kSettingsKeys),
                                  [&](const SettingsKey& k) { return k.word == word && k.section == state.section; });
    if (key == std::end(kSettingsKeys)) return;
    std::array<int32_t, kMaxValues> values{};
    for (size_t i = 0; i < key->count; ++i) {
        const std::optional<int32_t> value = parseNumber(takeWord(line), key->ranges[i]);
        if (!value) return;
        values[i] = *value;
    }
    applyKey(*key, values, settings, state);
}

}  // namespace

PlayerOptions playerOptions(const Settings& settings, std::string_view name) {
    const auto found = settings.players.find(name);
    return found == settings.players.end() ? PlayerOptions{} : found->second;
}

void carryPlayerOptions(Settings& settings, std::string_view from, std::string_view to) {
    settings.players.insert_or_assign(std::string(to), playerOptions(settings, from));
}

void forgetPlayersBut(Settings& settings, std::span<const std::string> names) {
    std::vector<std::string_view> kept(names.begin(), names.end());
    std::sort(kept.begin(), kept.end());
    std::erase_if(settings.players,
                  [&](const auto& entry) { return !std::binary_search(kept.begin(), kept.end(), entry.first); });
}

Settings settingsForPlayers(const Settings& settings, std::span<const PlayerProfile> players) {
    Settings kept;
    kept.machine = settings.machine;
    kept.keepFile = settings.keepFile;
    for (const PlayerProfile& player : players) {
        const std::string name = player.name();
        kept.players.emplace(name, playerOptions(settings, name));
    }
    return kept;
}

Settings scanSettingsText(std::string_view text) {
    Settings settings;
    const size_t firstEnd = std::min(text.find('\n'), text.size());
    if (!text.substr(0, firstEnd).starts_with(kSignature)) return settings;
    ScanState state;
    for (size_t at = firstEnd; at < text.size();) {
        ++at;  // past the line feed
        const size_t end = std::min(text.find('\n', at), text.size());
        scanLine(text.substr(at, end - at), settings, state);
        at = end;
    }
    return settings;
}

std::string writeSettingsText(const Settings& settings) {
    std::string out;
    out.append(kSignature)
        .append(
            "\n"
            "# written by the game at every save; a line the game does not know is skipped\n"
            "\n[")
        .append(kMachineHeading)
        .append("]\n");
    if (const std::optional<WindowPlacement>& w = settings.machine.window)
        appendKey(out, KeyWindow, {w->x, w->y, w->width, w->height});
    std::string section;
    for (const auto& [name, options] : settings.players) {
        // A name the reader would refuse would not come back.
        if (name.size() > kSettingsNameLimit || name.find('\0') != std::string::npos) continue;
        section.assign("\n[").append(kPlayerHeading).append(" ");
        appendQuotedName(section, name);
        section.append("]\n");
        appendKey(section, KeyColourSymbols, {options.colourSymbols ? 1 : 0});
        appendKey(section, KeyMoveHints, {options.moveHints ? 1 : 0});
        if (out.size() + section.size() > kSettingsFileLimit) break;
        out.append(section);
    }
    return out;
}

Settings loadSettings(const GameFolder& folder) {
    const std::filesystem::path file = folder.resolveWritable(kSettingsFile);
    const auto bytes = readWholeFile(file, kSettingsFileLimit);
    Settings settings;
    if (bytes) settings = scanSettingsText(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
    settings.keepFile = !bytes && unreadableFile(file);
    return settings;
}

WriteResult saveSettings(const GameFolder& folder, const Settings& settings, std::span<const PlayerProfile> players) {
    if (settings.keepFile) return keptUnread(kSettingsFile);
    const std::string text = writeSettingsText(settingsForPlayers(settings, players));
    return writeFileAtomically(folder.writable(kSettingsFile),
                               std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

}  // namespace data
