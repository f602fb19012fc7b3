#include "flow/game.hpp"

namespace flow {

namespace {
// The decoration's generator starts from the game's seed, on a sequence of its own.
constexpr uint32_t kDecorationSeedMix = 0x9E3779B9u;
}  // namespace

Game::Game(present::Platform& platform_, data::GameFolder folder_, uint32_t seed)
    : platform(platform_),
      folder(std::move(folder_)),
      log(folder.writable("crashDump.txt")),
      random(seed),
      decoration(seed ^ kDecorationSeedMix),
      services{platform.clock(), random, sound},
      pictureLoader(folder, platform) {}

}  // namespace flow
