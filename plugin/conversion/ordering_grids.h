// Grids that let the orderings find their next row without scanning every row: the start
// points of the vector sort searched ring by ring for the nearest one, and the boxes of the
// overlap grouping searched for those that meet a growing box. Both give exactly the rows a
// full scan in row order would give, ties included.
#pragma once

#include <cstdint>
#include <queue>
#include <vector>

#include "sdk/ai_types.h"
#include "plugin/hpgl/geometry_types.h"

// Start points of the vector sort's candidates, by their index in the work list.
class StartPointGrid {
public:
    // starts[pos] counts when usable[pos] is set and both coordinates are finite.
    StartPointGrid(const std::vector<RealPoint>& starts, const std::vector<char>& usable);

    // The candidate nearest to reference by MeasureWeightedDistance, below limit; on equal
    // distances the lowest index. -1 when none qualifies.
    int32_t Nearest(const RealPoint& reference, double limit);
    // A placed candidate is never found again.
    void Remove(int32_t pos);

private:
    double WeighedH(const RealPoint& p) const;
    double WeighedV(const RealPoint& p) const;
    int32_t CellH(double h) const;
    int32_t CellV(double v) const;
    void ScanCell(int32_t ch, int32_t cv, const RealPoint& reference, double limit, int32_t* best,
                  double* bestDistance);

    const std::vector<RealPoint>& starts_;
    std::vector<char> live_;
    std::vector<std::vector<int32_t>> cells_;
    double h0_ = 0, v0_ = 0, size_ = 1;
    int32_t columns_ = 1, rows_ = 1;
    bool fWeighH_ = false;
    bool fEmpty_ = true;
};

// Boxes of the rows of one grouping pass (index 0 is the pass's first row). A box takes part
// when its left is below its right and its bottom below its top; only such boxes can overlap.
class OverlapBoxGrid {
public:
    explicit OverlapBoxGrid(const std::vector<AIRealRect>& boxes);
    // False when the boxes overlap too many cells for the grid to help; nothing is held then.
    bool Usable() const { return fUsable_; }

    // Starts a group at row first: rows up to first are out of every later search.
    void BeginGroup(int32_t first);
    // Queues every row not yet queued or taken, after the group's first, whose box overlaps
    // (the host's rectangle overlap) the group's box.
    void Collect(const AIRealRect& groupBox);
    // The lowest queued row, or -1; it is then taken.
    int32_t TakeLowest();

private:
    bool Takes(const AIRealRect& r) const;
    int32_t CellH(double h) const;
    int32_t CellV(double v) const;
    void ScanCell(int32_t ch, int32_t cv, const AIRealRect& groupBox, bool fInterior);

    const std::vector<AIRealRect>& boxes_;
    std::vector<char> out_;        // taken, queued, or at or before the group's first row
    std::vector<char> leftover_;   // in the list of boxes tested at every collection
    std::vector<int32_t> leftovers_;
    std::vector<std::vector<int32_t>> cells_;
    std::priority_queue<int32_t, std::vector<int32_t>, std::greater<int32_t>> queued_;
    double h0_ = 0, v0_ = 0, size_ = 1;
    int32_t columns_ = 1, rows_ = 1;
    // Cells wholly inside the group's box at the last collection: their boxes are queued.
    int32_t innerH0_ = 0, innerH1_ = -1, innerV0_ = 0, innerV1_ = -1;
    bool fUsable_ = true;
};
