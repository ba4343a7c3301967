// Point and box grids of the orderings.
#include "plugin/conversion/ordering_grids.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "plugin/conversion/output_ordering.h"
#include "plugin/entry/plugin_globals.h"
#include "sdk/ai_real_math.h"
#include "plugin/entry/suite_table.h"

namespace {

// About one point (or box) per cell, at most 2048 cells along a side.
void GridSize(double width, double height, size_t count, double* size, int32_t* columns, int32_t* rows)
{
    double cell = 1;
    const double n = static_cast<double>(std::max<size_t>(count, 1));
    if (width > 0 && height > 0)
        cell = std::sqrt(width * height / n);
    else if (width > 0 || height > 0)
        cell = std::max(width, height) / n;
    cell = std::max({cell, width / 2048, height / 2048});
    if (!(cell > 0) || !std::isfinite(cell))
        cell = 1;
    *size = cell;
    *columns = static_cast<int32_t>(std::min(2048.0, std::floor(width / cell) + 1));
    *rows = static_cast<int32_t>(std::min(2048.0, std::floor(height / cell) + 1));
}

int32_t ClampCell(double offset, double size, int32_t count)
{
    const double c = std::floor(offset / size);
    if (!(c >= 0))
        return 0;
    if (c >= count - 1)
        return count - 1;
    return static_cast<int32_t>(c);
}

bool Finite(const RealPoint& p) { return std::isfinite(p.h) && std::isfinite(p.v); }

}  // namespace

StartPointGrid::StartPointGrid(const std::vector<RealPoint>& starts, const std::vector<char>& usable)
    : starts_(starts), live_(starts.size(), 0), fWeighH_(g->fSortAxis != 0)
{
    double hMin = 0, hMax = 0, vMin = 0, vMax = 0;
    size_t count = 0;
    for (size_t pos = 0; pos < starts.size(); ++pos) {
        if (!usable[pos] || !Finite(starts[pos]))
            continue;
        const double h = WeighedH(starts[pos]), v = WeighedV(starts[pos]);
        if (!std::isfinite(h) || !std::isfinite(v))
            continue;
        live_[pos] = 1;
        if (count == 0) {
            hMin = hMax = h;
            vMin = vMax = v;
        }
        hMin = std::min(hMin, h);
        hMax = std::max(hMax, h);
        vMin = std::min(vMin, v);
        vMax = std::max(vMax, v);
        ++count;
    }
    fEmpty_ = count == 0;
    h0_ = hMin;
    v0_ = vMin;
    GridSize(hMax - hMin, vMax - vMin, count, &size_, &columns_, &rows_);
    cells_.resize(static_cast<size_t>(columns_) * static_cast<size_t>(rows_));
    for (size_t pos = 0; pos < starts.size(); ++pos)
        if (live_[pos])
            cells_[static_cast<size_t>(CellV(WeighedV(starts[pos]))) * columns_ + CellH(WeighedH(starts[pos]))]
                .push_back(static_cast<int32_t>(pos));
}

double StartPointGrid::WeighedH(const RealPoint& p) const { return fWeighH_ ? p.h * 2.0 : p.h; }
double StartPointGrid::WeighedV(const RealPoint& p) const { return fWeighH_ ? p.v : p.v * 2.0; }
int32_t StartPointGrid::CellH(double h) const { return ClampCell(h - h0_, size_, columns_); }
int32_t StartPointGrid::CellV(double v) const { return ClampCell(v - v0_, size_, rows_); }

void StartPointGrid::Remove(int32_t pos)
{
    if (pos >= 0 && static_cast<size_t>(pos) < live_.size())
        live_[static_cast<size_t>(pos)] = 0;
}

void StartPointGrid::ScanCell(int32_t ch, int32_t cv, const RealPoint& reference, double limit, int32_t* best,
                              double* bestDistance)
{
    std::vector<int32_t>& cell = cells_[static_cast<size_t>(cv) * columns_ + ch];
    size_t keep = 0;
    for (int32_t pos : cell) {
        if (!live_[static_cast<size_t>(pos)])
            continue;
        cell[keep++] = pos;
        const double d = MeasureWeightedDistance(&reference, &starts_[static_cast<size_t>(pos)]);
        if (!(d < limit))
            continue;
        if (*best < 0 || d < *bestDistance || (d == *bestDistance && pos < *best)) {
            *best = pos;
            *bestDistance = d;
        }
    }
    cell.resize(keep);
}

int32_t StartPointGrid::Nearest(const RealPoint& reference, double limit)
{
    if (fEmpty_ || !Finite(reference))
        return -1;
    const double h = WeighedH(reference), v = WeighedV(reference);
    if (!std::isfinite(h) || !std::isfinite(v))
        return -1;
    const int32_t ch = CellH(h), cv = CellV(v);
    int32_t best = -1;
    double bestDistance = 0;
    constexpr double kInfinite = std::numeric_limits<double>::infinity();
    for (int32_t ring = 0;; ++ring) {
        const int32_t h0 = ch - ring, h1 = ch + ring, v0 = cv - ring, v1 = cv + ring;
        if (h0 < 0 && v0 < 0 && h1 >= columns_ && v1 >= rows_)
            break;
        for (int32_t y = std::max(v0, 0); y <= std::min(v1, rows_ - 1); ++y) {
            if (y == v0 || y == v1) {
                for (int32_t x = std::max(h0, 0); x <= std::min(h1, columns_ - 1); ++x)
                    ScanCell(x, y, reference, limit, &best, &bestDistance);
            } else {
                if (h0 >= 0)
                    ScanCell(h0, y, reference, limit, &best, &bestDistance);
                if (h1 < columns_ && h1 != h0)
                    ScanCell(h1, y, reference, limit, &best, &bestDistance);
            }
        }
        // Every cell not yet scanned lies beyond one of the ring's sides; a side at the grid's
        // edge has nothing beyond it.
        double bound = kInfinite;
        if (h0 > 0)
            bound = std::min(bound, h - (h0_ + h0 * size_));
        if (h1 < columns_ - 1)
            bound = std::min(bound, (h0_ + (h1 + 1) * size_) - h);
        if (v0 > 0)
            bound = std::min(bound, v - (v0_ + v0 * size_));
        if (v1 < rows_ - 1)
            bound = std::min(bound, (v0_ + (v1 + 1) * size_) - v);
        if (bound == kInfinite)
            break;
        // A margin for rounding, so that a candidate at the same distance is never missed.
        bound -= 1e-9 * (1 + std::fabs(h) + std::fabs(v) + size_);
        if (bound > limit || (best >= 0 && bound > bestDistance))
            break;
    }
    return best;
}

OverlapBoxGrid::OverlapBoxGrid(const std::vector<AIRealRect>& boxes)
    : boxes_(boxes), out_(boxes.size(), 0), leftover_(boxes.size(), 0)
{
    double hMin = 0, hMax = 0, vMin = 0, vMax = 0;
    size_t count = 0;
    for (const AIRealRect& r : boxes) {
        if (!Takes(r))
            continue;
        if (count == 0) {
            hMin = r.left;
            hMax = r.right;
            vMin = r.bottom;
            vMax = r.top;
        }
        hMin = std::min(hMin, r.left);
        hMax = std::max(hMax, r.right);
        vMin = std::min(vMin, r.bottom);
        vMax = std::max(vMax, r.top);
        ++count;
    }
    h0_ = hMin;
    v0_ = vMin;
    GridSize(hMax - hMin, vMax - vMin, count, &size_, &columns_, &rows_);
    // Many boxes that each cover much of the grid would fill it beyond use.
    double entries = 0;
    for (const AIRealRect& r : boxes)
        if (Takes(r))
            entries += (CellV(r.top) - CellV(r.bottom) + 1.0) * (CellH(r.right) - CellH(r.left) + 1.0);
    fUsable_ = entries <= 32.0 * static_cast<double>(count) + 65536.0;
    if (!fUsable_)
        return;
    cells_.resize(static_cast<size_t>(columns_) * static_cast<size_t>(rows_));
    for (size_t k = 0; k < boxes.size(); ++k) {
        const AIRealRect& r = boxes[k];
        if (!Takes(r)) {
            out_[k] = 1;
            continue;
        }
        for (int32_t y = CellV(r.bottom); y <= CellV(r.top); ++y)
            for (int32_t x = CellH(r.left); x <= CellH(r.right); ++x)
                cells_[static_cast<size_t>(y) * columns_ + x].push_back(static_cast<int32_t>(k));
    }
}

// Only a box with width and height overlaps anything; a coordinate that is not finite never
// reaches the grid (the grouping then scans row by row).
bool OverlapBoxGrid::Takes(const AIRealRect& r) const
{
    return std::isfinite(r.left) && std::isfinite(r.right) && std::isfinite(r.top) &&
           std::isfinite(r.bottom) && r.left < r.right && r.bottom < r.top;
}

int32_t OverlapBoxGrid::CellH(double h) const { return ClampCell(h - h0_, size_, columns_); }
int32_t OverlapBoxGrid::CellV(double v) const { return ClampCell(v - v0_, size_, rows_); }

void OverlapBoxGrid::BeginGroup(int32_t first)
{
    if (first >= 0 && static_cast<size_t>(first) < out_.size())
        out_[static_cast<size_t>(first)] = 1;
    for (int32_t k : leftovers_)
        leftover_[static_cast<size_t>(k)] = 0;
    leftovers_.clear();
    innerH0_ = innerV0_ = 0;
    innerH1_ = innerV1_ = -1;
}

void OverlapBoxGrid::ScanCell(int32_t ch, int32_t cv, const AIRealRect& groupBox, bool fInterior)
{
    std::vector<int32_t>& cell = cells_[static_cast<size_t>(cv) * columns_ + ch];
    size_t keep = 0;
    for (int32_t k : cell) {
        if (out_[static_cast<size_t>(k)])
            continue;
        if (sAIRealMath->AIRealRectOverlap(&groupBox, &boxes_[static_cast<size_t>(k)])) {
            out_[static_cast<size_t>(k)] = 1;
            queued_.push(k);
            continue;
        }
        cell[keep++] = k;
        // A cell is not scanned again once inside the box: what it holds that missed the box
        // is tested on its own from now on.
        if (fInterior && !leftover_[static_cast<size_t>(k)]) {
            leftover_[static_cast<size_t>(k)] = 1;
            leftovers_.push_back(k);
        }
    }
    cell.resize(keep);
}

void OverlapBoxGrid::Collect(const AIRealRect& groupBox)
{
    if (!Takes(groupBox))
        return;
    const int32_t h0 = CellH(groupBox.left), h1 = CellH(groupBox.right);
    const int32_t v0 = CellV(groupBox.bottom), v1 = CellV(groupBox.top);
    const int32_t ih0 = h0 + 1, ih1 = h1 - 1, iv0 = v0 + 1, iv1 = v1 - 1;
    for (int32_t y = v0; y <= v1; ++y) {
        const bool fRowInside = y >= innerV0_ && y <= innerV1_ && innerH0_ <= innerH1_;
        for (int32_t x = h0; x <= h1; ++x) {
            if (fRowInside && x == innerH0_) {
                x = innerH1_;
                continue;
            }
            ScanCell(x, y, groupBox, x >= ih0 && x <= ih1 && y >= iv0 && y <= iv1);
        }
    }
    for (int32_t k : leftovers_) {
        if (!out_[static_cast<size_t>(k)] && sAIRealMath->AIRealRectOverlap(&groupBox, &boxes_[static_cast<size_t>(k)])) {
            out_[static_cast<size_t>(k)] = 1;
            queued_.push(k);
        }
    }
    // The box only grows within a group, so the cells inside it stay inside.
    if (ih0 <= ih1 && iv0 <= iv1) {
        innerH0_ = ih0;
        innerH1_ = ih1;
        innerV0_ = iv0;
        innerV1_ = iv1;
    }
}

int32_t OverlapBoxGrid::TakeLowest()
{
    if (queued_.empty())
        return -1;
    const int32_t k = queued_.top();
    queued_.pop();
    return k;
}
