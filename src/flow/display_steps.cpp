#include "flow/display_steps.hpp"

namespace flow {

present::PictureJob pictureJob(Game& game) {
    // Each strip's drawing kind comes from the graphics settings; until they are read every strip
    // is a surface.
    return present::PictureJob{game.pictureLoader, game.display,   game.pictures,
                               game.app.windowed,  game.rules.settings.colorTints, {}};
}

void reloadGamePictures(Game& game) {
    present::PictureJob job = pictureJob(game);
    present::reloadPictures(job);
}

void switchGameWindowMode(Game& game) {
    present::PictureJob job = pictureJob(game);
    present::switchWindowMode(job);
}

void loadStartupPictures(Game& game) {
    present::createDisplay(game.display);
    reloadGamePictures(game);
    present::loadLogoPictures(game.pictureLoader, game.pictures);
    present::showStillLogo(game.display, game.platform, game.pictures.logoBig);
    present::createCaptureSurface(game.display);
    present::loadStartupImages(game.pictureLoader, game.pictures);
}

}  // namespace flow
