// Acercar and Alejar step through a browser's sizes, and a size between two
// steps (left by Ctrl+wheel) goes to the nearest one on the side asked.
#include "zoom/zoom_steps.h"

#include <gtest/gtest.h>

namespace f7301 {
namespace {

TEST(ZoomSteps, EachStepGoesToTheNextOnItsSide) {
  struct Case {
    double from;
    bool in;
    double to;
  };
  const Case cases[] = {
      {1.0, true, 1.1},  {1.0, false, 0.9},  {0.25, false, 0.25},  {5.0, true, 5.0},
      {1.05, true, 1.1}, {1.05, false, 1.0}, {1.099, true, 1.25},  {0.1, true, 0.25},
      {9.0, false, 5.0}, {0.67, true, 0.75}, {0.333, false, 0.25},
  };
  for (const Case& c : cases) {
    EXPECT_DOUBLE_EQ(NextZoomStep(c.from, c.in), c.to) << c.from << (c.in ? " in" : " out");
  }
}

}  // namespace
}  // namespace f7301
