// "replays\*.lrp": a recorded level from any bytes. What reads as playable writes back to the same
// messages and end, and a cut copy of it still reads as a prefix.
#include <span>

#include "data/replay_file.hpp"
#include "fuzz_check.hpp"

namespace {

std::vector<uint8_t> rewrite(const data::Replay& replay) {
    std::vector<uint8_t> bytes = data::encodeReplayStart(replay.start);
    data::ReplayInput previous = data::firstPrevious(replay.start);
    for (const data::ReplayInput& input : replay.inputs) {
        data::encodeReplayInput(bytes, previous, input);
        previous = input;
    }
    if (replay.end) data::encodeReplayEnd(bytes, *replay.end);
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const data::ReplayRead read = data::parseReplay(std::span<const uint8_t>(data, size));
    if (!read.playable()) {
        FUZZ_CHECK(read.replay.inputs.empty());
        return 0;
    }
    FUZZ_CHECK(read.replay.end.has_value() == (read.status == data::ReplayStatus::Complete));
    const std::vector<uint8_t> written = rewrite(read.replay);
    const data::ReplayRead again = data::parseReplay(written);
    FUZZ_CHECK(again.status == read.status);
    FUZZ_CHECK(again.replay.inputs == read.replay.inputs);
    FUZZ_CHECK(again.replay.end == read.replay.end);
    // A crash cuts the file anywhere: what is left reads as incomplete with the messages before the cut.
    if (!written.empty()) {
        const size_t cut = written.size() - 1 - data[0] % written.size();
        const data::ReplayRead partial = data::parseReplay(std::span<const uint8_t>(written.data(), cut));
        if (partial.playable()) {
            FUZZ_CHECK(partial.status == data::ReplayStatus::Incomplete);
            FUZZ_CHECK(partial.replay.inputs.size() <= read.replay.inputs.size());
            FUZZ_CHECK(std::equal(partial.replay.inputs.begin(), partial.replay.inputs.end(), read.replay.inputs.begin()));
        }
    }
    return 0;
}
