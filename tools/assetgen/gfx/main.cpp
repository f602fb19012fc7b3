// assetgen-gfx: draws every picture of the game into a game folder's gfx/ folder.
//
//   assetgen-gfx [--ascii FILE] [--texts DIR] [--sheet DIR] [--mockups DIR] [--list] [--time] GFX_DIR
//   assetgen-gfx --icons DIR [--icon-name NAME] [GFX_DIR]
//   assetgen-gfx --zoom PNG X Y W H SCALE OUT
//
// --ascii names the sprite font's character map (one decimal code per line); --sheet and
// --mockups also write contact sheets and screen mock-ups, the latter with the captions and titles
// of the text files in --texts (the system folder); --list prints the picture table;
// --time prints how long each picture took; --zoom enlarges a part of a PNG, for looking closely at a mock-up.
// --icons draws the window icon at every desktop icon size into an icon theme's folders,
// DIR/16x16/apps/NAME.png and so on (NAME is "lumerik" unless --icon-name says otherwise); without
// GFX_DIR nothing else is drawn.
#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "catalogue.hpp"
#include "sheets.hpp"

namespace {

std::vector<std::string> readLines(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::string readCharacterMap(const std::filesystem::path& file) {
    std::ifstream in(file);
    if (!in) throw std::runtime_error("cannot read " + file.string());
    std::string map, line;
    while (std::getline(in, line)) {
        if (line.empty()) continue;
        map += static_cast<char>(std::stoi(line) & 0xFF);
    }
    return map;
}

int zoom(int argc, char** argv) {
    if (argc != 9) throw std::runtime_error("--zoom PNG X Y W H SCALE OUT");
    const assetgen::Picture in = assetgen::readPng(argv[2]);
    const int x0 = std::stoi(argv[3]), y0 = std::stoi(argv[4]), w = std::stoi(argv[5]), h = std::stoi(argv[6]);
    const int k = std::stoi(argv[7]);
    assetgen::Picture out(w * k, h * k);
    for (int y = 0; y < h * k; ++y)
        for (int x = 0; x < w * k; ++x) {
            const int sx = x0 + x / k, sy = y0 + y / k;
            if (sx >= 0 && sy >= 0 && sx < in.width && sy < in.height) out.at(x, y) = in.at(sx, sy) | 0xFF000000u;
        }
    assetgen::writePng(argv[8], out);
    return 0;
}

int run(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "--zoom") return zoom(argc, argv);
    std::filesystem::path asciiFile, textDir, sheetDir, mockupDir, iconDir, outDir;
    std::string iconName = "lumerik";
    bool list = false, timing = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) throw std::runtime_error(arg + " needs a value");
            return argv[++i];
        };
        if (arg == "--ascii") {
            asciiFile = value();
        } else if (arg == "--texts") {
            textDir = value();
        } else if (arg == "--sheet") {
            sheetDir = value();
        } else if (arg == "--mockups") {
            mockupDir = value();
        } else if (arg == "--icons") {
            iconDir = value();
        } else if (arg == "--icon-name") {
            iconName = value();
        } else if (arg == "--time") {
            timing = true;
        } else if (arg == "--list") {
            list = true;
        } else if (!arg.empty() && arg[0] == '-') {
            throw std::runtime_error("unknown option " + arg);
        } else {
            outDir = arg;
        }
    }
    if (list) {
        for (const assetgen::CatalogueEntry& e : assetgen::catalogue())
            std::printf("%-52s %5d x %-4d %s\n", e.gamePath.c_str(), e.width, e.height, e.use.c_str());
        if (outDir.empty()) return 0;
    }
    if (!iconDir.empty()) {
        for (const int size : assetgen::kDesktopIconSizes) {
            const std::string box = std::to_string(size) + "x" + std::to_string(size);
            const std::filesystem::path file = iconDir / box / "apps" / (iconName + ".png");
            std::filesystem::create_directories(file.parent_path());
            assetgen::writePicture(file, assetgen::windowIcon(size));
        }
        if (outDir.empty()) return 0;
    }
    if (outDir.empty())
        throw std::runtime_error(
            "usage: assetgen-gfx [--ascii FILE] [--sheet DIR] [--mockups DIR] [--icons DIR] [--list] GFX_DIR");
    if (asciiFile.empty()) asciiFile = std::filesystem::path(outDir) / ".." / "system" / "ascii";

    assetgen::Art art(readCharacterMap(asciiFile));
    assetgen::PictureSet pictures;
    for (const assetgen::CatalogueEntry& e : assetgen::catalogue()) {
        const auto started = std::chrono::steady_clock::now();
        assetgen::Picture picture = e.draw(art);
        if (picture.width != e.width || picture.height != e.height)
            throw std::runtime_error(e.gamePath + " came out " + std::to_string(picture.width) + " by " +
                                     std::to_string(picture.height));
        // Table paths start at the game folder; the output folder is its gfx/.
        const std::string real = assetgen::realPath(e.gamePath).substr(4);
        const std::filesystem::path file = outDir / real;
        std::filesystem::create_directories(file.parent_path());
        assetgen::writePicture(file, picture);
        if (timing)
            std::printf("%6.0f ms  %s\n",
                        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count(),
                        e.gamePath.c_str());
        pictures.emplace(e.gamePath, std::move(picture));
    }
    if (!sheetDir.empty()) {
        std::filesystem::create_directories(sheetDir);
        assetgen::writeContactSheets(pictures, sheetDir);
    }
    if (!mockupDir.empty()) {
        std::filesystem::create_directories(mockupDir);
        assetgen::MockupTexts texts;
        if (!textDir.empty())
            texts = {readLines(textDir / "text00.txt"), readLines(textDir / "text04.txt"), readLines(textDir / "text01.txt"),
                     readLines(textDir / "text02.txt"), readLines(textDir / "text03.txt")};
        assetgen::writeMockups(pictures, art.characterMap(), texts, mockupDir);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return run(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "assetgen-gfx: %s\n", e.what());
        return 1;
    }
}
