#include <gtest/gtest.h>

#include <sstream>

#include "present/picture_files.hpp"
#include "sim/session.hpp"
#include "support/test_support.hpp"

namespace present {
namespace {

// lumerik-sim's shot right after start-up: the still logo added on black, exactly. The logo is
// larger than its 160 by 147 place and is cut to it; its black pixels leave the frame black.
TEST(Shot, StartupLogoFrameIsWrittenExactly) {
    testing_support::TempFolder folder;
    picture_files::Picture logo = picture_files::solid(170, 150, 0);
    for (int i = 0; i < 170 * 150; ++i)
        logo.pixels[static_cast<size_t>(i)] = i % 7 == 0 ? 0 : 0xFF000000u | uint32_t(i) * 2654435761u >> 8;
    picture_files::write(folder.path() / "gfx/logo/Logo_Big.png", logo, picture_files::Kind::PngAlpha);

    const std::filesystem::path shot = folder.path() / "shot.png";
    std::istringstream script("shot " + shot.string() + "\n");
    std::ostringstream out, err;
    ASSERT_EQ(sim::runSimScript(script, {folder.path(), {}, 1}, out, err), 0) << err.str();
    const picture_files::Picture frame = picture_files::read(shot);
    ASSERT_EQ(frame.width * frame.height, 800 * 600);
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x) {
            const bool inLogo = x >= 322 && x < 482 && y >= 203 && y < 350;
            const uint32_t drawn = inLogo ? logo.pixels[static_cast<size_t>((y - 203) * 170 + x - 322)] & 0xFFFFFF : 0;
            ASSERT_EQ(frame.pixels[static_cast<size_t>(y * 800 + x)], 0xFF000000u | drawn) << x << "," << y;
        }
}

}  // namespace
}  // namespace present
