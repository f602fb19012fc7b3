#include "flow/game.hpp"

namespace flow {

Game::Game(present::Platform& platform_, data::GameFolder folder_, uint32_t seed)
    : platform(platform_),
      folder(std::move(folder_)),
      log(folder.writable("crashDump.txt")),
      random(seed),
      services{platform.clock(), random, sound},
      pictureLoader(folder, platform) {}

}  // namespace flow
