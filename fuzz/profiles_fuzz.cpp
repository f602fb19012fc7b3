// "profile\profile": the machine-wide settings and every player's record from any bytes, and back.
#include <cstring>
#include <span>

#include "data/profiles.hpp"
#include "fuzz_check.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using data::kProfileHeaderSize;
    using data::kProfileRecordSize;
    const data::Profiles profiles = data::parseProfiles(std::span<const uint8_t>(data, size));
    if (size < kProfileHeaderSize) {
        FUZZ_CHECK(profiles == data::Profiles{});
        return 0;
    }
    // Whole records only; the current player is one of them, or 0.
    const size_t records = (size - kProfileHeaderSize) / kProfileRecordSize;
    FUZZ_CHECK(profiles.players.size() == records);
    FUZZ_CHECK(profiles.currentPlayer == (data[20] < records ? data[20] : 0));
    FUZZ_CHECK((data::currentProfile(profiles) == nullptr) == (records == 0));

    // Written back, the file keeps every byte it had but for the window flag, of which only the
    // lowest byte counts, and a current player that was out of range.
    const std::vector<uint8_t> written = data::serialiseProfiles(profiles);
    FUZZ_CHECK(written.size() == kProfileHeaderSize + records * kProfileRecordSize);
    FUZZ_CHECK(written[0] == (data[0] != 0 ? 1 : 0) && written[1] == 0 && written[2] == 0 && written[3] == 0);
    FUZZ_CHECK(std::memcmp(written.data() + 4, data + 4, 16) == 0);
    FUZZ_CHECK(written[20] == profiles.currentPlayer);
    FUZZ_CHECK(std::memcmp(written.data() + kProfileHeaderSize, data + kProfileHeaderSize, records * kProfileRecordSize) == 0);
    FUZZ_CHECK(data::parseProfiles(written) == profiles);

    for (const data::PlayerProfile& player : profiles.players) {
        FUZZ_CHECK(player.name().size() < data::kNameFieldSize + 1);
        for (int m = 0; m < rules::kModeCount; ++m) {
            const auto mode = static_cast<rules::GameMode>(m);
            const int level = data::savedLevel(player, mode);
            FUZZ_CHECK(level >= 0 && level <= 127);
            FUZZ_CHECK((player.savedRun(mode) == nullptr) == (mode == rules::GameMode::Puzzle));
        }
    }
    return 0;
}
