#pragma once
#include <cstdint>
#include <vector>

#include "game/random.hpp"
#include "sim/script.hpp"

namespace flow {
struct Game;
}

namespace soak {

// A player who knows where everything is but not what it is for: each step it looks at the screen
// showing now and does one thing a player could do there (a button of that screen, the player
// list, typing a name, the options' boxes and sliders, the board, the frame's arrows, the side
// buttons, keys), or, now and then, something that works on any screen (Alt+Enter, losing and
// regaining the focus, lost surfaces, Escape, a click anywhere), then lets time pass. Its draws
// come from its own generator, so a seed replays the same input.
class Monkey {
  public:
    explicit Monkey(uint32_t seed) : random_(seed) {}

    // Appends the commands of the next step: the input, then at least one tick.
    void nextStep(const flow::Game& game, std::vector<sim::SimCommand>& out);

    // The game was started again (after its quit button): nothing is held or lost any more.
    void restarted();

  private:
    void finishHeld(std::vector<sim::SimCommand>& out);
    void anyScreen(std::vector<sim::SimCommand>& out);
    void logoInput(std::vector<sim::SimCommand>& out);
    void titleInput(std::vector<sim::SimCommand>& out);
    void menuInput(const flow::Game& game, std::vector<sim::SimCommand>& out);
    void playInput(const flow::Game& game, std::vector<sim::SimCommand>& out);
    void pausedInput(std::vector<sim::SimCommand>& out);
    void menuButton(const flow::Game& game, std::vector<sim::SimCommand>& out);
    void playerList(std::vector<sim::SimCommand>& out);
    void nameEntry(std::vector<sim::SimCommand>& out);
    void options(std::vector<sim::SimCommand>& out);
    void idle(std::vector<sim::SimCommand>& out);

    int between(int lo, int hi) { return lo + random_.mod(hi - lo + 1); }
    bool chance(int inN) { return random_.mod(inN) == 0; }

    rules::Random random_;
    bool escapeHeld_ = false;
    bool surfacesLost_ = false;  // `lose` was sent; the display stays lost until the focus comes back
    bool focusOut_ = false;
    int sliderDragSteps_ = 0;  // a slider knob is held for this many more steps
};

// Command makers, for the monkey and its tests.
sim::SimCommand tickCommand(long count);
sim::SimCommand moveCommand(int x, int y);
sim::SimCommand pressCommand(present::MouseButton button, int x, int y);
sim::SimCommand releaseCommand(int x, int y);
sim::SimCommand clickCommand(present::MouseButton button, int x, int y);
sim::SimCommand doubleClickCommand(present::MouseButton button, int x, int y);
sim::SimCommand keyCommand(present::Key key, uint8_t letter = 0);
sim::SimCommand textCommand(std::string text);
sim::SimCommand plainCommand(sim::SimCommand::Kind kind);

}  // namespace soak
