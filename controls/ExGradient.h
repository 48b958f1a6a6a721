// The gradient direction the styled controls share: vertical means the
// colour changes down the height, horizontal across the width.
//
//     if (dir == controls::TGradientDirection::gdHorizontal) ...
#pragma once

namespace controls {

enum class TGradientDirection { gdVertical, gdHorizontal };

} // namespace controls
