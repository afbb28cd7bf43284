#include "cad/canvas/DrawIndex.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace mycad {

namespace {

// Sides are kept within +-2^61 so that differences and sums of them and of
// 32-bit coordinates cannot overflow; no rectangle reaches that far, so
// clamping changes no answer.
constexpr int64_t kFar = int64_t(1) << 61;

int64_t FloorSide(double v)
{
    if (v >= double(kFar)) return kFar;
    if (v <= -double(kFar)) return -kFar;
    const auto whole = static_cast<int64_t>(v); // toward zero
    return double(whole) > v ? whole - 1 : whole;
}

} // namespace

void TDrawIndex::Clear(size_t count)
{
    FNos.clear();
    FAnywhere.clear();
    FApart.clear();
    FFiled.clear();
    FCellStart.clear();
    FColumns = 0;
    FRows = 0;
    FNos.reserve(count);
    FFiled.reserve(count);
}

void TDrawIndex::Add(uint32_t no, double left, double top, double right, double bottom)
{
    if (std::isnan(left) || std::isnan(top) || std::isnan(right) || std::isnan(bottom)) return;
    FFiled.push_back({{FloorSide(left), FloorSide(top), FloorSide(right), FloorSide(bottom)},
                      static_cast<uint32_t>(FNos.size())});
    FNos.push_back(no);
}

void TDrawIndex::AddAnywhere(uint32_t no)
{
    FAnywhere.push_back(static_cast<uint32_t>(FNos.size()));
    FNos.push_back(no);
}

void TDrawIndex::Build()
{
    std::vector<TFiled> added;
    added.swap(FFiled);
    added.insert(added.end(), FApart.begin(), FApart.end()); // filed again when built twice
    FApart.clear();
    FCellStart.clear();
    FColumns = 0;
    FRows = 0;
    if (added.empty()) return;
    // The cell side: a power of two at least twice the mean box, so that
    // most boxes fit in a cell and a search looks at few boxes it then
    // rejects.
    double sum = 0;
    int64_t minX = kFar;
    int64_t minY = kFar;
    int64_t maxX = -kFar;
    int64_t maxY = -kFar;
    for (const TFiled& f : added) {
        const TBox& b = f.Box;
        sum += std::min(1e9, std::max(double(b.Right) - double(b.Left), double(b.Bottom) - double(b.Top)));
        minX = std::min(minX, b.Left);
        minY = std::min(minY, b.Top);
        maxX = std::max(maxX, b.Left);
        maxY = std::max(maxY, b.Top);
    }
    const double side = std::max(16.0, 2.0 * sum / double(added.size()));
    FShift = std::min(61, static_cast<int>(std::ceil(std::log2(side))));
    // Cells no more than a few per box, however far apart the boxes lie.
    const int64_t budget = std::max<int64_t>(256, 2 * int64_t(added.size()));
    for (;;) {
        FColumns = ((maxX - minX) >> FShift) + 1;
        FRows = ((maxY - minY) >> FShift) + 1;
        if (FShift >= 61 || (FColumns <= budget && FRows <= budget / FColumns)) break;
        ++FShift;
    }
    FOriginX = minX;
    FOriginY = minY;
    const int64_t cellSide = int64_t(1) << FShift;
    const size_t cells = size_t(FColumns * FRows);
    auto cellOf = [&](const TBox& b) {
        return size_t(((b.Top - FOriginY) >> FShift) * FColumns + ((b.Left - FOriginX) >> FShift));
    };
    auto fits = [&](const TBox& b) { return b.Right - b.Left < cellSide && b.Bottom - b.Top < cellSide; };
    // Filed cell by cell in the order added (a counting sort).
    FCellStart.assign(cells + 1, 0);
    for (const TFiled& f : added) {
        if (fits(f.Box)) {
            ++FCellStart[cellOf(f.Box) + 1];
        } else {
            FApart.push_back(f);
        }
    }
    for (size_t c = 0; c < cells; ++c) FCellStart[c + 1] += FCellStart[c];
    FFiled.resize(FCellStart[cells]);
    std::vector<uint32_t> cursor(FCellStart.begin(), FCellStart.end() - 1);
    for (const TFiled& f : added) {
        if (fits(f.Box)) FFiled[cursor[cellOf(f.Box)]++] = f;
    }
}

void TDrawIndex::Find(const TRect& area, std::vector<uint32_t>& found)
{
    found.clear();
    FChosen.assign((FNos.size() + 63) / 64, 0);
    auto choose = [this](uint32_t i) { FChosen[i >> 6] |= uint64_t(1) << (i & 63); };
    for (const uint32_t i : FAnywhere) choose(i);
    for (const TFiled& f : FApart) {
        if (f.Box.Meets(area)) choose(f.Entry);
    }
    if (FColumns > 0) {
        // A filed box is less than a cell wide and high, so one that meets
        // area has its top-left corner less than a cell before area's
        // top-left and before its bottom-right.
        const int64_t cellSide = int64_t(1) << FShift;
        const int64_t firstColumn = std::max<int64_t>(0, (int64_t(area.Left) - cellSide + 1 - FOriginX) >> FShift);
        const int64_t lastColumn = std::min(FColumns - 1, (int64_t(area.Right) - 1 - FOriginX) >> FShift);
        const int64_t firstRow = std::max<int64_t>(0, (int64_t(area.Top) - cellSide + 1 - FOriginY) >> FShift);
        const int64_t lastRow = std::min(FRows - 1, (int64_t(area.Bottom) - 1 - FOriginY) >> FShift);
        for (int64_t row = firstRow; row <= lastRow; ++row) {
            if (firstColumn > lastColumn) break;
            const size_t from = FCellStart[size_t(row * FColumns + firstColumn)];
            const size_t to = FCellStart[size_t(row * FColumns + lastColumn) + 1];
            // The cells of a row are adjacent in the list.
            for (size_t k = from; k < to; ++k) {
                if (FFiled[k].Box.Meets(area)) choose(FFiled[k].Entry);
            }
        }
    }
    for (size_t w = 0; w < FChosen.size(); ++w) {
        for (uint64_t bits = FChosen[w]; bits != 0; bits &= bits - 1) {
            found.push_back(FNos[w * 64 + size_t(std::countr_zero(bits))]);
        }
    }
}

} // namespace mycad
