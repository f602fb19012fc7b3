// lumerik-palette: how far apart the seven ball colours of a level file look through the game's
// tint, with normal eyes and under the three full colour-vision deficiencies, and a search for
// tints that keep their hue families and push the closest pair apart.
//
//   lumerik-palette [--shade V] LEVEL_FILE
//   lumerik-palette --search [--enough D] [--shade V] [--seed N] [--restarts N] LEVEL_FILE
//
// The report gives, per vision, the two closest pairs in CIE76 over the shading V (the ball's lit
// body, 170, unless told); --search also prints the Color lines of the tints it found. With
// --enough, the search stops pushing once the closest pair is D apart and then keeps the colours
// as near the file's as it can.
#include <cstdio>
#include <exception>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

#include "data/levels.hpp"
#include "tints.hpp"

namespace {

palette::TintSet readTints(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + file);
    std::stringstream text;
    text << in.rdbuf();
    rules::LevelTable levels;
    rules::LevelSettings settings;
    data::scanLevelText(text.str(), levels, settings);
    palette::TintSet tints;
    for (int k = 0; k < palette::kBallColours; ++k) {
        const rules::ColourTint& t = settings.colorTints[static_cast<size_t>(k + 1)];
        tints[static_cast<size_t>(k)] = {t.red, t.green, t.blue};
    }
    return tints;
}

void report(const palette::TintSet& tints, double shading) {
    for (palette::Vision v : palette::kVisions) {
        const std::vector<palette::PairDistance> pairs = palette::pairsByDistance(tints, v, shading);
        std::printf("%-13s", palette::visionName(v));
        for (size_t i = 0; i < 2; ++i)
            std::printf("  %s/%s %.1f", palette::familyName(pairs[i].first), palette::familyName(pairs[i].second),
                        pairs[i].distance);
        std::printf("\n");
    }
    for (int k = 0; k < palette::kBallColours; ++k)
        if (!palette::inFamily(k, tints[static_cast<size_t>(k)]))
            std::printf("colour %d is no longer %s\n", k + 1, palette::familyName(k));
}

int run(int argc, char** argv) {
    bool search = false;
    double shading = palette::kBodyShading;
    uint64_t seed = 1;
    int restarts = 40;
    double enough = 1000;
    std::string file;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) throw std::runtime_error(arg + " needs a value");
            return argv[++i];
        };
        if (arg == "--search")
            search = true;
        else if (arg == "--shade")
            shading = std::stod(value());
        else if (arg == "--seed")
            seed = std::stoull(value());
        else if (arg == "--restarts")
            restarts = std::stoi(value());
        else if (arg == "--enough")
            enough = std::stod(value());
        else if (!arg.empty() && arg[0] == '-')
            throw std::runtime_error("unknown option " + arg);
        else
            file = arg;
    }
    if (file.empty())
        throw std::runtime_error(
            "usage: lumerik-palette [--search] [--enough D] [--shade V] [--seed N] [--restarts N] LEVEL_FILE");

    const palette::TintSet tints = readTints(file);
    report(tints, shading);
    if (!search) return 0;

    const palette::TintSet found = palette::searchTints(tints, shading, enough, seed, restarts);
    std::printf("\nfound (closest pair under the worst vision %.1f):\n", palette::worstDistance(found, shading));
    report(found, shading);
    for (int k = 0; k < palette::kBallColours; ++k) {
        const palette::Tint& t = found[static_cast<size_t>(k)];
        std::printf("Color %d = 0x%02x%02x%02x\n", k + 1, t.red, t.green, t.blue);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return run(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "lumerik-palette: %s\n", e.what());
        return 1;
    }
}
