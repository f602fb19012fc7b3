#pragma once
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "present/platform.hpp"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;
struct SDL_Cursor;
union SDL_Event;
struct _SDL_GameController;  // SDL_GameController

namespace present {

class SdlClock final : public rules::Clock {
  public:
    uint32_t now() const override;
};

// How finished frames reach the screen. Without a graphics card an accelerated renderer is a
// software OpenGL stack (tens of megabytes, and a full-window draw every frame), so the frame is
// copied straight into the window's own surface instead; with one, a streaming texture is scaled
// by the renderer. SDL's software renderer is the fallback for a window surface of an odd format.
enum class PresentPath { WindowSurface, Renderer };

// Where the 800 by 600 picture lies in a window or screen of any size: scaled with its shape kept
// and centred between black bars. One mapping serves the window and full screen, both ways of
// presenting and the pointer.
struct Viewport {
    int x = 0;
    int y = 0;
    int w = kScreenWidth;
    int h = kScreenHeight;
};
Viewport letterbox(int windowWidth, int windowHeight);
// A window point in picture coordinates, clamped to the picture (the bars map to its edges).
Point windowToPicture(const Viewport& viewport, int windowX, int windowY);
// The window point in the middle of picture point `p`: windowToPicture maps it back to `p`.
Point pictureToWindow(const Viewport& viewport, Point p);
// A whole multiple of the picture's size repeats each pixel and stays sharp; any other size is
// filtered smooth, where repeating would make some pixels wider than others.
bool sharpScale(const Viewport& viewport);

// The smallest window the player can drag the window down to.
inline constexpr int kMinimumWindowWidth = 320;
inline constexpr int kMinimumWindowHeight = 240;
// A first window: the largest whole multiple of the picture that takes at most three quarters of the
// desktop's usable area each way (at least the picture's own size), centred in it.
data::WindowPlacement firstPlacement(const Rect& usable);
// A remembered placement on the displays there are now (their usable areas, the first display's
// first): moved onto the display it overlaps most (the first when it overlaps none), made no larger
// than that display's area and held inside it.
data::WindowPlacement keepOnDisplays(const data::WindowPlacement& placement, const std::vector<Rect>& usable);

// Whether SDL's video driver shows a picture to someone: false for the off-screen and dummy
// drivers SDL falls back to when there is no display, unless SDL_VIDEODRIVER named them.
bool realDisplay();

// Once the display is open: an error the X server reports about a window is noted on stderr instead
// of ending the game (see the definition).
void keepXErrorsNonFatal();

// From the first line of main: SIGINT and SIGTERM then close the game as the window's close box
// does (the pump delivers a Close message) instead of killing it mid-frame.
void catchStopSignals();
bool stopSignalReceived();

// The real window: SDL video and events, a tick every 33 ms made by the message pump itself (it
// waits for messages until the next deadline), and the frame shown through the window surface or a renderer. A frame equal to the
// one on screen is not sent again; only the rows that changed are.
class SdlPlatform final : public Platform {
  public:
    // `cursorPicture` and `iconPicture` are the game's own pointer and window icon.
    SdlPlatform(std::filesystem::path cursorPicture, std::filesystem::path iconPicture);
    ~SdlPlatform() override;
    SdlPlatform(const SdlPlatform&) = delete;
    SdlPlatform& operator=(const SdlPlatform&) = delete;

    const rules::Clock& clock() const override { return clock_; }

    bool createWindow(bool windowed, const std::optional<data::WindowPlacement>& placement) override;
    void setWindowMode(bool windowed) override;
    std::optional<data::WindowPlacement> windowPlacement() const override { return placement_; }
    DesktopMode desktopMode() const override;
    void minimise() override;

    void startTimer() override;
    void stopTimer() override;
    bool waitEvent(InputEvent& event) override;

    void setCursor(CursorShape shape) override;
    bool escapeDown() const override;
    Point pointer() const override;
    void movePointer(Point p) override;

    void present(const Surface& backBuffer) override;
    const Surface& screen() const override { return screen_; }

    bool surfacesLost() const override { return lost_; }
    void restoreSurfaces() override;

    void beep() override;
    // The sound layer plays the beep through the audio device when there is one.
    void setBeepHandler(std::function<void()> handler) { beepHandler_ = std::move(handler); }

    PresentPath presentPath() const { return path_; }
    // For tests that read back what the window shows.
    SDL_Window* window() const { return window_; }

  private:
    // Where a window goes: the placement it had, else a first one, on the displays there are now.
    data::WindowPlacement placementToOpen() const;
    // Takes the window's place as a window into placement_; true when that changed it.
    bool notePlacement();
    bool createRenderer(uint32_t flags);
    bool createTexture();
    // Shows the rows [top, bottom) of screen_ (all of them, bars included, when repaint_ says so).
    void show(int top, int bottom);
    void presentToRenderer(int top, int bottom);
    enum class SurfaceResult { Drawn, NotNow, OddFormat };
    SurfaceResult presentToWindowSurface(int top, int bottom);
    Viewport viewport() const;
    void translate(const SDL_Event& sdlEvent);
    void translatePad(const SDL_Event& sdlEvent);
    void pushPad(PadButton button);
    // A held direction (d-pad or stick) repeats as a held key does; checked at every tick.
    void repeatHeldDirection(uint32_t now);
    void holdDirection(std::optional<PadButton> direction, uint32_t now);

    SdlClock clock_;
    std::filesystem::path cursorPicture_;
    std::filesystem::path iconPicture_;
    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    PresentPath path_ = PresentPath::WindowSurface;
    SDL_Cursor* ownCursor_ = nullptr;
    SDL_Cursor* arrowCursor_ = nullptr;
    CursorShape cursorShape_ = CursorShape::SystemArrow;
    bool cursorSet_ = false;
    bool ticking_ = false;
    uint32_t nextTickAt_ = 0;
    bool stopDelivered_ = false;
    bool lost_ = false;
    // The window's contents are gone or stale (first frame, exposed, resized, mode switched): the
    // next frame is drawn whole, bars included.
    bool repaint_ = true;
    Surface screen_ = Surface::create(kScreenWidth, kScreenHeight);
    bool presented_ = false;
    std::optional<data::WindowPlacement> placement_;
    // Each window column and row of the scaled picture takes its pixels from the picture's `from`
    // and `to` columns (rows), `weight` 256ths of the way from the one to the other.
    struct Tap {
        int from = 0;
        int to = 0;
        uint32_t weight = 0;
    };
    std::vector<Tap> columnTaps_;
    std::vector<Tap> rowTaps_;
    Viewport tapsFor_{0, 0, 0, 0};
    // Picture rows filtered across to the window's width, by the parity of the row: the two rows a
    // window row blends are always one of each.
    std::vector<uint32_t> filteredRows_[2];
    int filteredRow_[2] = {-1, -1};
    std::function<void()> beepHandler_;
    std::deque<InputEvent> pending_;
    // The open game controllers by joystick instance id.
    std::map<int32_t, _SDL_GameController*> controllers_;
    std::optional<PadButton> heldDirection_;
    uint32_t nextRepeatAt_ = 0;
    std::optional<PadButton> stickDirection_;
};

}  // namespace present
