#include "flow/replay_watch.hpp"

#include "flow/game.hpp"
#include "flow/scene.hpp"
#include "present/display.hpp"
#include "present/sprite_font.hpp"

namespace flow {

namespace {

constexpr uint32_t kTickMs = 33;
constexpr int32_t kEndStandTicks = 60;  // two seconds on the last frame
// The speed label, top right.
constexpr int kLabelX = 620;
constexpr int kLabelY = 4;
constexpr int kLabelWidth = 176;
constexpr int kLabelHeight = 28;

}  // namespace

// Everything of the game a replay changes, put back when watching ends.
struct ReplayWatch::Saved {
    rules::GameState rules;
    rules::Random random;
    rules::Random decoration;
    AppState app;
    ScreenState screens;
    PlayScreenState play;
    data::Profiles profiles;
    data::HighScores highScores;
    data::Settings settings;
    player_list::PlayerScreen playerScreen;
};

ReplayWatch::ReplayWatch(Game& game, InputSeam& seam) : game_(game), seam_(seam) {}

ReplayWatch::~ReplayWatch() { stop(); }

std::unique_ptr<ReplayWatch> ReplayWatch::start(Game& game, InputSeam& seam, const std::filesystem::path& file,
                                                std::string& why) {
    const data::ReplayRead read = data::readReplay(file);
    why = replayRefusal(game, read);
    if (!why.empty()) return nullptr;
    std::unique_ptr<ReplayWatch> watch(new ReplayWatch(game, seam));
    watch->saved_.reset(new Saved{game.rules, game.random, game.decoration, game.app, game.screens, game.play, game.profiles,
                                  game.highScores, game.settings, game.playerScreen});
    watch->playback_.replay = read.replay;
    watch->at_ = read.replay.start.startTime;
    beginPlayback(game, seam, watch->playback_.replay);
    seam.setReplayOverlay([w = watch.get()](present::Surface& frame) { w->drawLabel(frame); });
    return watch;
}

void ReplayWatch::stop() {
    if (stopped_) return;
    stopped_ = true;
    seam_.setReplayOverlay({});
    endPlayback(game_, seam_);
    Saved& s = *saved_;
    game_.rules = std::move(s.rules);
    game_.random = s.random;
    game_.decoration = s.decoration;
    game_.app = s.app;
    game_.screens = std::move(s.screens);
    game_.play = std::move(s.play);
    game_.profiles = std::move(s.profiles);
    game_.highScores = std::move(s.highScores);
    game_.settings = std::move(s.settings);
    game_.playerScreen = std::move(s.playerScreen);
    // A high-score row the recorded player clicked is no request of the watcher's.
    game_.replays.watchRequest.reset();
    game_.sound.stopAll();
    if (game_.screens.base == Screen::Title) game_.sound.play(rules::SoundMenuMusic);
    recomposeScene(game_);
}

void ReplayWatch::advance() {
    if (playback_.finished()) {
        ++endTicks_;
        return;
    }
    at_ += kTickMs * static_cast<uint32_t>(speed_);
    // Every message recorded up to the time reached plays, each with its own recorded readings.
    while (!playback_.finished() && static_cast<int32_t>(playback_.nextTime() - at_) <= 0) playNext(game_, seam_, playback_);
}

bool ReplayWatch::message(const present::InputEvent& event) {
    using Type = present::InputEvent::Type;
    switch (event.type) {
        case Type::Tick:
            // A paused or finished replay shows its last frame, with the label as it stands now.
            if (paused_ || playback_.finished()) present::presentFrame(game_.display, seam_);
            if (!paused_) advance();
            if (endTicks_ >= kEndStandTicks) break;
            return true;
        case Type::KeyDown:
            if (event.key == present::Key::Escape) break;
            if (event.key == present::Key::Letter && event.character == 'P') paused_ = !paused_;
            return true;
        case Type::Character:
            if (event.character == ' ') paused_ = !paused_;
            if (event.character == '1' || event.character == '2' || event.character == '4') speed_ = event.character - '0';
            return true;
        case Type::ButtonDown:
            if (event.at.x >= kLabelX && event.at.x < kLabelX + kLabelWidth && event.at.y >= kLabelY &&
                event.at.y < kLabelY + kLabelHeight)
                speed_ = speed_ == 4 ? 1 : speed_ * 2;
            return true;
        case Type::Close:
        case Type::Quit: break;
        default: return true;
    }
    stop();
    return false;
}

void ReplayWatch::drawLabel(present::Surface& frame) const {
    const present::SpriteFont font = present::makeSpriteFont(game_.pictures, game_.characterMap);
    std::string label(game_.texts.text(data::TextId::ReplayCaption));
    if (paused_)
        label += " " + std::string(game_.texts.text(data::TextId::ReplayPaused));
    else
        label += " " + std::to_string(speed_) + "x";
    if (playback_.finished()) label = std::string(game_.texts.text(data::TextId::ReplayEnded));
    present::drawText(font, kLabelX, kLabelY, kLabelWidth, label, frame, present::FontWhite);
}

}  // namespace flow
