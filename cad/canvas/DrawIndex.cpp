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
    nos_.clear();
    anywhere_.clear();
    apart_.clear();
    filed_.clear();
    cellStart_.clear();
    columns_ = 0;
    rows_ = 0;
    nos_.reserve(count);
    filed_.reserve(count);
}

void TDrawIndex::Add(uint32_t no, double left, double top, double right, double bottom)
{
    if (std::isnan(left) || std::isnan(top) || std::isnan(right) || std::isnan(bottom)) return;
    filed_.push_back({{FloorSide(left), FloorSide(top), FloorSide(right), FloorSide(bottom)},
                      static_cast<uint32_t>(nos_.size())});
    nos_.push_back(no);
}

void TDrawIndex::AddAnywhere(uint32_t no)
{
    anywhere_.push_back(static_cast<uint32_t>(nos_.size()));
    nos_.push_back(no);
}

void TDrawIndex::Build()
{
    std::vector<TFiled> added;
    added.swap(filed_);
    added.insert(added.end(), apart_.begin(), apart_.end()); // filed again when built twice
    apart_.clear();
    cellStart_.clear();
    columns_ = 0;
    rows_ = 0;
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
    shift_ = std::min(61, static_cast<int>(std::ceil(std::log2(side))));
    // Cells no more than a few per box, however far apart the boxes lie.
    const int64_t budget = std::max<int64_t>(256, 2 * int64_t(added.size()));
    for (;;) {
        columns_ = ((maxX - minX) >> shift_) + 1;
        rows_ = ((maxY - minY) >> shift_) + 1;
        if (shift_ >= 61 || (columns_ <= budget && rows_ <= budget / columns_)) break;
        ++shift_;
    }
    originX_ = minX;
    originY_ = minY;
    const int64_t cellSide = int64_t(1) << shift_;
    const size_t cells = size_t(columns_ * rows_);
    auto cellOf = [&](const TBox& b) {
        return size_t(((b.Top - originY_) >> shift_) * columns_ + ((b.Left - originX_) >> shift_));
    };
    auto fits = [&](const TBox& b) { return b.Right - b.Left < cellSide && b.Bottom - b.Top < cellSide; };
    // Filed cell by cell in the order added (a counting sort).
    cellStart_.assign(cells + 1, 0);
    for (const TFiled& f : added) {
        if (fits(f.Box)) {
            ++cellStart_[cellOf(f.Box) + 1];
        } else {
            apart_.push_back(f);
        }
    }
    for (size_t c = 0; c < cells; ++c) cellStart_[c + 1] += cellStart_[c];
    filed_.resize(cellStart_[cells]);
    std::vector<uint32_t> cursor(cellStart_.begin(), cellStart_.end() - 1);
    for (const TFiled& f : added) {
        if (fits(f.Box)) filed_[cursor[cellOf(f.Box)]++] = f;
    }
}

void TDrawIndex::Find(const TRect& area, std::vector<uint32_t>& found)
{
    found.clear();
    chosen_.assign((nos_.size() + 63) / 64, 0);
    auto choose = [this](uint32_t i) { chosen_[i >> 6] |= uint64_t(1) << (i & 63); };
    for (const uint32_t i : anywhere_) choose(i);
    for (const TFiled& f : apart_) {
        if (f.Box.Meets(area)) choose(f.Entry);
    }
    if (columns_ > 0) {
        // A filed box is less than a cell wide and high, so one that meets
        // area has its top-left corner less than a cell before area's
        // top-left and before its bottom-right.
        const int64_t cellSide = int64_t(1) << shift_;
        const int64_t firstColumn = std::max<int64_t>(0, (int64_t(area.Left) - cellSide + 1 - originX_) >> shift_);
        const int64_t lastColumn = std::min(columns_ - 1, (int64_t(area.Right) - 1 - originX_) >> shift_);
        const int64_t firstRow = std::max<int64_t>(0, (int64_t(area.Top) - cellSide + 1 - originY_) >> shift_);
        const int64_t lastRow = std::min(rows_ - 1, (int64_t(area.Bottom) - 1 - originY_) >> shift_);
        for (int64_t row = firstRow; row <= lastRow; ++row) {
            if (firstColumn > lastColumn) break;
            const size_t from = cellStart_[size_t(row * columns_ + firstColumn)];
            const size_t to = cellStart_[size_t(row * columns_ + lastColumn) + 1];
            // The cells of a row are adjacent in the list.
            for (size_t k = from; k < to; ++k) {
                if (filed_[k].Box.Meets(area)) choose(filed_[k].Entry);
            }
        }
    }
    for (size_t w = 0; w < chosen_.size(); ++w) {
        for (uint64_t bits = chosen_[w]; bits != 0; bits &= bits - 1) {
            found.push_back(nos_[w * 64 + size_t(std::countr_zero(bits))]);
        }
    }
}

} // namespace mycad
