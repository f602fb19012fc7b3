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

// Where the 800 by 600 picture lies in the window: all of it when windowed, scaled with its shape
// kept and centred between black bars in full screen.
struct Viewport {
    int x = 0;
    int y = 0;
    int w = kScreenWidth;
    int h = kScreenHeight;
};
Viewport letterbox(int windowWidth, int windowHeight);
// A window point in picture coordinates, clamped to the picture (the bars map to its edges).
Point windowToPicture(const Viewport& viewport, int windowX, int windowY);

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

    bool createWindow(bool windowed) override;
    void setWindowMode(bool windowed) override;
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
    bool createRenderer(uint32_t flags);
    bool createTexture();
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
    // Source column of every window column of the scaled picture.
    std::vector<int> columnMap_;
    std::function<void()> beepHandler_;
    std::deque<InputEvent> pending_;
    // The open game controllers by joystick instance id.
    std::map<int32_t, _SDL_GameController*> controllers_;
    std::optional<PadButton> heldDirection_;
    uint32_t nextRepeatAt_ = 0;
    std::optional<PadButton> stickDirection_;
};

}  // namespace present
