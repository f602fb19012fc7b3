#include "flow/player_list.hpp"

#include <algorithm>

namespace flow::player_list {

namespace {

constexpr uint8_t kBackspace = 8;
constexpr uint8_t kEnter = 13;

int32_t playerCount(const Profiles& profiles) { return static_cast<int32_t>(profiles.players.size()); }

// The selection is always a row of the list, and a row that is shown: the first name shown moves
// just far enough for the selection's row to be on screen, and never so far that rows stay empty.
void keepSelectionVisible(const Profiles& profiles, PlayerScreen& screen) {
    const int32_t n = playerCount(profiles);
    screen.selection = std::clamp(screen.selection, 0, std::max(n - 1, 0));
    screen.firstVisible =
        std::clamp(screen.firstVisible, std::max(screen.selection - (kVisiblePlayers - 1), 0), screen.selection);
    screen.firstVisible = std::min(screen.firstVisible, std::max(n - kVisiblePlayers, 0));
}

// The current player follows its own record when the record at `removed` leaves the list, so a
// save made while the player screen is open never names another player. When the current player
// itself leaves, player 0 stands in until the screen is confirmed or cancelled.
void forgetPlayer(Profiles& profiles, int32_t removed) {
    if (profiles.currentPlayer > removed)
        profiles.currentPlayer = static_cast<uint8_t>(profiles.currentPlayer - 1);
    else if (profiles.currentPlayer == removed)
        profiles.currentPlayer = 0;
}

void endNameEntry(PlayerScreen& screen) {
    screen.nameEntryActive = false;
    screen.renaming = -1;
}

}  // namespace

void beginPlayerScreen(const Profiles& profiles, PlayerScreen& screen) {
    screen.backupPlayers = profiles.players;
    screen.backupCurrentPlayer = profiles.currentPlayer;
    screen.backupTaken = true;
    screen.selection = profiles.currentPlayer;
    keepSelectionVisible(profiles, screen);
}

bool beginNameEntry(const Profiles& profiles, PlayerScreen& screen, NameEntryFor what) {
    screen.refusal.clear();
    if (what == NameEntryFor::Rename) {
        if (screen.selection < 0 || screen.selection >= playerCount(profiles)) return false;
        screen.typedName = profiles.players[static_cast<size_t>(screen.selection)].name();
        screen.renaming = screen.selection;
    } else {
        screen.typedName.clear();
        screen.renaming = -1;
    }
    screen.nameEntryActive = true;
    return true;
}

NameKey typeNameCharacter(PlayerScreen& screen, uint8_t character) {
    if (!screen.nameEntryActive) return NameKey::Ignored;
    screen.refusal.clear();
    if (character == kEnter) return NameKey::Commit;
    if (character == kBackspace) {
        if (screen.typedName.empty()) return NameKey::Ignored;
        screen.typedName.pop_back();
        return NameKey::Edited;
    }
    // A zero byte would end the name early in the file.
    if (character == 0 || screen.typedName.size() >= data::kMaxNameLength) return NameKey::Ignored;
    if (character >= 'a' && character <= 'z') character = static_cast<uint8_t>(character - 'a' + 'A');
    screen.typedName.push_back(static_cast<char>(character));
    return NameKey::Edited;
}

SaveNameOutcome saveName(Profiles& profiles, PlayerScreen& screen, DiagnosticLog& log) {
    screen.refusal.clear();
    std::string name = screen.typedName;
    if (name.empty()) {
        if (!profiles.players.empty()) {
            log.writeLog("return saveName()");
            endNameEntry(screen);
            return SaveNameOutcome::EmptyIgnored;
        }
        name = "PLAYER";
    }

    std::vector<PlayerProfile>& players = profiles.players;
    const auto same = std::find_if(players.begin(), players.end(), [&](const PlayerProfile& p) { return p.name() == name; });
    if (same != players.end()) {
        // No duplicates: the existing player is selected, and a rename it carried ends here.
        screen.selection = static_cast<int32_t>(same - players.begin());
        keepSelectionVisible(profiles, screen);
        endNameEntry(screen);
        return SaveNameOutcome::SelectedExisting;
    }

    const bool renaming = screen.renaming >= 0 && screen.renaming < playerCount(profiles);
    PlayerProfile record;
    if (renaming) {
        // The whole record moves to the end of the list under its new name: progress and options
        // go with it.
        const int32_t from = screen.renaming;
        const bool wasCurrent = profiles.currentPlayer == from;
        record = players[static_cast<size_t>(from)];
        players.erase(players.begin() + from);
        forgetPlayer(profiles, from);
        if (wasCurrent && players.size() <= 255) profiles.currentPlayer = static_cast<uint8_t>(players.size());
    } else if (players.size() >= data::kMaxPlayers) {
        return SaveNameOutcome::Refused;
    }
    record.setName(name);
    screen.selection = playerCount(profiles);
    players.push_back(record);
    screen.firstVisible = std::max(playerCount(profiles) - kVisiblePlayers, 0);
    endNameEntry(screen);
    return renaming ? SaveNameOutcome::Renamed : SaveNameOutcome::Created;
}

DeleteOutcome deletePlayer(Profiles& profiles, PlayerScreen& screen) {
    std::vector<PlayerProfile>& players = profiles.players;
    if (screen.selection >= 0 && screen.selection < playerCount(profiles)) {
        players.erase(players.begin() + screen.selection);
        forgetPlayer(profiles, screen.selection);
    }
    screen.selection = playerCount(profiles) / 2;
    keepSelectionVisible(profiles, screen);
    if (!players.empty()) return DeleteOutcome::Deleted;
    beginNameEntry(profiles, screen, NameEntryFor::NewPlayer);
    return DeleteOutcome::NoPlayersLeft;
}

bool confirmPlayer(Profiles& profiles, PlayerScreen& screen) {
    if (screen.selection < 0 || screen.selection >= playerCount(profiles) || screen.selection > 255) return false;
    profiles.currentPlayer = static_cast<uint8_t>(screen.selection);
    return true;
}

void cancelPlayerScreen(Profiles& profiles, PlayerScreen& screen) {
    if (!screen.backupTaken) return;
    profiles.players = screen.backupPlayers;
    profiles.currentPlayer = screen.backupCurrentPlayer;
    screen.backupTaken = false;
    screen.backupPlayers.clear();
    screen.selection = profiles.currentPlayer;
    keepSelectionVisible(profiles, screen);
}

}  // namespace flow::player_list
