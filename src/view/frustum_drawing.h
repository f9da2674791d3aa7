#pragma once

namespace vellumor {

struct Camera;

// Draws the camera's frustum corners as a yellow wire box over everything
// else, and its eye as a white point, unlit. Restores depth test, lighting
// and polygon mode; leaves the colour white and the point size 2.
void DrawFrustum(const Camera& camera);

}  // namespace vellumor
