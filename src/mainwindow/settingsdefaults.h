#pragma once

// Screens smaller than this cannot show the main window's panels at all.
inline constexpr int MinimumScreenWidth = 800;
inline constexpr int MinimumScreenHeight = 600;
// Below this the compact layout is used.
inline constexpr int CompactBelowWidth = 1024;
inline constexpr int CompactBelowHeight = 720;
