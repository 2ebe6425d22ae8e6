#include "zoom/zoom_steps.h"

namespace f7301 {
namespace {

// Factors this close are one step: the browser hands back a factor it has
// rounded.
constexpr double kSameStep = 0.005;

}  // namespace

double NextZoomStep(double factor, bool in) {
  if (in) {
    for (double step : kZoomSteps)
      if (step > factor + kSameStep) return step;
    return kLargestZoom;
  }
  for (auto it = std::rbegin(kZoomSteps); it != std::rend(kZoomSteps); ++it)
    if (*it < factor - kSameStep) return *it;
  return kSmallestZoom;
}

}  // namespace f7301
