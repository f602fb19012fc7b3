#include "data/replay_file.hpp"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <type_traits>

#include "data/file_io.hpp"

namespace data {

namespace {

// Message tags. A plain tick whose pointer and keys did not change since the message before is one
// byte, its time step in milliseconds; anything else is a flags byte and the fields it names.
constexpr uint8_t kShortTickLimit = 0x60;
constexpr uint8_t kLongFlag = 0x80;
constexpr uint8_t kEventFlag = 0x01;
constexpr uint8_t kPointerFlag = 0x02;
constexpr uint8_t kKeysFlag = 0x04;
constexpr uint8_t kEndTag = 0xFF;
// A level's effect queues and flights hold a few dozen entries; an edited count stops here.
constexpr uint32_t kListLimit = 4096;
constexpr uint32_t kStartBlockLimit = 1u << 20;

uint32_t crc32(std::span<const uint8_t> bytes) {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t c = i;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    uint32_t c = 0xFFFFFFFFu;
    for (uint8_t b : bytes) c = table[(c ^ b) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

class Writer {
  public:
    explicit Writer(std::vector<uint8_t>& out) : out_(out) {}
    void u8(uint8_t v) { out_.push_back(v); }
    void u32(uint32_t v) {
        for (int i = 0; i < 4; ++i) out_.push_back(static_cast<uint8_t>(v >> (8 * i)));
    }
    void u64(uint64_t v) {
        u32(static_cast<uint32_t>(v));
        u32(static_cast<uint32_t>(v >> 32));
    }
    void varint(uint64_t v) {
        while (v >= 0x80) {
            out_.push_back(static_cast<uint8_t>(v | 0x80));
            v >>= 7;
        }
        out_.push_back(static_cast<uint8_t>(v));
    }
    void signedVarint(int64_t v) { varint((static_cast<uint64_t>(v) << 1) ^ static_cast<uint64_t>(v >> 63)); }

    // The fields of the rules' state.
    void field(bool v) { u8(v ? 1 : 0); }
    void field(uint8_t v) { u8(v); }
    void field(int32_t v) { u32(static_cast<uint32_t>(v)); }
    void field(uint32_t v) { u32(v); }
    void field(float v) {
        uint32_t bits;
        std::memcpy(&bits, &v, 4);
        u32(bits);
    }
    template <class E>
    requires std::is_enum_v<E>
    void field(E v) { field(static_cast<std::underlying_type_t<E>>(v)); }
    template <class T, size_t N>
    void field(const std::array<T, N>& a) {
        for (const T& v : a) field(v);
    }
    template <class T>
    void field(const std::vector<T>& list) {
        u32(static_cast<uint32_t>(list.size()));
        for (const T& v : list) field(v);
    }
    void field(const rules::EffectEntry& e) {
        field(e.column);
        field(e.row);
        field(e.frame);
    }
    void field(const rules::BonusFlightRequest& f) {
        field(f.pictureRow);
        field(f.startSlot);
        field(f.column);
        field(f.row);
    }
    void field(const rules::RuneSlot& s) {
        field(s.state);
        field(s.counter);
    }
    void field(const rules::Board& b) {
        field(b.cells);
        field(b.cellBonus);
        field(b.cellStamp);
    }
    void field(const rules::LevelDefinition& d);

  private:
    std::vector<uint8_t>& out_;
};

class Reader {
  public:
    explicit Reader(std::span<const uint8_t> bytes) : bytes_(bytes) {}
    bool ok() const { return ok_; }
    bool atEnd() const { return pos_ >= bytes_.size(); }
    size_t position() const { return pos_; }
    void fail() { ok_ = false; }

    uint8_t u8() {
        if (pos_ >= bytes_.size()) {
            ok_ = false;
            return 0;
        }
        return bytes_[pos_++];
    }
    uint32_t u32() {
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(u8()) << (8 * i);
        return v;
    }
    uint64_t u64() {
        const uint64_t low = u32();
        return low | static_cast<uint64_t>(u32()) << 32;
    }
    uint64_t varint() {
        uint64_t v = 0;
        for (int shift = 0; shift < 64; shift += 7) {
            const uint8_t b = u8();
            v |= static_cast<uint64_t>(b & 0x7F) << shift;
            if (!(b & 0x80)) return v;
        }
        ok_ = false;
        return 0;
    }
    int64_t signedVarint() {
        const uint64_t v = varint();
        return static_cast<int64_t>(v >> 1) ^ -static_cast<int64_t>(v & 1);
    }

    void field(bool& v) { v = u8() != 0; }
    void field(uint8_t& v) { v = u8(); }
    void field(int32_t& v) { v = static_cast<int32_t>(u32()); }
    void field(uint32_t& v) { v = u32(); }
    void field(float& v) {
        const uint32_t bits = u32();
        std::memcpy(&v, &bits, 4);
    }
    template <class E>
    requires std::is_enum_v<E>
    void field(E& v) {
        std::underlying_type_t<E> raw{};
        field(raw);
        v = static_cast<E>(raw);
    }
    template <class T, size_t N>
    void field(std::array<T, N>& a) {
        for (T& v : a) field(v);
    }
    template <class T>
    void field(std::vector<T>& list) {
        const uint32_t n = u32();
        if (n > kListLimit) {
            ok_ = false;
            return;
        }
        list.assign(n, T{});
        for (T& v : list) field(v);
    }
    void field(rules::EffectEntry& e) {
        field(e.column);
        field(e.row);
        field(e.frame);
    }
    void field(rules::BonusFlightRequest& f) {
        field(f.pictureRow);
        field(f.startSlot);
        field(f.column);
        field(f.row);
    }
    void field(rules::RuneSlot& s) {
        field(s.state);
        field(s.counter);
    }
    void field(rules::Board& b) {
        field(b.cells);
        field(b.cellBonus);
        field(b.cellStamp);
    }
    void field(rules::LevelDefinition& d);

  private:
    std::span<const uint8_t> bytes_;
    size_t pos_ = 0;
    bool ok_ = true;
};

template <class IO, class D>
void levelDefinitionFields(IO& io, D& d) {
    io.field(d.bonusRatio);
    io.field(d.runesSquare2x2);
    io.field(d.runesSquare2x3);
    io.field(d.runesDiagonal);
    io.field(d.runesFigure);
    io.field(d.bonusDuration);
    io.field(d.target);
    io.field(d.limit);
    io.field(d.colors);
    io.field(d.square4);
    io.field(d.square6);
    io.field(d.diagonal);
    io.field(d.vh);
    io.field(d.scoreBoost);
    io.field(d.ball);
}

void Writer::field(const rules::LevelDefinition& d) { levelDefinitionFields(*this, d); }
void Reader::field(rules::LevelDefinition& d) { levelDefinitionFields(*this, d); }

// Every field of the rules' state but the level file's tables, which the file's hash stands for.
// A field added to rules::GameState belongs here too, with a new version number.
template <class IO, class S>
void stateFields(IO& io, S& s) {
    io.field(s.board);
    io.field(s.playState);
    io.field(s.gameMode);
    auto& m = s.moves;
    io.field(m.pendingBlockTurn.active);
    io.field(m.pendingBlockTurn.blockColumn);
    io.field(m.pendingBlockTurn.blockRow);
    io.field(m.pendingBlockTurn.direction);
    io.field(m.pendingBlockTurn.frame);
    io.field(m.boardTurn.direction);
    io.field(m.boardTurn.frame);
    io.field(m.moveMade);
    io.field(m.lastBoardClickTime);
    io.field(m.lastBoardClickTimeSet);
    auto& l = s.level;
    io.field(l.nextLevel);
    io.field(l.currentLevel);
    io.field(l.levelScore);
    io.field(l.totalScore);
    io.field(l.target);
    io.field(l.limit);
    io.field(l.remaining);
    io.field(l.progressPercent);
    io.field(l.levelStartTime);
    io.field(l.freezeOn);
    io.field(l.freezeStart);
    io.field(l.thawOn);
    io.field(l.thawStart);
    io.field(l.pauseStart);
    io.field(l.levelWon);
    io.field(l.levelRunning);
    io.field(l.endBonusBase);
    io.field(l.endBonusShown);
    io.field(l.endTotalScore);
    io.field(l.resumeSaved);
    io.field(l.resumeElapsedSeconds);
    io.field(l.resumeMovesLeft);
    io.field(l.resumeBoard);
    io.field(l.inResumedLevel);
    io.field(l.pausedState);
    io.field(l.intermissionStartedAt);
    io.field(l.tipTimerAt);
    io.field(l.tipPending);
    io.field(l.currentRunId);
    io.field(l.passPoints);
    io.field(l.passFigures);
    io.field(l.definition);
    io.field(s.runePoints);
    io.field(s.runeSlots);
    io.field(s.fall.fallOffset);
    io.field(s.fall.fallStepDue);
    io.field(s.fall.fallPrimed);
    io.field(s.fall.fallSoundIndex);
    io.field(s.chain.chainRunning);
    io.field(s.chain.comboIndex);
    io.field(s.chain.matchEvents);
    io.field(s.reveal.preparedCells);
    io.field(s.reveal.revealOrder);
    io.field(s.reveal.revealColours);
    io.field(s.reveal.revealCount);
    io.field(s.shuffle.shuffleCells);
    io.field(s.shuffle.shuffleBonus);
    io.field(s.shuffle.shuffleStamps);
    io.field(s.shuffle.shuffleTick);
    io.field(s.fallOut.fallOffsets);
    io.field(s.fallOut.fallenCount);
    io.field(s.effects.burst);
    io.field(s.effects.clear);
    io.field(s.effects.reveal);
    io.field(s.effects.frames);
    auto& r = s.requests;
    io.field(r.bonusFlights);
    io.field(r.explodeTipPending);
    io.field(r.explodeTipAt);
    io.field(r.explodeTipShown);
    io.field(r.explodeTipColour);
    io.field(r.shuffleTip);
    io.field(r.stuckDialog);
    io.field(r.recordRun);
    io.field(r.gameComplete);
    io.field(r.startGameMusic);
    io.field(r.levelSetUp);
    io.field(r.figuresTip);
    io.field(r.levelTips);
    io.field(s.player.toShowTips);
    io.field(s.player.shuffleTipShown);
}

void writeWords(Writer& w, const std::vector<uint32_t>& words) {
    w.varint(words.size());
    for (uint32_t word : words) w.u32(word);
}

std::vector<uint32_t> readWords(Reader& r) {
    const uint64_t n = r.varint();
    if (n > kListLimit) {
        r.fail();
        return {};
    }
    std::vector<uint32_t> words(static_cast<size_t>(n));
    for (uint32_t& word : words) word = r.u32();
    return words;
}

std::vector<uint8_t> startBlock(const ReplayStart& s) {
    std::vector<uint8_t> block;
    Writer w(block);
    w.u64(s.levelsHash);
    w.u64(static_cast<uint64_t>(s.recordedAt));
    w.field(s.runId);
    w.varint(s.playerName.size());
    for (char c : s.playerName) w.u8(static_cast<uint8_t>(c));
    w.u32(s.startTime);
    w.u64(static_cast<uint64_t>(s.tickNumber));
    w.field(s.playFrameBefore);
    w.field(s.suspended);
    w.field(s.pausedByFocus);
    w.field(s.graphicsLoaded);
    w.field(s.activatedAt);
    w.field(s.swallowedCharacter);
    w.field(s.toShowTips);
    w.field(s.shuffleTipShown);
    w.field(s.colourSymbols);
    w.field(s.moveHints);
    w.field(s.cursorColumn);
    w.field(s.cursorRow);
    w.field(s.cursorShown);
    writeWords(w, s.random);
    writeWords(w, s.decoration);
    stateFields(w, s.state);
    return block;
}

bool readStartBlock(std::span<const uint8_t> block, ReplayStart& s) {
    Reader r(block);
    s.levelsHash = r.u64();
    s.recordedAt = static_cast<int64_t>(r.u64());
    r.field(s.runId);
    const uint64_t nameLength = r.varint();
    if (nameLength > 64) return false;
    for (uint64_t i = 0; i < nameLength && r.ok(); ++i) s.playerName += static_cast<char>(r.u8());
    s.startTime = r.u32();
    s.tickNumber = static_cast<int64_t>(r.u64());
    r.field(s.playFrameBefore);
    r.field(s.suspended);
    r.field(s.pausedByFocus);
    r.field(s.graphicsLoaded);
    r.field(s.activatedAt);
    r.field(s.swallowedCharacter);
    r.field(s.toShowTips);
    r.field(s.shuffleTipShown);
    r.field(s.colourSymbols);
    r.field(s.moveHints);
    r.field(s.cursorColumn);
    r.field(s.cursorRow);
    r.field(s.cursorShown);
    if (s.cursorColumn < 0 || s.cursorColumn >= rules::kColumns / 2 || s.cursorRow < 0 || s.cursorRow >= rules::kRows / 2)
        return false;
    s.random = readWords(r);
    s.decoration = readWords(r);
    stateFields(r, s.state);
    return r.ok() && r.atEnd();
}

void writeEndFields(Writer& w, const ReplayEnd& e) {
    w.u8(static_cast<uint8_t>(e.kind));
    w.field(e.playState);
    w.field(e.levelScore);
    w.field(e.totalScore);
    w.field(e.cells);
}

}  // namespace

ReplayInput firstPrevious(const ReplayStart& start) {
    ReplayInput previous;
    previous.time = start.startTime;
    return previous;
}

std::vector<uint8_t> encodeReplayStart(const ReplayStart& start) {
    const std::vector<uint8_t> block = startBlock(start);
    std::vector<uint8_t> out(kReplayMagic.begin(), kReplayMagic.end());
    Writer w(out);
    w.u8(static_cast<uint8_t>(kReplayVersion));
    w.u8(static_cast<uint8_t>(kReplayVersion >> 8));
    w.u32(static_cast<uint32_t>(block.size()));
    out.insert(out.end(), block.begin(), block.end());
    w.u32(crc32(block));
    return out;
}

void encodeReplayInput(std::vector<uint8_t>& out, const ReplayInput& previous, const ReplayInput& input) {
    Writer w(out);
    const uint32_t step = input.time - previous.time;
    const bool pointerMoved = input.pointerX != previous.pointerX || input.pointerY != previous.pointerY;
    const bool keysChanged = input.escapeDown != previous.escapeDown || input.surfacesLost != previous.surfacesLost;
    const bool event = input.kind == ReplayInput::Kind::Event;
    if (!event && !pointerMoved && !keysChanged && step < kShortTickLimit) {
        w.u8(static_cast<uint8_t>(step));
        return;
    }
    w.u8(static_cast<uint8_t>(kLongFlag | (event ? kEventFlag : 0) | (pointerMoved ? kPointerFlag : 0) |
                              (keysChanged ? kKeysFlag : 0)));
    w.varint(step);
    if (pointerMoved) {
        w.signedVarint(int64_t{input.pointerX} - previous.pointerX);
        w.signedVarint(int64_t{input.pointerY} - previous.pointerY);
    }
    if (keysChanged) w.u8(static_cast<uint8_t>((input.escapeDown ? 1 : 0) | (input.surfacesLost ? 2 : 0)));
    if (event) {
        w.u8(input.eventType);
        w.u8(input.button);
        w.u8(input.clicks);
        w.u8(input.key);
        w.u8(input.character);
        w.u8(input.shift);
        w.u8(input.pad);
        w.signedVarint(input.atX);
        w.signedVarint(input.atY);
    }
}

void encodeReplayEnd(std::vector<uint8_t>& file, const ReplayEnd& end) {
    Writer w(file);
    w.u8(kEndTag);
    writeEndFields(w, end);
    w.u32(crc32(file));
}

namespace {

ReplayRead parseReplayParts(std::span<const uint8_t> bytes) {
    ReplayRead result;
    if (bytes.size() > kReplayFileLimit) {
        result.status = ReplayStatus::TooLarge;
        return result;
    }
    if (bytes.size() < 6 || !std::equal(kReplayMagic.begin(), kReplayMagic.end(), bytes.begin())) {
        result.status = ReplayStatus::NotAReplay;
        return result;
    }
    const uint16_t version = static_cast<uint16_t>(bytes[4] | bytes[5] << 8);
    if (version != kReplayVersion) {
        result.status = ReplayStatus::OtherVersion;
        return result;
    }
    result.status = ReplayStatus::Damaged;
    Reader r(bytes.subspan(6));
    const uint32_t blockSize = r.u32();
    if (!r.ok() || blockSize > kStartBlockLimit || blockSize > bytes.size() - 10 || bytes.size() - 10 - blockSize < 4)
        return result;
    const std::span<const uint8_t> block = bytes.subspan(10, blockSize);
    Reader crcReader(bytes.subspan(10 + blockSize, 4));
    if (crcReader.u32() != crc32(block) || !readStartBlock(block, result.replay.start)) return result;

    const size_t messagesAt = 14 + static_cast<size_t>(blockSize);
    Reader m(bytes.subspan(messagesAt));
    ReplayInput previous = firstPrevious(result.replay.start);
    std::vector<ReplayInput>& inputs = result.replay.inputs;
    while (!m.atEnd()) {
        const uint8_t tag = m.u8();
        ReplayInput input = previous;
        input.kind = ReplayInput::Kind::Tick;
        input.eventType = input.button = input.key = input.character = input.shift = input.pad = 0;
        input.clicks = 1;
        input.atX = input.atY = 0;
        if (tag == kEndTag) {
            ReplayEnd end;
            end.kind = static_cast<ReplayEndKind>(m.u8());
            m.field(end.playState);
            m.field(end.levelScore);
            m.field(end.totalScore);
            m.field(end.cells);
            const size_t checkedEnd = messagesAt + m.position();
            const uint32_t stored = m.u32();
            if (!m.ok() || !m.atEnd() || end.kind < ReplayEndKind::Won || end.kind > ReplayEndKind::Closed ||
                stored != crc32(bytes.first(checkedEnd)))
                return result;
            result.replay.end = end;
            result.status = ReplayStatus::Complete;
            return result;
        }
        if (tag < kShortTickLimit) {
            input.time = previous.time + tag;
        } else if (tag & kLongFlag) {
            input.time = previous.time + static_cast<uint32_t>(m.varint());
            if (tag & kPointerFlag) {
                input.pointerX = static_cast<int32_t>(previous.pointerX + m.signedVarint());
                input.pointerY = static_cast<int32_t>(previous.pointerY + m.signedVarint());
            }
            if (tag & kKeysFlag) {
                const uint8_t keys = m.u8();
                input.escapeDown = keys & 1;
                input.surfacesLost = keys & 2;
            }
            if (tag & kEventFlag) {
                input.kind = ReplayInput::Kind::Event;
                input.eventType = m.u8();
                input.button = m.u8();
                input.clicks = m.u8();
                input.key = m.u8();
                input.character = m.u8();
                input.shift = m.u8();
                input.pad = m.u8();
                input.atX = static_cast<int32_t>(m.signedVarint());
                input.atY = static_cast<int32_t>(m.signedVarint());
            }
            if (tag & ~(kLongFlag | kEventFlag | kPointerFlag | kKeysFlag)) return result;
        } else {
            return result;
        }
        // A record cut off by a crash ends what can be played.
        if (!m.ok()) break;
        inputs.push_back(input);
        previous = input;
    }
    result.status = ReplayStatus::Incomplete;
    return result;
}

}  // namespace

ReplayRead parseReplay(std::span<const uint8_t> bytes) {
    ReplayRead read = parseReplayParts(bytes);
    // Nothing of a file that does not hold is played, not even the messages before the damage.
    if (!read.playable()) read.replay = {};
    return read;
}

ReplayRead readReplay(const std::filesystem::path& file) {
    std::error_code error;
    const auto size = std::filesystem::file_size(file, error);
    if (!error && size > kReplayFileLimit) return {ReplayStatus::TooLarge, {}};
    const std::optional<std::vector<uint8_t>> bytes = readWholeFile(file, kReplayFileLimit);
    if (!bytes) return {ReplayStatus::Missing, {}};
    return parseReplay(*bytes);
}

std::string describeReplayStatus(ReplayStatus status) {
    switch (status) {
        case ReplayStatus::Complete: return "complete";
        case ReplayStatus::Incomplete: return "incomplete: the level's end is missing, what is there plays";
        case ReplayStatus::Missing: return "missing or unreadable";
        case ReplayStatus::NotAReplay: return "not a Lumerik replay";
        case ReplayStatus::OtherVersion: return "a replay of another version of the game";
        case ReplayStatus::Damaged: return "damaged (its checksum or its records do not hold)";
        case ReplayStatus::TooLarge: return "too large to be a replay";
    }
    return "unknown";
}

uint64_t hashBytes(std::span<const uint8_t> bytes) {
    uint64_t h = 0xcbf29ce484222325ull;
    for (uint8_t b : bytes) {
        h ^= b;
        h *= 0x100000001b3ull;
    }
    return h;
}

std::string replayFileName(const ReplayName& name) {
    char text[96];
    std::snprintf(text, sizeof text, "L%010llu-t%d-r%08x-s%d.lrp", static_cast<unsigned long long>(name.sequence), name.table,
                  static_cast<uint32_t>(name.runId), name.levelScore);
    return text;
}

std::optional<ReplayName> parseReplayFileName(const std::string& fileName) {
    unsigned long long sequence = 0;
    int table = 0;
    unsigned run = 0;
    int score = 0;
    int consumed = 0;
    if (std::sscanf(fileName.c_str(), "L%10llu-t%d-r%8x-s%d.lrp%n", &sequence, &table, &run, &score, &consumed) != 4 ||
        consumed != static_cast<int>(fileName.size()))
        return std::nullopt;
    ReplayName name{sequence, table, static_cast<int32_t>(run), score};
    if (replayFileName(name) != fileName) return std::nullopt;
    return name;
}

std::optional<ReplayName> bestReplayOf(const std::vector<ReplayName>& files, ReplayEntryKey entry) {
    std::optional<ReplayName> best;
    for (const ReplayName& f : files) {
        if (f.table != entry.table || f.runId != entry.runId) continue;
        if (!best || f.levelScore > best->levelScore || (f.levelScore == best->levelScore && f.sequence > best->sequence))
            best = f;
    }
    return best;
}

std::vector<ReplayName> replaysToRemove(const std::vector<ReplayName>& files, const std::vector<ReplayEntryKey>& entries,
                                        size_t keepLast) {
    std::vector<ReplayName> sorted = files;
    std::sort(sorted.begin(), sorted.end(), [](const ReplayName& a, const ReplayName& b) { return a.sequence > b.sequence; });
    std::vector<ReplayName> keep(sorted.begin(), sorted.begin() + static_cast<std::ptrdiff_t>(std::min(keepLast, sorted.size())));
    for (const ReplayEntryKey& entry : entries)
        if (std::optional<ReplayName> best = bestReplayOf(files, entry)) keep.push_back(*best);
    std::vector<ReplayName> remove;
    for (const ReplayName& f : sorted)
        if (std::find(keep.begin(), keep.end(), f) == keep.end()) remove.push_back(f);
    return remove;
}

}  // namespace data
