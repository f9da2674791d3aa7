#pragma once
// What makes a host that is not Windows behave as a Windows window does,
// written once for the layers that need it (SDL, the browser). A layer
// translates each host event into one call below and holds its own handles;
// the emulation keeps the state Windows would keep and delivers the
// contract's events to the window procedure:
// - keys: a key-down is a repeat when the key was already down; a window
//   that loses the focus hears no key-ups, and a key held through the loss
//   goes on as an auto-repeat; system keys (Alt combinations, F10) never go
//   down for the window; the keys the procedure took stay from the host;
// - activation, and the capture, which the system takes at a focus loss;
// - Size and Move only when they change; DpiChanged likewise;
// - the wheel in units of 120, fractions kept until they make a whole unit;
// - quit and its exit code;
// - look mode where the pointer cannot be moved (Wayland, a page): a warp
//   puts a virtual cursor where the shell wants it, and relative motion
//   moves it on from there;
// - a warp replaces the motion the host queued before it, as SetCursorPos
//   does on Windows;
// - touch as the mouse: one finger turns the look in look mode (relative
//   motion is on) and drags as the left button otherwise; two pinch, as the
//   wheel turns: a notch for each factor of 1.2 in their distance, spreading
//   them zooming in.
//
// Portable and free of SDL and Emscripten, so every rule is tested natively.

#include <array>
#include <bitset>
#include <cstdint>

#include "platform/platform.h"

namespace vellumor::platform {

// What the emulation knows of its host and asks of it; a layer fills in what it has.
struct HostServices {
  // The host reports the keys still down when the focus returns as fresh
  // presses (SDL); a browser goes on with their auto-repeats instead.
  bool pressesHeldKeysOnFocus = false;
  bool canWarp = false;                                   // else look mode runs on relative motion
  void (*warp)(std::int32_t x, std::int32_t y) = nullptr;  // screen pixels
  void (*discardQueuedMotion)() = nullptr;                 // drop the motion the host queued until now
  void (*relativeMotion)(bool on) = nullptr;               // hide and lock the pointer, reporting motion
  void (*capture)(bool on) = nullptr;                      // the host's own capture, where it has one
};

// A finger's part in a touch; a cancelled touch ends as a lifted one.
enum class TouchPhase { Start, Move, End };

struct KeyModifiers {
  bool alt = false;
  bool ctrl = false;
  bool meta = false;  // the Super or Command key
};

class WindowsEmulation {
 public:
  static constexpr int kKeyCount = 256;
  // Keys such a host reports pressed this soon after the focus returns were
  // held through its loss.
  static constexpr std::uint32_t kHeldThroughMs = 500;

  void Reset(const HostServices& host);  // a new window: nothing down, nothing sent

  // Host events. Times are the host's milliseconds.
  // A key by virtual-key code; returns whether the window procedure took it
  // (the key-down, or the key whose down it took), which the host then must
  // not act on.
  bool Key(std::int32_t key, bool down, KeyModifiers modifiers, bool hostRepeat, std::uint32_t time);
  void Focus(bool active, std::uint32_t time);
  void Wheel(double units);  // in 120ths of a notch, positive turned away from the user
  void Size(std::int32_t width, std::int32_t height);  // client size in pixels
  void Move(std::int32_t x, std::int32_t y);           // client area's screen position
  void Dpi(std::int32_t dpi);
  // The pointer in client pixels, outside relative motion. The window hears
  // a move or a press over its client area, and anything while it holds the
  // capture, as on Windows.
  void Motion(std::int32_t x, std::int32_t y);
  void Button(bool down, std::int32_t x, std::int32_t y);  // the left button
  void RelativeMotion(double dx, double dy);  // pixels, while relative motion is on
  // A finger on the client area, in client pixels; id is the host's, the
  // same from the finger's start to its end.
  void Touch(TouchPhase phase, std::int64_t id, double x, double y);

  // The platform services a layer hands over.
  void WarpCursor(std::int32_t x, std::int32_t y);
  void EndRelativeMotion();  // the shell let the pointer go
  void CaptureMouse();
  void DropCapture();  // the capture went away: CaptureLost, once, if the shell held it
  void Quit(int exitCode);
  void Destroyed();  // the window went: its capture and relative motion go unannounced

  bool QuitRequested() const { return quitRequested_; }
  int ExitCode() const { return exitCode_; }
  bool Focused() const { return focused_; }
  bool Captured() const { return captured_; }
  bool RelativeActive() const { return relativeActive_; }
  std::int32_t SentWidth() const { return sentWidth_; }
  std::int32_t SentHeight() const { return sentHeight_; }

 private:
  HostServices host_;
  std::bitset<kKeyCount> keysDown_;         // as far as the window knows
  std::bitset<kKeyCount> heldAtFocusLoss_;  // down when the focus went
  std::bitset<kKeyCount> taken_;            // keys whose down the procedure took
  bool focused_ = false;
  std::uint32_t focusGainedAt_ = 0;
  bool captured_ = false;
  std::int32_t sentWidth_ = -1, sentHeight_ = -1;
  std::int32_t sentX_ = 0, sentY_ = 0;
  bool moveSent_ = false;
  std::int32_t sentDpi_ = 0;
  double wheelResidue_ = 0.0;
  bool quitRequested_ = false;
  int exitCode_ = 0;
  bool relativeActive_ = false;
  double virtualX_ = 0.0, virtualY_ = 0.0;  // the virtual cursor, screen pixels

  // Touch: the fingers down in the order they came; the first two pinch.
  struct Finger {
    std::int64_t id = 0;
    double x = 0.0, y = 0.0;
  };
  static constexpr int kMaxFingers = 10;
  std::array<Finger, kMaxFingers> fingers_{};
  int fingerCount_ = 0;
  bool touchButton_ = false;    // a lone finger holds the left button down
  double pinchDistance_ = 0.0;  // the first two fingers' distance at the last step
  double pinchUnits_ = 0.0;     // wheel units not yet a whole notch
  void BeginGesture();
  void EndGesture();
  void PinchStep();
};

// The one window's emulation, for the layer that uses it.
extern WindowsEmulation emulation;

// Windows sends Alt combinations (not Ctrl+Alt ones, which type characters)
// and F10 as system keys, whose key-downs a window procedure never sees;
// Super and Command combinations belong to the desktop or browser around.
bool IsSystemKey(std::int32_t key, KeyModifiers modifiers);

}  // namespace vellumor::platform
