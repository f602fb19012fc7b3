#include "flow/menu_view.hpp"

#include "flow/current_player.hpp"
#include "flow/persistence.hpp"

namespace flow {

namespace {

// The letter keys' captions for the last letter back and for taking the name.
constexpr int kNameKeyBackspaceSlot = 10, kNameKeyOkSlot = 11;

}  // namespace

present::MenuView menuView(const Game& game) {
    const rules::GameState& rules = game.rules;
    present::MenuView view;
    view.pictures = &game.pictures;
    view.font = present::makeSpriteFont(game.pictures, game.characterMap);
    view.texts = &game.texts;
    view.gfx = &game.gfx;

    // The opening logos lead to the title, so a menu opened under them already stands on its background.
    const bool title = game.screens.base == Screen::Title || game.screens.base == Screen::Logo;
    if (title) {
        view.background = present::SurfacePicture::MenuBackground;
    } else {
        const int group = rules::groupEntry(rules.gameMode, rules.level.currentLevel);
        view.background = static_cast<present::SurfacePicture>(static_cast<int>(present::SurfacePicture::Background1) + group);
    }
    view.playScreenFrame = !title;
    view.menuActive = game.screens.menuActive;
    view.screen = game.screens.menuScreen;
    view.dialogId = game.screens.dialogId;
    view.capture = &game.display.captureSurface;
    view.gameMode = static_cast<int32_t>(rules.gameMode);

    for (const data::HighScoreEntry& entry : data::highScoreTable(game.highScores, rules.gameMode))
        view.highScores.push_back({entry.name(), entry.score});
    for (const data::PlayerProfile& player : game.profiles.players) view.playerNames.push_back(player.name());
    const player_list::PlayerScreen& players = game.playerScreen;
    view.selection = players.selection;
    view.firstVisible = players.firstVisible;
    view.typedName = players.typedName;
    view.nameEntryActive = players.nameEntryActive;
    view.nameRefusal = players.refusal;
    if (const std::optional<FocusItem> focused = focusedItem(game); focused && focused->kind == FocusKind::NameKey)
        view.nameKeyFocus = focused->index;
    view.controlsPage = game.screens.menuLive.controlsPage;
    view.nameKeyBackspace = game.texts.text(data::TextTableId::LaterTexts, kNameKeyBackspaceSlot);
    view.nameKeyOk = game.texts.text(data::TextTableId::LaterTexts, kNameKeyOkSlot);

    view.savedLevel = savedLevel(game, rules.gameMode);
    view.showHelpBeforeGame = helpBeforeGame(game);
    view.ownCursor = ownCursorWanted(game);
    view.toShowTips = tipsWanted(game);
    view.fullScreen = !game.profiles.windowed;
    view.colourSymbols = colourSymbolsWanted(game);
    view.moveHints = moveHintsWanted(game);
    view.explodeTipColour = rules.requests.explodeTipColour;
    view.pointer = present::cursorToClient(game.platform);
    return view;
}

present::VolumeSliders volumeSliders(const Game& game) {
    return {game.profiles.musicSliderX, game.profiles.musicVolume, game.profiles.soundSliderX, game.profiles.soundVolume};
}

void storeVolumeSliders(Game& game, const present::VolumeSliders& sliders) {
    game.profiles.musicSliderX = sliders.musicSliderX;
    game.profiles.musicVolume = sliders.musicVolume;
    game.profiles.soundSliderX = sliders.soundSliderX;
    game.profiles.soundVolume = sliders.soundVolume;
}

}  // namespace flow
