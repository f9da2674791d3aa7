#pragma once
// The five held keys that drive the mover.

inline constexpr double kTurnStep = 0.0872664625997164739;  // 5 degrees in radians

void TurnLeft();    // A
void TurnRight();   // D
void Accelerate();  // W
void Decelerate();  // S
void Stop();        // Space

// Creates the five actions (A, D, W, S, Space) and binds them in the global registry.
void BindHeldKeyActions();
