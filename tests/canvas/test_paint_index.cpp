// The index of where shapes draw must find exactly the shapes a test of
// every box finds, in the order they were added, for any rectangle.
#include "cad/canvas/DrawIndex.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

using namespace mycad;

namespace {

struct Box {
    double Left, Top, Right, Bottom;
    bool Anywhere;
};

// The rule the index stands for, on the exact sides.
bool Meets(const Box& b, const TRect& r)
{
    return b.Anywhere || (b.Right >= r.Left && b.Left < r.Right && b.Bottom >= r.Top && b.Top < r.Bottom);
}

std::vector<uint32_t> EveryBox(const std::vector<Box>& boxes, const std::vector<uint32_t>& nos, const TRect& r)
{
    std::vector<uint32_t> found;
    for (size_t i = 0; i < boxes.size(); ++i) {
        if (Meets(boxes[i], r)) found.push_back(nos[i]);
    }
    return found;
}

} // namespace

TEST(DrawIndex, FindsWhatTestingEveryBoxFinds)
{
    constexpr double inf = std::numeric_limits<double>::infinity();
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    std::mt19937 rng(17);
    auto real = [&rng](double lo, double hi) { return std::uniform_real_distribution<>(lo, hi)(rng); };
    auto whole = [&rng](int lo, int hi) { return std::uniform_int_distribution<>(lo, hi)(rng); };
    for (int drawing = 0; drawing < 40; ++drawing) {
        // Small boxes of fractional and whole sides, some large, some far
        // away or unbounded, some unknown and some with no sides at all.
        std::vector<Box> boxes;
        std::vector<uint32_t> nos;
        const int n = whole(0, drawing < 4 ? 3 : 2000);
        uint32_t no = 0;
        for (int i = 0; i < n; ++i) {
            no += uint32_t(whole(1, 3));
            Box b{};
            const int kind = whole(0, 40);
            const double x = whole(0, 1) ? real(-100, 2100) : double(whole(-100, 2100));
            const double y = whole(0, 1) ? real(-100, 1100) : double(whole(-100, 1100));
            const double w = kind < 30 ? real(0, 60) : real(0, 1500);
            const double h = kind < 30 ? real(0, 60) : real(0, 900);
            b = {x, y, x + w, y + h, false};
            if (kind == 36) b = {-inf, y, inf, y + h, false};
            if (kind == 37) b = {x * 1e12, y, x * 1e12 + 5, y + 5, false};
            if (kind == 38) b = {x, nan, x + w, y + h, false};
            if (kind >= 39) b.Anywhere = true;
            boxes.push_back(b);
            nos.push_back(no);
        }
        TDrawIndex index;
        index.Add(999999, 0, 0, 10, 10); // forgotten by Clear
        index.Clear();
        for (size_t i = 0; i < boxes.size(); ++i) {
            if (boxes[i].Anywhere) {
                index.AddAnywhere(nos[i]);
            } else {
                index.Add(nos[i], boxes[i].Left, boxes[i].Top, boxes[i].Right, boxes[i].Bottom);
            }
        }
        index.Build();
        std::vector<uint32_t> found;
        for (int search = 0; search < 60; ++search) {
            TRect r;
            switch (search % 4) {
            case 0: r = Bounds(whole(-200, 2200), whole(-200, 1200), whole(1, 250), whole(1, 250)); break;
            case 1: r = Bounds(whole(-200, 2200), whole(-200, 1200), whole(0, 2000), whole(0, 1000)); break;
            case 2: r = Rect(whole(-300, 2300), whole(-300, 1300), whole(-300, 2300), whole(-300, 1300)); break;
            default: r = Bounds(whole(-100000, 100000), whole(-100000, 100000), whole(1, 3), whole(1, 3)); break;
            }
            index.Find(r, found);
            ASSERT_EQ(found, EveryBox(boxes, nos, r)) << "drawing " << drawing << " search " << search;
        }
    }
}
