#pragma once
#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "flow/input_seam.hpp"
#include "present/headless_platform.hpp"

namespace flow {
struct Game;
}  // namespace flow

namespace sim {

using flow::Game;
struct SimCommand;

struct SimOptions {
    std::filesystem::path gameDir;   // the game folder
    std::filesystem::path writeDir;  // where profiles and the log go; empty = the game folder
    std::optional<uint32_t> seed;    // without one the generator is seeded from the clock
    bool soundLog = true;            // off for long runs: the log of plays and stops grows with them
};

// A running lumerik-sim game: the game's own start-up on a headless platform with a virtual clock,
// and the runner of script commands. The script reader and the soak driver feed it the same way.
class SimSession {
  public:
    // Null when the window cannot be created.
    static std::unique_ptr<SimSession> launch(const SimOptions& options, std::ostream& out);
    ~SimSession();
    SimSession(const SimSession&) = delete;
    SimSession& operator=(const SimSession&) = delete;

    // Runs one command. False when the run ends: the command was `quit`, the game quit, or the
    // command failed, with `error` saying why.
    bool run(const SimCommand& command, std::string& error);

    Game& game() { return *game_; }
    const Game& game() const { return *game_; }
    present::HeadlessPlatform& platform() { return platform_; }
    flow::InputSeam& seam() { return seam_; }

    // A replay that did not reproduce its level's end turns the run's exit status to 1; the report
    // says how each replay went, one line each, for standard error.
    int exitStatus() const { return exitStatus_; }
    std::string takeReport() { return std::exchange(report_, {}); }

  private:
    explicit SimSession(std::ostream& out);
    void tick();
    void mouse(present::InputEvent::Type type, present::MouseButton button, int clicks);
    void character(uint8_t c);
    void key(present::Key key, uint8_t letter, bool shift = false);
    bool replay(const std::string& file, std::string& error);

    present::HeadlessPlatform platform_;
    flow::InputSeam seam_{platform_};
    std::unique_ptr<Game> game_;
    std::ostream& out_;
    int exitStatus_ = 0;
    std::string report_;
};

// Runs a lumerik-sim script: the game's own start-up, frame tick and window procedure on a headless
// platform with a virtual clock. Returns the exit code: 0 at the end or on `quit`, 2 on a bad line
// (with a message naming it on `err`).
int runSimScript(std::istream& script, const SimOptions& options, std::ostream& out, std::ostream& err);

}  // namespace sim
