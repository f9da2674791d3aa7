#include "platform/windows_emulation.h"

#include <algorithm>
#include <cmath>

#include "platform/layer_shared.h"

namespace vellumor::platform {

WindowsEmulation emulation;

namespace {

constexpr std::int32_t kAltKey = 18;   // VK_MENU
constexpr std::int32_t kF10Key = 121;  // VK_F10

}  // namespace

bool IsSystemKey(std::int32_t key, KeyModifiers modifiers) {
  if (key == kAltKey || key == kF10Key) return true;
  return modifiers.meta || (modifiers.alt && !modifiers.ctrl);
}

void WindowsEmulation::Reset(const HostServices& host) {
  *this = WindowsEmulation{};
  host_ = host;
}

bool WindowsEmulation::Key(std::int32_t key, bool down, KeyModifiers modifiers, bool hostRepeat,
                           std::uint32_t time) {
  if (key <= 0 || key >= kKeyCount) return false;
  const bool heldThrough = heldAtFocusLoss_[key] && (!focused_ || (host_.pressesHeldKeysOnFocus &&
                                                                   time - focusGainedAt_ <= kHeldThroughMs));
  heldAtFocusLoss_[key] = false;
  const bool wasDown = keysDown_[key];
  keysDown_[key] = down;
  if (!down) {
    // Only keys the window heard go down, or held through a focus change,
    // are heard coming up.
    const bool took = taken_[key];
    taken_[key] = false;
    if (wasDown || heldThrough) Deliver({.kind = EventKind::KeyUp, .key = key});
    return took;
  }
  if (IsSystemKey(key, modifiers)) return false;
  const bool repeat = hostRepeat || wasDown || heldThrough;
  const bool handled = Deliver({.kind = EventKind::KeyDown, .key = key, .repeat = repeat});
  if (!repeat) taken_[key] = handled;
  return taken_[key];
}

void WindowsEmulation::Focus(bool active, std::uint32_t time) {
  if (active == focused_) return;
  focused_ = active;
  if (active) {
    focusGainedAt_ = time;
  } else {
    heldAtFocusLoss_ = keysDown_;
    keysDown_.reset();
  }
  Deliver({.kind = EventKind::Activate, .active = active});
  // The system takes the capture from an application that loses the focus.
  if (!active) DropCapture();
}

void WindowsEmulation::Wheel(double units) {
  if (!std::isfinite(units)) return;
  const double total = std::clamp(wheelResidue_ + units, -1.0e6, 1.0e6);
  const double whole = std::trunc(total);
  wheelResidue_ = total - whole;
  if (whole != 0.0) Deliver({.kind = EventKind::Wheel, .wheelDelta = static_cast<std::int32_t>(whole)});
}

void WindowsEmulation::Size(std::int32_t width, std::int32_t height) {
  if (width == sentWidth_ && height == sentHeight_) return;
  sentWidth_ = width;
  sentHeight_ = height;
  Deliver({.kind = EventKind::Size, .x = width, .y = height});
}

void WindowsEmulation::Move(std::int32_t x, std::int32_t y) {
  if (moveSent_ && x == sentX_ && y == sentY_) return;
  moveSent_ = true;
  sentX_ = x;
  sentY_ = y;
  Deliver({.kind = EventKind::Move, .x = x, .y = y});
}

void WindowsEmulation::Dpi(std::int32_t dpi) {
  if (dpi <= 0 || dpi == sentDpi_) return;
  sentDpi_ = dpi;
  Deliver({.kind = EventKind::DpiChanged, .x = dpi});
}

namespace {

bool Inside(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height) {
  return x >= 0 && y >= 0 && x < width && y < height;
}

}  // namespace

void WindowsEmulation::Motion(std::int32_t x, std::int32_t y) {
  if (captured_ || Inside(x, y, sentWidth_, sentHeight_)) Deliver({.kind = EventKind::MouseMove, .x = x, .y = y});
}

void WindowsEmulation::Button(bool down, std::int32_t x, std::int32_t y) {
  if (!captured_ && !Inside(x, y, sentWidth_, sentHeight_)) return;
  Deliver({.kind = down ? EventKind::LeftButtonDown : EventKind::LeftButtonUp, .x = x, .y = y});
}

void WindowsEmulation::RelativeMotion(double dx, double dy) {
  if (!relativeActive_ || (dx == 0.0 && dy == 0.0)) return;
  virtualX_ += dx;
  virtualY_ += dy;
  Deliver({.kind = EventKind::MouseMove,
           .x = static_cast<std::int32_t>(std::lround(virtualX_ - sentX_)),
           .y = static_cast<std::int32_t>(std::lround(virtualY_ - sentY_))});
}

namespace {

template <typename Finger>
double FingerDistance(const Finger& a, const Finger& b) {
  return std::sqrt((b.x - a.x) * (b.x - a.x) + (b.y - a.y) * (b.y - a.y));
}

}  // namespace

// Touch. A lone finger's gesture follows look mode as it is at each move:
// F1 or F4 pressed with the other hand changes what the finger does next.
// Whenever the number of fingers changes, the gesture ends and the one for
// the fingers now down begins from where they are, so nothing jumps.
void WindowsEmulation::Touch(TouchPhase phase, std::int64_t id, double x, double y) {
  if (!std::isfinite(x) || !std::isfinite(y)) return;
  Finger* finger = std::find_if(fingers_.begin(), fingers_.begin() + fingerCount_,
                                [id](const Finger& f) { return f.id == id; });
  const bool known = finger != fingers_.begin() + fingerCount_;
  if (phase == TouchPhase::Start) {
    if (known || fingerCount_ == kMaxFingers) return;
    EndGesture();
    fingers_[fingerCount_++] = {id, x, y};
    BeginGesture();
    return;
  }
  if (!known) return;  // began elsewhere, or before the window
  const Finger before = *finger;
  finger->x = x;
  finger->y = y;
  if (phase == TouchPhase::End) {
    EndGesture();
    std::copy(finger + 1, fingers_.begin() + fingerCount_, finger);
    --fingerCount_;
    BeginGesture();
  } else if (fingerCount_ == 1 && relativeActive_) {
    RelativeMotion(x - before.x, y - before.y);
  } else if (fingerCount_ == 1 && touchButton_) {
    Motion(static_cast<std::int32_t>(std::lround(x)), static_cast<std::int32_t>(std::lround(y)));
  } else if (fingerCount_ >= 2 && finger - fingers_.begin() < 2) {
    PinchStep();
  }
}

void WindowsEmulation::BeginGesture() {
  if (fingerCount_ >= 2) {
    pinchDistance_ = FingerDistance(fingers_[0], fingers_[1]);
    return;
  }
  if (fingerCount_ == 0 || relativeActive_) return;
  const auto x = static_cast<std::int32_t>(std::lround(fingers_[0].x));
  const auto y = static_cast<std::int32_t>(std::lround(fingers_[0].y));
  touchButton_ = captured_ || Inside(x, y, sentWidth_, sentHeight_);
  Button(true, x, y);
}

void WindowsEmulation::EndGesture() {
  if (!touchButton_) return;
  touchButton_ = false;
  Button(false, static_cast<std::int32_t>(std::lround(fingers_[0].x)),
         static_cast<std::int32_t>(std::lround(fingers_[0].y)));
}

// Whole notches only: the window procedure zooms once for a sum of 120 or
// more and drops the rest, so a larger sum would lose zoom.
void WindowsEmulation::PinchStep() {
  constexpr double kNotch = 120.0;
  const double distance = FingerDistance(fingers_[0], fingers_[1]);
  if (distance > 0.0 && pinchDistance_ > 0.0) {
    pinchUnits_ -= kNotch * std::log(distance / pinchDistance_) / std::log(1.2);
  }
  pinchDistance_ = distance;
  for (; pinchUnits_ >= kNotch; pinchUnits_ -= kNotch) Wheel(kNotch);
  for (; pinchUnits_ <= -kNotch; pinchUnits_ += kNotch) Wheel(-kNotch);
}

void WindowsEmulation::WarpCursor(std::int32_t x, std::int32_t y) {
  if (!host_.canWarp) {
    if (!relativeActive_) {
      relativeActive_ = true;
      if (host_.relativeMotion != nullptr) host_.relativeMotion(true);
    }
    virtualX_ = x;
    virtualY_ = y;
    return;
  }
  if (host_.warp != nullptr) host_.warp(x, y);
  // Motion still queued happened before the warp and is measured from where
  // the pointer was, not from the point: setting the cursor's position on
  // Windows likewise replaces the motion not yet read.
  if (host_.discardQueuedMotion != nullptr) host_.discardQueuedMotion();
}

void WindowsEmulation::EndRelativeMotion() {
  if (!relativeActive_) return;
  relativeActive_ = false;
  if (host_.relativeMotion != nullptr) host_.relativeMotion(false);
}

void WindowsEmulation::CaptureMouse() {
  captured_ = true;
  if (host_.capture != nullptr) host_.capture(true);
}

void WindowsEmulation::DropCapture() {
  if (!captured_) return;
  captured_ = false;
  if (host_.capture != nullptr) host_.capture(false);
  Deliver({.kind = EventKind::CaptureLost});
}

void WindowsEmulation::Quit(int exitCode) {
  quitRequested_ = true;
  exitCode_ = exitCode;
}

void WindowsEmulation::Destroyed() {
  if (captured_ && host_.capture != nullptr) host_.capture(false);
  captured_ = false;
  EndRelativeMotion();
}

}  // namespace vellumor::platform
