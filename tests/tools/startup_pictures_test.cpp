// The game starts from the built game folder through its own loaders without a beep, and every
// picture slot is filled.
#include <gtest/gtest.h>

#include "flow/game.hpp"
#include "flow/startup.hpp"
#include "present/headless_platform.hpp"
#include "present/pictures.hpp"
#include "support/test_support.hpp"

TEST(GamePictures, StartUpLoadsEveryPictureWithoutABeep) {
    testing_support::TempFolder writable;
    present::HeadlessPlatform platform;
    flow::Game game{platform, data::GameFolder(testing_support::builtGameFolder(), writable.path()), 11};
    flow::startGame(game);
    EXPECT_EQ(platform.beepCount(), 0) << "a picture did not decode";

    const present::Pictures& p = game.pictures;
    for (int i = 0; i < present::kSurfacePictureCount; ++i)
        EXPECT_FALSE(p.surfaces[static_cast<size_t>(i)].empty()) << present::kSurfacePictures[static_cast<size_t>(i)].path;
    for (int i = 0; i < present::kStartupImageCount; ++i)
        EXPECT_FALSE(p.startupImages[static_cast<size_t>(i)].empty())
            << present::startupImagePath(static_cast<present::StartupImage>(i));
    for (int s = 0; s < present::kStripCount; ++s)
        EXPECT_GT(p.strips[static_cast<size_t>(s)].width, 0) << present::kStripPaths[static_cast<size_t>(s)];
    EXPECT_EQ(p.balls.width, 140);
    EXPECT_FALSE(p.logoBig.empty());
    EXPECT_FALSE(p.partnerLogoBig.empty());
    // The branding file keeps the studio logo as a keyed surface and shows both logos.
    EXPECT_TRUE(p.branding.logoIsSurface);
    EXPECT_FALSE(p.partnerLogo.empty());
    EXPECT_TRUE(p.branding.logoScreenFirstPhase);
    EXPECT_TRUE(p.branding.showPartnerLogo);
    EXPECT_EQ(p.branding.smallLogoWidth, p.surface(present::SurfacePicture::SmallLogo).width);
}
