#pragma once
// The sizes the form on screen steps through with Acercar and Alejar: a
// browser's steps, from a quarter of the normal size to five times it.
#include <iterator>

namespace f7301 {

// The sizes, as factors of the normal size.
inline constexpr double kZoomSteps[] = {0.25, 0.33, 0.5,  0.67, 0.75, 0.8, 0.9, 1.0, 1.1,
                                        1.25, 1.5,  1.75, 2.0,  2.5,  3.0, 4.0, 5.0};
inline constexpr double kSmallestZoom = kZoomSteps[0];
inline constexpr double kLargestZoom = kZoomSteps[std::size(kZoomSteps) - 1];

// The step after `factor` going in (`in`) or out; `factor` itself at either
// end. A factor between steps (from Ctrl+wheel) goes to the nearest step on
// that side.
double NextZoomStep(double factor, bool in);

}  // namespace f7301
