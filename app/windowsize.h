#pragma once

// The window's design size, at which every size of the layout is given,
// and the smallest size it may take.
constexpr int kDesignWidth = 1500;
constexpr int kDesignHeight = 1100;
constexpr int kMinimumWidth = 800;
constexpr int kMinimumHeight = 600;
