#include "present/sdl_platform.hpp"

#include <SDL.h>
#include <SDL_image.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <utility>

namespace present {

namespace {

// The frame tick's period. The ticks are made on the main thread, between messages: a timer
// thread posting them would have SDL send its wake-up message to the window from that thread, over
// a second connection to the X server, which may arrive after the window is gone at shut-down
// (the server then reports an error, and Xlib ends the program with status 1) or read a window
// SDL has already freed.
constexpr uint32_t kTickMs = 33;

// SIGINT and SIGTERM ask the game to close, exactly as the window's close box does; the handler
// only raises a flag, which the message pump turns into a close message.
volatile std::sig_atomic_t stopSignalled = 0;

extern "C" void onStopSignal(int) { stopSignalled = 1; }

// Xlib's error report, as Xlib lays it out (its header would clash with the game's names).
struct XErrorReport {
    int type;
    void* display;
    unsigned long resourceId;
    unsigned long serial;
    unsigned char errorCode;
    unsigned char requestCode;
    unsigned char minorCode;
};

// Xlib's own handler prints an X error and exits with status 1.
extern "C" int noteXError(void*, XErrorReport* error) {
    static int noted = 0;
    if (noted < 5) {
        ++noted;
        std::fprintf(stderr, "lumerik: the X server refused request %d (error %d); carrying on\n", error->requestCode,
                     error->errorCode);
    }
    return 0;
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
        case SDLK_TAB: return Key::Tab;
        case SDLK_KP_8: return Key::KeypadUp;
        case SDLK_KP_2: return Key::KeypadDown;
        case SDLK_KP_4: return Key::KeypadLeft;
        case SDLK_KP_6: return Key::KeypadRight;
        default: return code >= SDLK_a && code <= SDLK_z ? Key::Letter : Key::Other;
    }
}

// A graphics card the user may draw with shows up as a DRM render node.
bool renderNodeAvailable() {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator("/dev/dri", ec)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("renderD", 0) == 0 && access(entry.path().c_str(), R_OK | W_OK) == 0) return true;
    }
    return false;
}

// An OpenGL renderer that draws on the processor (Mesa's llvmpipe and softpipe) costs far more
// than copying the frame into the window ourselves.
bool drawsInSoftware(SDL_Renderer* renderer) {
    SDL_RendererInfo info{};
    if (SDL_GetRendererInfo(renderer, &info) != 0 || !info.name) return false;
    const std::string_view name = info.name;
    if (name == "software") return true;
    if (name.rfind("opengl", 0) != 0) return false;
    using GetString = const unsigned char* (*)(unsigned int);
    constexpr unsigned int kGlRenderer = 0x1F01;
    auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    const unsigned char* text = getString ? getString(kGlRenderer) : nullptr;
    if (!text) return false;
    const std::string_view glRenderer = reinterpret_cast<const char*>(text);
    for (std::string_view soft : {"llvmpipe", "softpipe", "Software Rasterizer", "swrast"})
        if (glRenderer.find(soft) != std::string_view::npos) return true;
    return false;
}

// A pixel `weight` 256ths of the way from `a` to `b`; the fourth byte is not part of the picture.
inline uint32_t blend(uint32_t a, uint32_t b, uint32_t weight) {
    const uint32_t keep = 256 - weight;
    const uint32_t redBlue = (((a & 0xFF00FFu) * keep + (b & 0xFF00FFu) * weight) >> 8) & 0xFF00FFu;
    const uint32_t green = (((a & 0x00FF00u) * keep + (b & 0x00FF00u) * weight) >> 8) & 0x00FF00u;
    return redBlue | green;
}

// The usable area of every display (without the panels), the first display's first.
std::vector<Rect> usableDisplayAreas() {
    std::vector<Rect> areas;
    for (int i = 0; i < SDL_GetNumVideoDisplays(); ++i) {
        SDL_Rect r{};
        if (SDL_GetDisplayUsableBounds(i, &r) != 0 && SDL_GetDisplayBounds(i, &r) != 0) continue;
        if (r.w > 0 && r.h > 0) areas.push_back({r.x, r.y, r.w, r.h});
    }
    if (areas.empty()) areas.push_back({0, 0, kScreenWidth, kScreenHeight});
    return areas;
}

// A held d-pad direction or stick repeats after this long, then this often, as a held key does.
constexpr uint32_t kRepeatDelayMs = 350;
constexpr uint32_t kRepeatPeriodMs = 110;
// The left stick counts as a direction once pushed this far along an axis, and lets go of it again
// only back below the second, smaller threshold, so a stick resting near the edge does not flutter.
constexpr int kStickPush = 16000;
constexpr int kStickRelease = 12000;

std::optional<PadButton> padButtonOf(uint8_t button) {
    switch (button) {
        case SDL_CONTROLLER_BUTTON_A: return PadButton::A;
        case SDL_CONTROLLER_BUTTON_B: return PadButton::B;
        case SDL_CONTROLLER_BUTTON_X: return PadButton::X;
        case SDL_CONTROLLER_BUTTON_Y: return PadButton::Y;
        case SDL_CONTROLLER_BUTTON_BACK: return PadButton::Back;
        case SDL_CONTROLLER_BUTTON_START: return PadButton::Start;
        case SDL_CONTROLLER_BUTTON_LEFTSHOULDER: return PadButton::LeftShoulder;
        case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER: return PadButton::RightShoulder;
        case SDL_CONTROLLER_BUTTON_DPAD_UP: return PadButton::Up;
        case SDL_CONTROLLER_BUTTON_DPAD_DOWN: return PadButton::Down;
        case SDL_CONTROLLER_BUTTON_DPAD_LEFT: return PadButton::Left;
        case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: return PadButton::Right;
        default: return std::nullopt;
    }
}

bool isDirection(PadButton b) {
    return b == PadButton::Up || b == PadButton::Down || b == PadButton::Left || b == PadButton::Right;
}

bool sameRow(const Surface& a, const Surface& b, int y) {
    return std::memcmp(a.row(y), b.row(y), static_cast<size_t>(kScreenWidth) * 4) == 0;
}

}  // namespace

Viewport letterbox(int windowWidth, int windowHeight) {
    if (windowWidth <= 0 || windowHeight <= 0) return {};
    Viewport v;
    // The wider of the two shapes gets the bars: compare 800:600 with the window's shape exactly.
    if (int64_t{windowWidth} * kScreenHeight > int64_t{windowHeight} * kScreenWidth) {
        v.h = windowHeight;
        v.w = static_cast<int>(int64_t{windowHeight} * kScreenWidth / kScreenHeight);
    } else {
        v.w = windowWidth;
        v.h = static_cast<int>(int64_t{windowWidth} * kScreenHeight / kScreenWidth);
    }
    v.w = std::max(v.w, 1);
    v.h = std::max(v.h, 1);
    v.x = (windowWidth - v.w) / 2;
    v.y = (windowHeight - v.h) / 2;
    return v;
}

Point windowToPicture(const Viewport& v, int windowX, int windowY) {
    // Floor division, so a point just left of or above the picture does not round onto it.
    auto toPicture = [](int offset, int span, int size) {
        const int64_t scaled = int64_t{offset} * size;
        const int64_t q = scaled >= 0 ? scaled / span : -((-scaled + span - 1) / span);
        return static_cast<int>(std::clamp<int64_t>(q, 0, size - 1));
    };
    return {toPicture(windowX - v.x, v.w, kScreenWidth), toPicture(windowY - v.y, v.h, kScreenHeight)};
}

Point pictureToWindow(const Viewport& v, Point p) {
    // The middle of the window pixels windowToPicture maps onto p (the first of them, when the
    // picture is shown smaller than itself).
    auto toWindow = [](int at, int span, int size) {
        const int64_t first = (int64_t{at} * span + size - 1) / size;
        const int64_t last = std::max(first, (int64_t{at + 1} * span + size - 1) / size - 1);
        return static_cast<int>((first + last) / 2);
    };
    return {v.x + toWindow(p.x, v.w, kScreenWidth), v.y + toWindow(p.y, v.h, kScreenHeight)};
}

bool sharpScale(const Viewport& v) { return v.w % kScreenWidth == 0 && v.w / kScreenWidth * kScreenHeight == v.h; }

data::WindowPlacement firstPlacement(const Rect& usable) {
    // A window, not a full screen by another name: at most three quarters of the area each way,
    // which leaves the desktop around it in sight (twice the picture on 3840 by 2160, where three
    // times would cover five sixths of its height).
    const int scale = std::max(1, std::min(usable.w * 3 / 4 / kScreenWidth, usable.h * 3 / 4 / kScreenHeight));
    const int w = kScreenWidth * scale, h = kScreenHeight * scale;
    return {usable.x + (usable.w - w) / 2, usable.y + (usable.h - h) / 2, w, h};
}

data::WindowPlacement keepOnDisplays(const data::WindowPlacement& placement, const std::vector<Rect>& usable) {
    if (usable.empty()) return placement;
    auto overlap = [&placement](const Rect& r) {
        const int64_t w =
            std::min<int64_t>(int64_t{r.x} + r.w, int64_t{placement.x} + placement.width) - std::max<int64_t>(r.x, placement.x);
        const int64_t h =
            std::min<int64_t>(int64_t{r.y} + r.h, int64_t{placement.y} + placement.height) - std::max<int64_t>(r.y, placement.y);
        return w > 0 && h > 0 ? w * h : 0;
    };
    const Rect* display = &usable.front();
    for (const Rect& r : usable)
        if (overlap(r) > overlap(*display)) display = &r;
    data::WindowPlacement kept = placement;
    kept.width = std::clamp(placement.width, std::min(kMinimumWindowWidth, display->w), display->w);
    kept.height = std::clamp(placement.height, std::min(kMinimumWindowHeight, display->h), display->h);
    kept.x = std::clamp(placement.x, display->x, display->x + display->w - kept.width);
    kept.y = std::clamp(placement.y, display->y, display->y + display->h - kept.height);
    return kept;
}

uint32_t SdlClock::now() const { return SDL_GetTicks(); }

bool realDisplay() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver) return false;
    const std::string_view name = driver;
    if (name != "offscreen" && name != "dummy") return true;
    const char* asked = SDL_getenv("SDL_VIDEODRIVER");
    return asked && name == asked;
}

// SDL asks the X server about the frame the window manager puts around the window (where the window
// stands, after a move or a configure message). The window manager may destroy that frame at the
// same moment, above all when full screen is left or the window closes, and the server then answers
// BadWindow: harmless to the game, fatal under Xlib's own handler (seen once in some 760 stops).
// Xlib keeps one handler for the process, so it is set through the library SDL loaded; SDL's own
// handler only restores display modes, which a full-screen desktop window never changes.
void keepXErrorsNonFatal() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver || std::string_view(driver) != "x11") return;
    void* xlib = SDL_LoadObject("libX11.so.6");
    if (!xlib) return;
    using Handler = int (*)(void*, XErrorReport*);
    using SetHandler = Handler (*)(Handler);
    if (auto set = reinterpret_cast<SetHandler>(SDL_LoadFunction(xlib, "XSetErrorHandler"))) set(noteXError);
    // The library stays loaded for the process, as SDL's own copy does.
}

void catchStopSignals() {
    for (int signal : {SIGINT, SIGTERM}) {
        struct sigaction action {};
        // A signal ignored from the start stays ignored (a shell starts background jobs that way).
        if (sigaction(signal, nullptr, &action) != 0 || action.sa_handler == SIG_IGN) continue;
        action = {};
        action.sa_handler = onStopSignal;
        sigemptyset(&action.sa_mask);
        sigaction(signal, &action, nullptr);
    }
}

bool stopSignalReceived() { return stopSignalled != 0; }

SdlPlatform::SdlPlatform(std::filesystem::path cursorPicture, std::filesystem::path iconPicture)
    : cursorPicture_(std::move(cursorPicture)), iconPicture_(std::move(iconPicture)) {}

SdlPlatform::~SdlPlatform() {
    for (const auto& [id, controller] : controllers_) SDL_GameControllerClose(controller);
    if (ownCursor_) SDL_FreeCursor(ownCursor_);
    if (arrowCursor_) SDL_FreeCursor(arrowCursor_);
    if (texture_) SDL_DestroyTexture(texture_);
    if (renderer_) SDL_DestroyRenderer(renderer_);
    if (window_) SDL_DestroyWindow(window_);
}

data::WindowPlacement SdlPlatform::placementToOpen() const {
    const std::vector<Rect> usable = usableDisplayAreas();
    return placement_ ? keepOnDisplays(*placement_, usable) : firstPlacement(usable.front());
}

bool SdlPlatform::createWindow(bool windowed, const std::optional<data::WindowPlacement>& placement) {
    placement_ = placement;
    const data::WindowPlacement where = placementToOpen();
    // Full screen remembers the window's place for the way back; a window takes it as it opens.
    if (windowed || placement_) placement_ = where;
    // Left to itself SDL backs a window surface (which the window-surface path and SDL's software
    // renderer draw into) with an accelerated renderer's texture: the very stack those paths avoid.
    // The surface is then the X server's shared image.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    const uint32_t flags = SDL_WINDOW_SHOWN | SDL_WINDOW_RESIZABLE | (windowed ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
    auto open = [&] {
        window_ = SDL_CreateWindow("Lumerik", where.x, where.y, where.width, where.height, flags);
        if (!window_) return false;
        SDL_SetWindowMinimumSize(window_, kMinimumWindowWidth, kMinimumWindowHeight);
        return true;
    };
    if (!open()) return false;

    // A renderer named in SDL_RENDER_DRIVER is the user's choice; otherwise the accelerated one is
    // used only where a graphics card draws it.
    const char* named = SDL_GetHint(SDL_HINT_RENDER_DRIVER);
    if (named && *named) {
        if (!createRenderer(0)) return false;
    } else if (renderNodeAvailable() && createRenderer(SDL_RENDERER_ACCELERATED) && drawsInSoftware(renderer_)) {
        // The OpenGL window that renderer made of ours goes with it: a plain window takes its place.
        SDL_DestroyTexture(texture_);
        SDL_DestroyRenderer(renderer_);
        SDL_DestroyWindow(window_);
        texture_ = nullptr;
        renderer_ = nullptr;
        if (!open()) return false;
    }
    if (!renderer_) {
        path_ = PresentPath::WindowSurface;
        if (!SDL_GetWindowSurface(window_) && !createRenderer(SDL_RENDERER_SOFTWARE)) return false;
    }

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
    repaint_ = true;
    return true;
}

bool SdlPlatform::createRenderer(uint32_t flags) {
    renderer_ = SDL_CreateRenderer(window_, -1, flags);
    if (!renderer_) return false;
    if (!createTexture()) {
        SDL_DestroyRenderer(renderer_);
        renderer_ = nullptr;
        return false;
    }
    path_ = PresentPath::Renderer;
    repaint_ = true;
    return true;
}

bool SdlPlatform::createTexture() {
    if (texture_) SDL_DestroyTexture(texture_);
    // The fourth byte of a pixel is not part of the picture: the texture has no alpha.
    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, kScreenWidth, kScreenHeight);
    repaint_ = true;
    return texture_ != nullptr;
}

void SdlPlatform::setWindowMode(bool windowed) {
    if (!window_) return;
    if (!windowed) {
        notePlacement();
        SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP);
    } else {
        SDL_SetWindowFullscreen(window_, 0);
        // Back where the window last stood, or where a first window goes.
        const data::WindowPlacement where = placementToOpen();
        placement_ = where;
        SDL_SetWindowSize(window_, where.width, where.height);
        // SDL places the window by its inner corner, the frame's border above and left of it.
        int top = 0, left = 0;
        if (SDL_GetWindowBordersSize(window_, &top, &left, nullptr, nullptr) != 0) top = left = 0;
        SDL_SetWindowPosition(window_, where.x + left, where.y + top);
        SDL_ShowWindow(window_);
    }
    repaint_ = true;
}

bool SdlPlatform::notePlacement() {
    if (!window_ || (SDL_GetWindowFlags(window_) & (SDL_WINDOW_FULLSCREEN | SDL_WINDOW_MINIMIZED | SDL_WINDOW_HIDDEN)))
        return false;
    data::WindowPlacement now;
    SDL_GetWindowPosition(window_, &now.x, &now.y);
    SDL_GetWindowSize(window_, &now.width, &now.height);
    // The corner is the frame's, where the window manager puts a new window that asks for a place.
    int top = 0, left = 0;
    if (SDL_GetWindowBordersSize(window_, &top, &left, nullptr, nullptr) == 0) {
        now.x -= left;
        now.y -= top;
    }
    if (placement_ == now) return false;
    placement_ = now;
    return true;
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
    if (ticking_) return;
    ticking_ = true;
    nextTickAt_ = SDL_GetTicks() + kTickMs;
}

void SdlPlatform::stopTimer() { ticking_ = false; }

bool SdlPlatform::waitEvent(InputEvent& event) {
    while (pending_.empty()) {
        if (stopSignalReceived() && !stopDelivered_) {
            stopDelivered_ = true;
            InputEvent close;
            close.type = InputEvent::Type::Close;
            pending_.push_back(close);
            break;
        }
        SDL_Event sdlEvent;
        if (!ticking_) {
            if (!SDL_WaitEvent(&sdlEvent)) return false;
            translate(sdlEvent);
            continue;
        }
        const uint32_t now = SDL_GetTicks();
        const auto wait = static_cast<int32_t>(nextTickAt_ - now);
        if (wait <= 0) {
            // The period is kept against an absolute deadline, so ticks do not drift; a frame that
            // ran past the next deadline is not made up for with a burst of ticks.
            nextTickAt_ += kTickMs;
            if (static_cast<int32_t>(nextTickAt_ - now) <= 0) nextTickAt_ = now + kTickMs;
            repeatHeldDirection(now);
            InputEvent tick;
            tick.type = InputEvent::Type::Tick;
            pending_.push_back(tick);
            break;
        }
        if (SDL_WaitEventTimeout(&sdlEvent, wait)) translate(sdlEvent);
    }
    event = pending_.front();
    pending_.pop_front();
    return true;
}

void SdlPlatform::translate(const SDL_Event& e) {
    InputEvent event;
    switch (e.type) {
        case SDL_QUIT: event.type = InputEvent::Type::Close; break;
        case SDL_WINDOWEVENT:
            switch (e.window.event) {
                case SDL_WINDOWEVENT_FOCUS_GAINED: event.type = InputEvent::Type::FocusGained; break;
                case SDL_WINDOWEVENT_FOCUS_LOST: event.type = InputEvent::Type::FocusLost; break;
                case SDL_WINDOWEVENT_CLOSE: event.type = InputEvent::Type::Close; break;
                case SDL_WINDOWEVENT_EXPOSED:
                case SDL_WINDOWEVENT_SHOWN:
                case SDL_WINDOWEVENT_RESTORED:
                case SDL_WINDOWEVENT_MAXIMIZED:
                    // The window's contents are stale: the next frame is drawn whole.
                    repaint_ = true;
                    return;
                case SDL_WINDOWEVENT_SIZE_CHANGED:
                case SDL_WINDOWEVENT_RESIZED:
                    // A new size: the picture is drawn whole at once (a new window surface, new bars),
                    // not left torn until the next frame changes.
                    repaint_ = true;
                    if (presented_) show(0, kScreenHeight);
                    [[fallthrough]];
                case SDL_WINDOWEVENT_MOVED:
                    if (!notePlacement()) return;
                    event.type = InputEvent::Type::WindowPlaced;
                    break;
                default: return;
            }
            break;
        case SDL_RENDER_TARGETS_RESET:
        case SDL_RENDER_DEVICE_RESET: lost_ = true; return;
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
            event.shift = (e.key.keysym.mod & KMOD_SHIFT) != 0;
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
        case SDL_CONTROLLERDEVICEADDED:
        case SDL_CONTROLLERDEVICEREMOVED:
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
        case SDL_CONTROLLERAXISMOTION: translatePad(e); return;
        default: return;
    }
    pending_.push_back(event);
}

void SdlPlatform::translatePad(const SDL_Event& e) {
    const uint32_t now = SDL_GetTicks();
    switch (e.type) {
        case SDL_CONTROLLERDEVICEADDED: {
            // Added carries the device index; every later message names the joystick's instance id.
            SDL_GameController* controller = SDL_GameControllerOpen(e.cdevice.which);
            if (!controller) return;
            const SDL_JoystickID id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
            if (controllers_.count(id) != 0) {
                SDL_GameControllerClose(controller);  // already open: the reference just taken goes back
                return;
            }
            controllers_[id] = controller;
            InputEvent event;
            event.type = InputEvent::Type::PadConnected;
            pending_.push_back(event);
            return;
        }
        case SDL_CONTROLLERDEVICEREMOVED: {
            const auto found = controllers_.find(e.cdevice.which);
            if (found == controllers_.end()) return;
            SDL_GameControllerClose(found->second);
            controllers_.erase(found);
            holdDirection(std::nullopt, now);
            stickDirection_.reset();
            InputEvent event;
            event.type = InputEvent::Type::PadDisconnected;
            pending_.push_back(event);
            return;
        }
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP: {
            const std::optional<PadButton> button = padButtonOf(e.cbutton.button);
            if (!button) return;
            if (e.type == SDL_CONTROLLERBUTTONUP) {
                if (heldDirection_ == button) holdDirection(std::nullopt, now);
                return;
            }
            pushPad(*button);
            if (isDirection(*button)) holdDirection(button, now);
            return;
        }
        case SDL_CONTROLLERAXISMOTION: {
            if (e.caxis.axis != SDL_CONTROLLER_AXIS_LEFTX && e.caxis.axis != SDL_CONTROLLER_AXIS_LEFTY) return;
            SDL_GameController* controller = SDL_GameControllerFromInstanceID(e.caxis.which);
            if (!controller) return;
            const int x = SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTX);
            const int y = SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTY);
            const int limit = stickDirection_ ? kStickRelease : kStickPush;
            std::optional<PadButton> direction;
            if (std::abs(x) >= std::abs(y) && std::abs(x) > limit) direction = x < 0 ? PadButton::Left : PadButton::Right;
            if (std::abs(y) > std::abs(x) && std::abs(y) > limit) direction = y < 0 ? PadButton::Up : PadButton::Down;
            if (direction == stickDirection_) return;
            const std::optional<PadButton> previous = std::exchange(stickDirection_, direction);
            if (direction) {
                pushPad(*direction);
                holdDirection(direction, now);
            } else if (heldDirection_ == previous) {
                holdDirection(std::nullopt, now);
            }
            return;
        }
        default: return;
    }
}

void SdlPlatform::pushPad(PadButton button) {
    InputEvent event;
    event.type = InputEvent::Type::PadDown;
    event.pad = button;
    pending_.push_back(event);
}

void SdlPlatform::holdDirection(std::optional<PadButton> direction, uint32_t now) {
    heldDirection_ = direction;
    nextRepeatAt_ = now + kRepeatDelayMs;
}

void SdlPlatform::repeatHeldDirection(uint32_t now) {
    if (!heldDirection_ || static_cast<int32_t>(now - nextRepeatAt_) < 0) return;
    nextRepeatAt_ = now + kRepeatPeriodMs;
    pushPad(*heldDirection_);
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

Viewport SdlPlatform::viewport() const {
    int w = kScreenWidth, h = kScreenHeight;
    if (window_) SDL_GetWindowSize(window_, &w, &h);
    return letterbox(w, h);
}

Point SdlPlatform::pointer() const {
    int wx = 0, wy = 0;
    SDL_GetMouseState(&wx, &wy);
    return windowToPicture(viewport(), wx, wy);
}

void SdlPlatform::movePointer(Point p) {
    if (!window_) return;
    const Point at = pictureToWindow(viewport(), p);
    SDL_WarpMouseInWindow(window_, at.x, at.y);
}

void SdlPlatform::present(const Surface& backBuffer) {
    if (!window_ || backBuffer.width != kScreenWidth || backBuffer.height != kScreenHeight) return;
    // Only the band of rows between the first and the last that changed is sent; an unchanged
    // frame is not sent at all.
    int top = 0, bottom = kScreenHeight;
    if (!repaint_) {
        while (top < bottom && sameRow(backBuffer, screen_, top)) ++top;
        if (top == bottom) return;
        while (bottom > top && sameRow(backBuffer, screen_, bottom - 1)) --bottom;
    }
    for (int y = top; y < bottom; ++y) std::memcpy(screen_.row(y), backBuffer.row(y), static_cast<size_t>(kScreenWidth) * 4);
    presented_ = true;
    show(top, bottom);
}

void SdlPlatform::show(int top, int bottom) {
    if (path_ == PresentPath::WindowSurface) {
        switch (presentToWindowSurface(top, bottom)) {
            case SurfaceResult::Drawn: repaint_ = false; return;
            case SurfaceResult::NotNow: repaint_ = true; return;
            case SurfaceResult::OddFormat:
                // A window surface this code cannot fill directly: SDL's software renderer converts.
                if (!createRenderer(SDL_RENDERER_SOFTWARE)) return;
                break;
        }
    }
    presentToRenderer(top, bottom);
    repaint_ = false;
}

void SdlPlatform::presentToRenderer(int top, int bottom) {
    if (!renderer_ || !texture_) return;
    if (repaint_) top = 0, bottom = kScreenHeight;
    const SDL_Rect rows{0, top, kScreenWidth, bottom - top};
    SDL_UpdateTexture(texture_, &rows, screen_.row(top), screen_.pitch * 4);
    int w = kScreenWidth, h = kScreenHeight;
    SDL_GetRendererOutputSize(renderer_, &w, &h);
    const Viewport v = letterbox(w, h);
    SDL_SetTextureScaleMode(texture_, sharpScale(v) ? SDL_ScaleModeNearest : SDL_ScaleModeLinear);
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    const SDL_Rect picture{v.x, v.y, v.w, v.h};
    SDL_RenderCopy(renderer_, texture_, nullptr, &picture);
    SDL_RenderPresent(renderer_);
}

SdlPlatform::SurfaceResult SdlPlatform::presentToWindowSurface(int top, int bottom) {
    SDL_Surface* target = SDL_GetWindowSurface(window_);
    if (!target) return SurfaceResult::NotNow;
    const uint32_t format = target->format->format;
    if (format != SDL_PIXELFORMAT_RGB888 && format != SDL_PIXELFORMAT_ARGB8888) return SurfaceResult::OddFormat;
    // A window with an alpha channel gets opaque pixels; otherwise the fourth byte is ignored.
    const uint32_t opaque = format == SDL_PIXELFORMAT_ARGB8888 ? 0xFF000000u : 0;
    const Viewport v = letterbox(target->w, target->h);
    if (SDL_MUSTLOCK(target) && SDL_LockSurface(target) != 0) return SurfaceResult::NotNow;
    if (repaint_) {
        SDL_FillRect(target, nullptr, SDL_MapRGB(target->format, 0, 0, 0));
        top = 0;
        bottom = kScreenHeight;
    }
    auto* base = static_cast<uint8_t*>(target->pixels);
    auto targetRow = [&](int y) {
        return reinterpret_cast<uint32_t*>(base + static_cast<ptrdiff_t>(v.y + y) * target->pitch) + v.x;
    };

    const bool sharp = sharpScale(v);
    if (tapsFor_.w != v.w || tapsFor_.h != v.h) {
        tapsFor_ = v;
        // Sharp: each window pixel takes the picture pixel it lies on. Smooth: the picture is sampled
        // at the window pixel's centre, between the two nearest pixels' centres.
        auto taps = [sharp](std::vector<Tap>& out, int span, int size) {
            out.resize(static_cast<size_t>(span));
            for (int i = 0; i < span; ++i) {
                Tap& tap = out[static_cast<size_t>(i)];
                if (sharp) {
                    tap = {i * size / span, i * size / span, 0};
                    continue;
                }
                const int64_t at = std::max<int64_t>(0, ((int64_t{2} * i + 1) * size * 256) / (int64_t{2} * span) - 128);
                tap.from = std::min(static_cast<int>(at >> 8), size - 1);
                tap.to = std::min(tap.from + 1, size - 1);
                tap.weight = tap.to == tap.from ? 0 : static_cast<uint32_t>(at & 0xFF);
            }
        };
        taps(columnTaps_, v.w, kScreenWidth);
        taps(rowTaps_, v.h, kScreenHeight);
        for (auto& row : filteredRows_) row.assign(static_cast<size_t>(v.w), 0);
    }
    filteredRow_[0] = filteredRow_[1] = -1;
    // A picture row filtered across to the window's width.
    auto filtered = [&](int sourceY) -> const uint32_t* {
        std::vector<uint32_t>& row = filteredRows_[sourceY & 1];
        if (filteredRow_[sourceY & 1] == sourceY) return row.data();
        filteredRow_[sourceY & 1] = sourceY;
        const uint32_t* in = screen_.row(sourceY);
        for (int x = 0; x < v.w; ++x) {
            const Tap& tap = columnTaps_[static_cast<size_t>(x)];
            row[static_cast<size_t>(x)] = blend(in[tap.from], in[tap.to], tap.weight);
        }
        return row.data();
    };

    // The window rows that take anything from the picture rows [top, bottom).
    int first = 0;
    while (first < v.h && rowTaps_[static_cast<size_t>(first)].to < top) ++first;
    int last = first;
    while (last < v.h && rowTaps_[static_cast<size_t>(last)].from < bottom) ++last;
    const bool unscaled = v.w == kScreenWidth;
    for (int y = first; y < last; ++y) {
        const Tap& rowTap = rowTaps_[static_cast<size_t>(y)];
        uint32_t* out = targetRow(y);
        if (sharp) {
            if (y > first && rowTaps_[static_cast<size_t>(y - 1)].from == rowTap.from) {
                std::memcpy(out, targetRow(y - 1), static_cast<size_t>(v.w) * 4);
                continue;
            }
            const uint32_t* in = screen_.row(rowTap.from);
            if (unscaled && !opaque) {
                std::memcpy(out, in, static_cast<size_t>(kScreenWidth) * 4);
            } else {
                for (int x = 0; x < v.w; ++x) out[x] = in[columnTaps_[static_cast<size_t>(x)].from] | opaque;
            }
            continue;
        }
        const uint32_t* upper = filtered(rowTap.from);
        const uint32_t* lower = filtered(rowTap.to);
        for (int x = 0; x < v.w; ++x) out[x] = blend(upper[x], lower[x], rowTap.weight) | opaque;
    }
    if (SDL_MUSTLOCK(target)) SDL_UnlockSurface(target);

    if (repaint_) {
        SDL_UpdateWindowSurface(window_);
    } else {
        const SDL_Rect band{v.x, v.y + first, v.w, last - first};
        SDL_UpdateWindowSurfaceRects(window_, &band, 1);
    }
    return SurfaceResult::Drawn;
}

void SdlPlatform::restoreSurfaces() {
    if (!lost_) return;
    if (path_ == PresentPath::WindowSurface || (renderer_ && createTexture())) lost_ = false;
    repaint_ = true;
}

void SdlPlatform::beep() {
    if (beepHandler_) beepHandler_();
}

}  // namespace present
