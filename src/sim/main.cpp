#include <fstream>
#include <iostream>
#include <string>

#include "sim/session.hpp"

namespace {

int usage() {
    std::cerr << "usage: lumerik-sim [--game DIR] [--data DIR] [--seed N] [--no-sound-log] SCRIPT"
                 "   (SCRIPT is a file, or - for standard input)\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    sim::SimOptions options;
    std::error_code ec;
    options.gameDir = std::filesystem::canonical("/proc/self/exe", ec).parent_path();
    std::string scriptPath;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--game" && i + 1 < argc) {
            options.gameDir = argv[++i];
        } else if (arg == "--data" && i + 1 < argc) {
            options.writeDir = argv[++i];
        } else if (arg == "--no-sound-log") {
            options.soundLog = false;
        } else if (arg == "--seed" && i + 1 < argc) {
            try {
                options.seed = static_cast<uint32_t>(std::stoul(argv[++i]));
            } catch (...) {
                return usage();
            }
        } else if (scriptPath.empty()) {
            scriptPath = arg;
        } else {
            return usage();
        }
    }
    if (scriptPath.empty()) return usage();
    if (scriptPath == "-") return sim::runSimScript(std::cin, options, std::cout, std::cerr);
    std::ifstream script(scriptPath);
    if (!script) {
        std::cerr << "lumerik-sim: cannot read " << scriptPath << "\n";
        return 2;
    }
    return sim::runSimScript(script, options, std::cout, std::cerr);
}
