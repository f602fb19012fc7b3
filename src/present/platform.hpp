#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "data/settings.hpp"
#include "game/board_geometry.hpp"
#include "game/clock.hpp"
#include "present/surface.hpp"

namespace present {

using rules::Point;
using rules::Rect;

enum class CursorShape { Own, SystemArrow };
enum class MouseButton { Left, Right };
enum class Key {
    Left,
    Right,
    Up,
    Down,
    Return,
    Backspace,
    Escape,
    Letter,
    Tab,  // `shift` says whether Shift was held
    // The numeric keypad's 8, 2, 4 and 6: the block cursor's keys beside I, K, J and L.
    KeypadUp,
    KeypadDown,
    KeypadLeft,
    KeypadRight,
    Other,
};

// A game controller's buttons, by their place on the pad (SDL's game controller names). The left
// stick arrives as the d-pad's four directions.
enum class PadButton { A, B, X, Y, Back, Start, LeftShoulder, RightShoulder, Up, Down, Left, Right };

// What the message loop hands to the window procedure, in the window's terms.
struct InputEvent {
    enum class Type {
        Tick,        // the 33 ms timer fired
        ButtonDown,  // a press; `clicks` 2 is the second press of a double click
        ButtonUp,
        KeyDown,    // `key`, and for Key::Letter the capital letter in `character`
        Character,  // a typed character byte in `character` (8 backspace, 13 return)
        AltEnter,
        FocusGained,
        FocusLost,
        Close,  // the window's close box
        Quit,
        WindowPlaced,     // the window was moved or resized while windowed
        PadDown,          // `pad` pressed, or a held direction repeating
        PadConnected,     // a game controller was plugged in (or found at start)
        PadDisconnected,  // an open game controller went away
    };
    Type type = Type::Tick;
    MouseButton button = MouseButton::Left;
    int clicks = 1;
    Point at;
    Key key = Key::Other;
    uint8_t character = 0;
    bool shift = false;
    PadButton pad = PadButton::A;
};

// The desktop's display mode, for the windowed-mode check.
struct DesktopMode {
    int bytesPerPixel = 4;
    int width = 1024;
};

// The platform services the game needs: one clock, the window and its message pump, the cursor,
// the keyboard's Escape state, the pointer, presenting a frame, lost surfaces and the beep. The SDL
// implementation drives a real window; the headless one drives lumerik-sim and the tests.
class Platform {
  public:
    virtual ~Platform() = default;

    virtual const rules::Clock& clock() const = 0;

    // Creates the one window, windowed or full screen. A window opens where `placement` says (kept on
    // a display that is there now); without one, at the largest whole multiple of 800 by 600 that
    // leaves the desktop around it in sight, centred. False on failure.
    virtual bool createWindow(bool windowed, const std::optional<data::WindowPlacement>& placement) = 0;
    // Switches an existing window between windowed and full screen; windowed, it goes back to where
    // it last stood as a window.
    virtual void setWindowMode(bool windowed) = 0;
    // Where the window stands as a window (its frame's corner, its inner size), or stood when it was
    // last one; none while it has only been full screen.
    virtual std::optional<data::WindowPlacement> windowPlacement() const = 0;
    virtual DesktopMode desktopMode() const = 0;
    virtual void minimise() = 0;

    // Periodic 33 ms tick events delivered through waitEvent.
    virtual void startTimer() = 0;
    virtual void stopTimer() = 0;
    // Blocks until the next event. False when the pump itself failed.
    virtual bool waitEvent(InputEvent& event) = 0;

    virtual void setCursor(CursorShape shape) = 0;
    virtual bool escapeDown() const = 0;
    // The pointer in picture coordinates, clamped to the 800 by 600 picture.
    virtual Point pointer() const = 0;
    // Puts the pointer on picture point `p`.
    virtual void movePointer(Point p) = 0;

    // Shows the 800 by 600 back buffer.
    virtual void present(const Surface& backBuffer) = 0;
    // The picture now on screen (the last frame presented).
    virtual const Surface& screen() const = 0;

    // The display reports its surfaces lost; restoring is attempted each tick.
    virtual bool surfacesLost() const = 0;
    virtual void restoreSurfaces() = 0;

    // A 4000 Hz, 100 ms tone (a picture that does not decode).
    virtual void beep() = 0;
};

}  // namespace present
