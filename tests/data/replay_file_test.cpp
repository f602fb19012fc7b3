#include <gtest/gtest.h>

#include "data/file_io.hpp"
#include "data/replay_file.hpp"
#include "support/test_support.hpp"

namespace {

data::Replay sampleReplay() {
    data::Replay replay;
    data::ReplayStart& start = replay.start;
    start.levelsHash = 0x1234567890abcdefull;
    start.runId = -17;
    start.playerName = "ANNA";
    start.startTime = 0xFFFFFF00u;  // the clock wraps during the level
    start.tickNumber = 4321;
    start.random = rules::Random(7).state();
    start.state.level.currentLevel = 3;
    start.state.level.remaining = 12.5f;
    start.state.board.cells[42] = 6;
    start.state.board.cellStamp[99] = -5;
    start.state.effects.clear.push_back({1, 2, 3});
    uint32_t time = start.startTime;
    for (int i = 0; i < 300; ++i) {
        data::ReplayInput input;
        time += i % 50 == 0 ? 1000 : 33;
        input.time = time;
        // The pointer moves with the clicks, as it does in play.
        input.pointerX = 300 + (i + 7) / 10 % 7;
        input.pointerY = 200 - (i + 7) / 10 % 5;
        input.escapeDown = i == 120;
        if (i % 10 == 3) {
            input.kind = data::ReplayInput::Kind::Event;
            input.eventType = 2;
            input.button = 1;
            input.atX = -4;
            input.atY = 599;
        }
        replay.inputs.push_back(input);
    }
    replay.end = data::ReplayEnd{data::ReplayEndKind::Lost, 9, 1500, 80000, {}};
    replay.end->cells[5] = 2;
    return replay;
}

std::vector<uint8_t> encode(const data::Replay& replay, bool withEnd = true) {
    std::vector<uint8_t> bytes = data::encodeReplayStart(replay.start);
    data::ReplayInput previous = data::firstPrevious(replay.start);
    for (const data::ReplayInput& input : replay.inputs) {
        data::encodeReplayInput(bytes, previous, input);
        previous = input;
    }
    if (withEnd) data::encodeReplayEnd(bytes, *replay.end);
    return bytes;
}

// A level reads back as it was written, whole or cut short by a crash; every kind of damage reads
// as that kind and never as a level.
TEST(ReplayFile, RoundTripsAndNamesItsDamage) {
    const data::Replay replay = sampleReplay();
    const std::vector<uint8_t> bytes = encode(replay);
    const data::ReplayRead read = data::parseReplay(bytes);
    ASSERT_EQ(read.status, data::ReplayStatus::Complete);
    EXPECT_EQ(read.replay.inputs, replay.inputs);
    EXPECT_EQ(read.replay.end, replay.end);
    EXPECT_EQ(read.replay.start.playerName, "ANNA");
    EXPECT_EQ(read.replay.start.runId, -17);
    EXPECT_EQ(read.replay.start.state.board, replay.start.state.board);
    EXPECT_EQ(read.replay.start.state.effects.clear, replay.start.state.effects.clear);
    EXPECT_EQ(read.replay.start.state.level.remaining, 12.5f);
    rules::Random restored(1);
    ASSERT_TRUE(restored.setState(read.replay.start.random));
    EXPECT_EQ(restored.next(), rules::Random(7).next());

    // Plain ticks take one byte: a level of 300 messages is small.
    EXPECT_LT(bytes.size() - data::encodeReplayStart(replay.start).size(), 300u * 3);

    // Cut anywhere in the messages: the messages before the cut.
    const std::vector<uint8_t> unfinished = encode(replay, false);
    const size_t startSize = data::encodeReplayStart(replay.start).size();
    for (size_t cut = startSize; cut <= unfinished.size(); cut += 37) {
        const data::ReplayRead part = data::parseReplay(std::span<const uint8_t>(unfinished).first(cut));
        ASSERT_EQ(part.status, data::ReplayStatus::Incomplete) << cut;
        ASSERT_LE(part.replay.inputs.size(), replay.inputs.size());
        EXPECT_TRUE(std::equal(part.replay.inputs.begin(), part.replay.inputs.end(), replay.inputs.begin()));
    }
    EXPECT_EQ(data::parseReplay(std::span<const uint8_t>(bytes).first(startSize - 1)).status, data::ReplayStatus::Damaged);

    std::vector<uint8_t> edited = bytes;
    edited[bytes.size() - 20] ^= 0x40;  // a ball of the end
    EXPECT_EQ(data::parseReplay(edited).status, data::ReplayStatus::Damaged);
    edited = bytes;
    edited[40] ^= 1;  // the start
    EXPECT_EQ(data::parseReplay(edited).status, data::ReplayStatus::Damaged);
    edited = bytes;
    edited[4] = 9;
    EXPECT_EQ(data::parseReplay(edited).status, data::ReplayStatus::OtherVersion);
    const std::string png = "\x89PNG\r\n\x1a\n....";
    EXPECT_EQ(data::parseReplay(std::span(reinterpret_cast<const uint8_t*>(png.data()), png.size())).status,
              data::ReplayStatus::NotAReplay);
    EXPECT_EQ(data::parseReplay(std::vector<uint8_t>(data::kReplayFileLimit + 1, 'L')).status, data::ReplayStatus::TooLarge);
}

// The folder keeps the last twenty levels and each high-score entry's best level, whatever its age.
TEST(ReplayFile, KeepsTheRecentAndTheBestOfEachEntry) {
    std::vector<data::ReplayName> files;
    for (uint64_t s = 1; s <= 30; ++s) files.push_back({s, s <= 5 ? 1 : 0, s <= 5 ? 77 : 5, static_cast<int32_t>(s % 4) * 100});
    const data::ReplayName name{12, 2, -1, 450};
    EXPECT_EQ(data::parseReplayFileName(data::replayFileName(name)), name);
    EXPECT_FALSE(data::parseReplayFileName("L0000000012-recording.lrp"));
    EXPECT_FALSE(data::parseReplayFileName(data::replayFileName(name) + ".tmp"));

    const std::vector<data::ReplayName> removed = data::replaysToRemove(files, {{1, 77}, {0, 999}}, 20);
    // Ten are old; of those, run 77's best (sequence 3, 300 points) stays.
    ASSERT_EQ(removed.size(), 9u);
    for (const data::ReplayName& r : removed) {
        EXPECT_LE(r.sequence, 10u);
        EXPECT_NE(r.sequence, 3u);
    }
    EXPECT_EQ(data::bestReplayOf(files, {1, 77})->sequence, 3u);
    EXPECT_FALSE(data::bestReplayOf(files, {2, 77}));
}

}  // namespace
