// A table of pixels a picture must show: one row per probe, so a failure
// names the place that went wrong.
#pragma once

#include "platform/Types.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace mycad::test {

struct Probe {
    int32_t X;
    int32_t Y;
    TColor Colour;
};

/// Checks each probe against at(x, y), the colour of the picture there.
template <typename PixelAt>
void ExpectPixels(PixelAt&& at, std::initializer_list<Probe> probes)
{
    for (const Probe& p : probes) EXPECT_EQ(at(p.X, p.Y), p.Colour) << "at " << p.X << "," << p.Y;
}

} // namespace mycad::test
