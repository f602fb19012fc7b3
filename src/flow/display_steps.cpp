#include "flow/display_steps.hpp"

namespace flow {

namespace {

// The loaded pictures' sizes go into the graphics settings records, where the drawing reads them.
void recordStripSizes(Game& game) {
    for (int i = 0; i < present::kStripCount; ++i) {
        const present::AnimationStrip& strip = game.pictures.strips[static_cast<size_t>(i)];
        game.gfx.strips[static_cast<size_t>(i)].width = strip.width;
        game.gfx.strips[static_cast<size_t>(i)].height = strip.height;
    }
}

void recordBonusSizes(Game& game) {
    for (int i = 0; i < data::kBonusPictureCount; ++i) {
        const auto id = static_cast<present::StartupImage>(static_cast<int>(present::StartupImage::Bonus1) + i);
        game.gfx.bonuses[static_cast<size_t>(i)].width = game.pictures.image(id).width;
        game.gfx.bonuses[static_cast<size_t>(i)].height = game.pictures.image(id).height;
    }
}

}  // namespace

present::PictureJob pictureJob(Game& game) {
    present::PictureJob job{
        game.pictureLoader, game.display, game.pictures, game.profiles.windowed, game.rules.settings.colorTints, {}};
    for (int i = 0; i < present::kStripCount; ++i)
        job.stripTypes[static_cast<size_t>(i)] = game.gfx.strips[static_cast<size_t>(i)].type;
    return job;
}

void reloadGamePictures(Game& game) {
    present::PictureJob job = pictureJob(game);
    present::reloadPictures(job);
    recordStripSizes(game);
}

void switchGameWindowMode(Game& game) {
    present::PictureJob job = pictureJob(game);
    present::switchWindowMode(job);
    recordStripSizes(game);
}

void loadStartupPictures(Game& game) {
    present::createDisplay(game.display);
    // The still logo goes up as soon as there is a display, before the long picture reload, so the
    // window is not left blank while the game loads.
    present::loadLogoPictures(game.pictureLoader, game.pictures);
    present::showStillLogo(game.display, game.platform, game.pictures.logoBig);
    reloadGamePictures(game);
    present::createCaptureSurface(game.display);
    present::loadStartupImages(game.pictureLoader, game.pictures);
    recordBonusSizes(game);
}

}  // namespace flow
