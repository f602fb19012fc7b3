#include "present/sdl_platform.hpp"

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <atomic>
#include <cstring>

namespace present {

namespace {

constexpr uint32_t kTickMs = 33;

// The timer thread only posts the tick; a tick still waiting in the queue is not posted twice, so a
// slow frame never lets ticks pile up (like the window timer it replaces).
std::atomic<bool> tickPending{false};

struct TimerState {
    uint32_t eventType = 0;
    uint32_t deadline = 0;
};
TimerState timerState;

uint32_t postTick(uint32_t, void*) {
    if (!tickPending.exchange(true)) {
        SDL_Event event{};
        event.type = timerState.eventType;
        SDL_PushEvent(&event);
    }
    // Keep the period against an absolute deadline so the ticks do not drift.
    timerState.deadline += kTickMs;
    const uint32_t now = SDL_GetTicks();
    const int32_t wait = static_cast<int32_t>(timerState.deadline - now);
    if (wait < 1) {
        timerState.deadline = now + kTickMs;
        return kTickMs;
    }
    return static_cast<uint32_t>(wait);
}

Key keyOf(SDL_Keycode code) {
    switch (code) {
        case SDLK_LEFT: return Key::Left;
        case SDLK_RIGHT: return Key::Right;
        case SDLK_UP: return Key::Up;
        case SDLK_DOWN: return Key::Down;
        case SDLK_RETURN:
        case SDLK_KP_ENTER: return Key::Return;
        case SDLK_BACKSPACE: return Key::Backspace;
        case SDLK_ESCAPE: return Key::Escape;
        default: return code >= SDLK_a && code <= SDLK_z ? Key::Letter : Key::Other;
    }
}

}  // namespace

uint32_t SdlClock::now() const { return SDL_GetTicks(); }

SdlPlatform::SdlPlatform(std::filesystem::path cursorPicture, std::filesystem::path iconPicture)
    : cursorPicture_(std::move(cursorPicture)), iconPicture_(std::move(iconPicture)) {
    tickEventType_ = SDL_RegisterEvents(1);
}

SdlPlatform::~SdlPlatform() {
    stopTimer();
    if (ownCursor_) SDL_FreeCursor(ownCursor_);
    if (arrowCursor_) SDL_FreeCursor(arrowCursor_);
    if (texture_) SDL_DestroyTexture(texture_);
    if (renderer_) SDL_DestroyRenderer(renderer_);
    if (window_) SDL_DestroyWindow(window_);
}

bool SdlPlatform::createWindow(bool windowed) {
    const uint32_t flags = windowed ? SDL_WINDOW_SHOWN : SDL_WINDOW_SHOWN | SDL_WINDOW_FULLSCREEN_DESKTOP;
    window_ = SDL_CreateWindow("Lumerik", 0, 0, kScreenWidth, kScreenHeight, flags);
    if (!window_) return false;
    renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_ACCELERATED);
    if (!renderer_) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
    if (!renderer_) return false;
    SDL_RenderSetLogicalSize(renderer_, kScreenWidth, kScreenHeight);
    if (!createTexture()) return false;

    if (SDL_Surface* icon = IMG_Load(iconPicture_.c_str())) {
        SDL_SetWindowIcon(window_, icon);
        SDL_FreeSurface(icon);
    }
    if (SDL_Surface* picture = IMG_Load(cursorPicture_.c_str())) {
        ownCursor_ = SDL_CreateColorCursor(picture, 0, 0);
        SDL_FreeSurface(picture);
    }
    arrowCursor_ = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
    SDL_StartTextInput();
    return true;
}

bool SdlPlatform::createTexture() {
    if (texture_) SDL_DestroyTexture(texture_);
    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, kScreenWidth,
                                 kScreenHeight);
    return texture_ != nullptr;
}

void SdlPlatform::setWindowMode(bool windowed) {
    if (!window_) return;
    SDL_SetWindowFullscreen(window_, windowed ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
    if (windowed) {
        SDL_SetWindowSize(window_, kScreenWidth, kScreenHeight);
        SDL_SetWindowPosition(window_, 0, 0);
        SDL_ShowWindow(window_);
    }
}

DesktopMode SdlPlatform::desktopMode() const {
    SDL_DisplayMode mode{};
    const int display = window_ ? SDL_GetWindowDisplayIndex(window_) : 0;
    if (SDL_GetDesktopDisplayMode(display < 0 ? 0 : display, &mode) != 0) return {};
    return {static_cast<int>(SDL_BYTESPERPIXEL(mode.format)), mode.w};
}

void SdlPlatform::minimise() {
    if (window_) SDL_MinimizeWindow(window_);
}

void SdlPlatform::startTimer() {
    if (timerId_) return;
    timerState.eventType = tickEventType_;
    timerState.deadline = SDL_GetTicks() + kTickMs;
    timerId_ = SDL_AddTimer(kTickMs, postTick, nullptr);
}

void SdlPlatform::stopTimer() {
    if (!timerId_) return;
    SDL_RemoveTimer(timerId_);
    timerId_ = 0;
}

bool SdlPlatform::waitEvent(InputEvent& event) {
    while (pending_.empty()) {
        SDL_Event sdlEvent;
        if (!SDL_WaitEvent(&sdlEvent)) return false;
        translate(sdlEvent);
    }
    event = pending_.front();
    pending_.pop_front();
    return true;
}

void SdlPlatform::translate(const SDL_Event& e) {
    InputEvent event;
    if (e.type == tickEventType_) {
        tickPending = false;
        event.type = InputEvent::Type::Tick;
        pending_.push_back(event);
        return;
    }
    switch (e.type) {
        case SDL_QUIT:
            event.type = InputEvent::Type::Close;
            break;
        case SDL_WINDOWEVENT:
            switch (e.window.event) {
                case SDL_WINDOWEVENT_FOCUS_GAINED: event.type = InputEvent::Type::FocusGained; break;
                case SDL_WINDOWEVENT_FOCUS_LOST: event.type = InputEvent::Type::FocusLost; break;
                case SDL_WINDOWEVENT_CLOSE: event.type = InputEvent::Type::Close; break;
                default: return;
            }
            break;
        case SDL_RENDER_TARGETS_RESET:
        case SDL_RENDER_DEVICE_RESET:
            lost_ = true;
            return;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            if (e.button.button != SDL_BUTTON_LEFT && e.button.button != SDL_BUTTON_RIGHT) return;
            event.type = e.type == SDL_MOUSEBUTTONDOWN ? InputEvent::Type::ButtonDown : InputEvent::Type::ButtonUp;
            event.button = e.button.button == SDL_BUTTON_LEFT ? MouseButton::Left : MouseButton::Right;
            event.clicks = e.button.clicks >= 2 ? 2 : 1;
            event.at = pointer();
            break;
        case SDL_KEYDOWN: {
            const Key key = keyOf(e.key.keysym.sym);
            if (key == Key::Return && (e.key.keysym.mod & KMOD_ALT)) {
                if (e.key.repeat) return;
                event.type = InputEvent::Type::AltEnter;
                break;
            }
            event.type = InputEvent::Type::KeyDown;
            event.key = key;
            if (key == Key::Letter) event.character = static_cast<uint8_t>('A' + (e.key.keysym.sym - SDLK_a));
            pending_.push_back(event);
            // Backspace and Enter also reach the character handler, as codes 8 and 13.
            if (key == Key::Return || key == Key::Backspace) {
                InputEvent character;
                character.type = InputEvent::Type::Character;
                character.character = key == Key::Return ? 13 : 8;
                pending_.push_back(character);
            }
            return;
        }
        case SDL_TEXTINPUT:
            // One character message per byte of the typed text.
            for (size_t i = 0; i < sizeof e.text.text && e.text.text[i]; ++i) {
                InputEvent character;
                character.type = InputEvent::Type::Character;
                character.character = static_cast<uint8_t>(e.text.text[i]);
                pending_.push_back(character);
            }
            return;
        default:
            return;
    }
    pending_.push_back(event);
}

void SdlPlatform::setCursor(CursorShape shape) {
    SDL_Cursor* cursor = shape == CursorShape::Own && ownCursor_ ? ownCursor_ : arrowCursor_;
    if (cursorSet_ && shape == cursorShape_) return;
    cursorShape_ = shape;
    cursorSet_ = true;
    if (cursor) SDL_SetCursor(cursor);
}

bool SdlPlatform::escapeDown() const {
    const uint8_t* keys = SDL_GetKeyboardState(nullptr);
    return keys && keys[SDL_SCANCODE_ESCAPE];
}

Point SdlPlatform::pointer() const {
    int wx = 0, wy = 0;
    SDL_GetMouseState(&wx, &wy);
    float lx = static_cast<float>(wx), ly = static_cast<float>(wy);
    if (renderer_) SDL_RenderWindowToLogical(renderer_, wx, wy, &lx, &ly);
    return {std::clamp(static_cast<int>(lx), 0, kScreenWidth - 1), std::clamp(static_cast<int>(ly), 0, kScreenHeight - 1)};
}

void SdlPlatform::movePointer(Point p) {
    if (!window_) return;
    int wx = p.x, wy = p.y;
    if (renderer_) SDL_RenderLogicalToWindow(renderer_, static_cast<float>(p.x), static_cast<float>(p.y), &wx, &wy);
    SDL_WarpMouseInWindow(window_, wx, wy);
}

void SdlPlatform::present(const Surface& backBuffer) {
    if (!renderer_ || !texture_ || backBuffer.width != kScreenWidth || backBuffer.height != kScreenHeight) return;
    for (int y = 0; y < kScreenHeight; ++y) std::memcpy(screen_.row(y), backBuffer.row(y), kScreenWidth * 4);
    SDL_UpdateTexture(texture_, nullptr, backBuffer.pixels.data(), backBuffer.pitch * 4);
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
    SDL_RenderPresent(renderer_);
}

void SdlPlatform::restoreSurfaces() {
    if (lost_ && renderer_ && createTexture()) lost_ = false;
}

void SdlPlatform::beep() {
    if (beepHandler_) beepHandler_();
}

}  // namespace present
