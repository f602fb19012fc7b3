// The picture generator draws the same bytes on every run.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "support/test_support.hpp"

TEST(PictureGenerator, DrawsTheSameBytesEveryRun) {
    testing_support::TempFolder temp;
    const std::filesystem::path game = testing_support::builtGameFolder();
    const std::string command = std::string("\"") + LUMERIK_ASSETGEN_GFX + "\" --ascii \"" + (game / "system" / "ascii").string() +
                                "\" \"" + (temp.path() / "gfx").string() + "\"";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    int files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(temp.path())) {
        if (!entry.is_regular_file()) continue;
        const std::filesystem::path relative = std::filesystem::relative(entry.path(), temp.path());
        SCOPED_TRACE(relative.string());
        const std::filesystem::path built = game / relative;
        ASSERT_TRUE(std::filesystem::exists(built));
        EXPECT_TRUE(testing_support::readFile(entry.path()) == testing_support::readFile(built));
        ++files;
    }
    EXPECT_GE(files, 90);
}
