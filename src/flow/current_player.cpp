#include "flow/current_player.hpp"

namespace flow {

// Until the profiles arrive, the tips switch lives with the rules and the other options keep
// their defaults.
bool tipsWanted(const Game& game) { return game.rules.player.toShowTips; }
void setTipsWanted(Game& game, bool on) { game.rules.player.toShowTips = on; }
bool ownCursorWanted(const Game&) { return true; }
void setOwnCursorWanted(Game&, bool) {}
bool helpBeforeGame(const Game&) { return true; }
void setHelpBeforeGame(Game&, bool) {}
int32_t savedLevel(const Game&, rules::GameMode) { return 0; }
std::string currentPlayerName(const Game&) { return {}; }
void saveAfterOptions(Game&) {}

}  // namespace flow
