#pragma once
#include <deque>
#include <filesystem>
#include <functional>

#include "present/platform.hpp"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;
struct SDL_Cursor;
union SDL_Event;

namespace present {

class SdlClock final : public rules::Clock {
public:
    uint32_t now() const override;
};

// The real window: SDL video and events, a 33 ms SDL timer that posts one tick at a time, an 800 by
// 600 streaming texture scaled with its shape kept in full screen.
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

private:
    bool createTexture();
    void translate(const SDL_Event& sdlEvent);

    SdlClock clock_;
    std::filesystem::path cursorPicture_;
    std::filesystem::path iconPicture_;
    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    SDL_Cursor* ownCursor_ = nullptr;
    SDL_Cursor* arrowCursor_ = nullptr;
    CursorShape cursorShape_ = CursorShape::SystemArrow;
    bool cursorSet_ = false;
    int timerId_ = 0;
    uint32_t tickEventType_ = 0;
    bool lost_ = false;
    Surface screen_ = Surface::create(kScreenWidth, kScreenHeight);
    std::function<void()> beepHandler_;
    std::deque<InputEvent> pending_;
};

}  // namespace present
