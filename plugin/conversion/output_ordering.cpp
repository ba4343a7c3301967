// Orderings of the rows of a chunk, and the cut frame.
#include "plugin/conversion/output_ordering.h"

#include "sdk/ai_art.h"
#include "sdk/ai_document.h"
#include "sdk/ai_path.h"
#include "sdk/ai_real_math.h"
#include "plugin/hpgl/geometry.h"
#include "plugin/entry/plugin_globals.h"
#include "plugin/entry/suite_table.h"
#include "plugin/entry/run_services.h"
#include "plugin/conversion/ordering_grids.h"

#include <cmath>
#include <utility>
#include <vector>

namespace {

constexpr double kFarAway = 32000;

void WeighPoint(RealPoint* p)
{
    if (g->fSortAxis)
        p->h *= 2.0;
    else
        p->v *= 2.0;
}

void ReadSortOrigin()
{
    AIRealPoint origin;
    if (sAIDocument->GetDocumentRulerOrigin(&origin) == kNoErr)
        g->ptSortOrigin = origin;
}

// Zero extents get a sliver, so a straight line still overlaps what it crosses. v grows
// upward: the sliver goes below the top, or the box would be upside down and empty.
void WidenFlat(AIRealRect* r)
{
    if (r->left == r->right)
        r->right = sAIRealMath->AIRealAdd(r->left, 0.001);
    if (r->top == r->bottom)
        r->bottom = sAIRealMath->AIRealAdd(r->top, -0.001);
}

ASErr WidenedBounds(AIArtHandle art, AIRealRect* r)
{
    ASErr err = sAIArt->GetArtBounds(art, r);
    if (err == kNoErr)
        WidenFlat(r);
    return err;
}

double OriginDistanceKey(AIArtHandle, const ArtList* list, int32_t row)
{
    AIRealRect bounds;
    if (sAIArt->GetArtBounds(list->aEntry[row].hArt, &bounds) != kNoErr)
        return 0;
    return MeasureWeightedDistanceToRect(&g->ptSortOrigin, &bounds);
}

double GroupDistanceKey(AIArtHandle top, const ArtList* list, int32_t row)
{
    AIRealRect bounds;
    double d = 0;
    // A group whose bounds cannot be read sorts to the front, as in the object sort.
    if (GetGroupBounds(top, list->aEntry[row].hArt, &bounds) == kNoErr)
        d = MeasureWeightedDistanceToRect(&g->ptSortOrigin, &bounds);
    return d * 100000.0 + list->aEntry[row].iTag;
}

// The point a path or text starts at (fEnd: where it ends); false for other kinds.
bool EndPoint(AIArtHandle art, bool fEnd, RealPoint* point)
{
    ASInt16 type = 0;
    if (sAIArt->GetArtType(art, &type) != kNoErr)
        return false;
    if (type == kArtTypePath) {
        ASInt16 count = 0;
        ASBoolean closed = 0;
        if (sAIPath->GetPathSegmentCount(art, &count) != kNoErr || count < 1)
            return false;
        ASInt16 index = 0;
        if (fEnd) {
            if (sAIPath->GetPathClosed(art, &closed) != kNoErr)
                return false;
            index = closed ? 0 : static_cast<ASInt16>(count - 1);
        }
        AIPathSegment segment;
        if (sAIPath->GetPathSegments(art, index, 1, &segment) != kNoErr)
            return false;
        *point = segment.ptAnchor;
        return true;
    }
    if (type == kArtTypeTextFrame) {
        AIRealRect r;
        if (sAIArt->GetArtBounds(art, &r) != kNoErr)
            return false;
        point->h = (r.left + r.right) / 2;
        point->v = (r.top + r.bottom) / 2;
        return true;
    }
    return false;
}

// Rows from..n-1 of the list take the work rows not yet placed (iTag 0), in their order.
void FillUnplaced(ArtList* list, const ArtList* work, int32_t from)
{
    int32_t out = from;
    for (int32_t pos = 0; pos < work->iCount && out < list->iCount; ++pos) {
        if (work->aEntry[pos].iTag != 0)
            continue;
        list->aEntry[out] = work->aEntry[pos];
        ++out;
    }
}

}  // namespace

double MeasureWeightedDistance(const RealPoint* a, const RealPoint* b)
{
    RealPoint wa = *a;
    RealPoint wb = *b;
    WeighPoint(&wa);
    WeighPoint(&wb);
    return MeasureDistance(&wa, &wb);
}

double MeasureWeightedDistanceToSegment(const RealPoint* a, const RealPoint* b, const RealPoint* p)
{
    RealPoint wa = *a;
    RealPoint wb = *b;
    RealPoint wp = *p;
    WeighPoint(&wa);
    WeighPoint(&wb);
    WeighPoint(&wp);
    return MeasurePointToSegment(&wa, &wb, &wp, nullptr);
}

double MeasureWeightedDistanceToRect(const RealPoint* origin, const AIRealRect* rect)
{
    const RealPoint corners[4] = {{rect->left, rect->top}, {rect->left, rect->bottom},
                                  {rect->right, rect->bottom}, {rect->right, rect->top}};
    double best = MeasureWeightedDistanceToSegment(&corners[0], &corners[1], origin);
    for (int k = 1; k < 4; ++k)
        best = MinReal(best, MeasureWeightedDistanceToSegment(&corners[k], &corners[(k + 1) % 4], origin));
    return best;
}

void SwapArtEntries(ArtList* list, int32_t i, int32_t j)
{
    ArtEntry t = list->aEntry[i];
    list->aEntry[i] = list->aEntry[j];
    list->aEntry[j] = t;
}

namespace {

// The shared quicksort over rows lo..hi with each row's key carried beside it: keys[k]
// belongs to the row at lo + k and moves with it.
class KeyedRows {
public:
    KeyedRows(ArtList* list, int32_t lo, std::vector<double>* keys) : list_(list), lo_(lo), keys_(*keys) {}

    double Key(int32_t row) const { return keys_[static_cast<size_t>(row - lo_)]; }
    void Swap(int32_t i, int32_t j)
    {
        SwapArtEntries(list_, i, j);
        std::swap(keys_[static_cast<size_t>(i - lo_)], keys_[static_cast<size_t>(j - lo_)]);
    }

    bool AllEqual(int32_t lo, int32_t hi) const
    {
        const double first = Key(lo);
        for (int32_t i = lo + 1; i <= hi; ++i)
            if (!(Key(i) == first))
                return false;
        return true;
    }

    void Sort(int32_t lo, int32_t hi)
    {
        while (lo < hi) {
            if (AllEqual(lo, hi)) {
                SortEqual(lo, hi);
                return;
            }
            Swap(lo, (lo + hi) / 2);
            int32_t last = lo;
            const double pivotKey = Key(lo);
            for (int32_t i = lo + 1; i <= hi; ++i) {
                if (pivotKey > Key(i)) {
                    ++last;
                    Swap(last, i);
                }
            }
            Swap(lo, last);
            CheckUserCancel();
            if (g->fAbort)
                return;
            Sort(lo, last - 1);
            lo = last + 1;
        }
    }

private:
    // Rows of one key: each partition leaves its pivot first and the rest to the right, so
    // the same rows end in the same places, with one cancel poll per partition.
    void SortEqual(int32_t lo, int32_t hi)
    {
        for (; lo < hi; ++lo) {
            Swap(lo, (lo + hi) / 2);
            CheckUserCancel();
            if (g->fAbort)
                return;
        }
    }

    ArtList* list_;
    int32_t lo_;
    std::vector<double>& keys_;
};

}  // namespace

void QuickSortRows(ArtList* list, int32_t lo, int32_t hi, SortKeyFunction key, AIArtHandle top)
{
    if (lo >= hi)
        return;
    // Each row's key is read once for the pass: the objects do not change while their rows
    // are sorted, so the order is the one of reading both keys for every comparison.
    std::vector<double> keys(static_cast<size_t>(hi - lo + 1));
    for (int32_t i = lo; i <= hi; ++i)
        keys[static_cast<size_t>(i - lo)] = key(top, list, i);
    KeyedRows rows(list, lo, &keys);
    rows.Sort(lo, hi);
}

void QuickSortByOriginDistance(ArtList* list, int32_t lo, int32_t hi)
{
    QuickSortRows(list, lo, hi, OriginDistanceKey, nullptr);
}

void QuickSortByGroupDistance(AIArtHandle top, ArtList* list, int32_t lo, int32_t hi)
{
    QuickSortRows(list, lo, hi, GroupDistanceKey, top);
}

ASErr SortByOriginDistance(ArtList* list)
{
    ReadSortOrigin();
    QuickSortByOriginDistance(list, 0, list->iCount - 1);
    return kNoErr;
}

ASErr SortByNearestNeighbour(ArtList* list)
{
    ArtList* work = g->pWorkArtList;
    if (!list || !work || list == work)
        return kNoErr;
    ReadSortOrigin();
    const int32_t n = list->iCount;
    work->iCount = 0;
    for (int32_t i = 0; i < n; ++i) {
        const ArtEntry& e = list->aEntry[i];
        // Without room for the copies the run has ended; the list stays as it was.
        if (AddArtEntry(work, e.hArt, e.wTool, reinterpret_cast<const AIRealMatrix*>(e.dMatrix)) != kNoErr)
            return kNoErr;
    }
    // The start of every candidate, read from the host once: the objects do not change
    // while they are ordered, so the picks are those of reading them for every comparison.
    std::vector<RealPoint> starts(static_cast<size_t>(n));
    std::vector<char> hasStart(static_cast<size_t>(n), 0);
    for (int32_t pos = 0; pos < n; ++pos)
        hasStart[static_cast<size_t>(pos)] = EndPoint(work->aEntry[pos].hArt, false, &starts[static_cast<size_t>(pos)]);
    // A work row's iTag marks it placed, so each row is taken once even when two rows
    // name the same art. The grid gives the candidate a scan of all rows in order would
    // pick; the scan's cancel poll, one for every row not yet placed, is kept.
    StartPointGrid grid(starts, hasStart);
    for (int32_t i = 0; i < n; ++i) {
        RealPoint reference = g->ptSortOrigin;
        if (i > 0)
            EndPoint(list->aEntry[i - 1].hArt, true, &reference);
        const int32_t best = grid.Nearest(reference, kFarAway);
        for (int32_t unplaced = i; unplaced < n; ++unplaced) {
            CheckUserCancel();
            if (g->fAbort) {
                FillUnplaced(list, work, i);
                return kNoErr;
            }
        }
        if (best < 0) {
            // Nothing qualifies from here on: the rest follow in their former order.
            FillUnplaced(list, work, i);
            return kNoErr;
        }
        list->aEntry[i] = work->aEntry[best];
        work->aEntry[best].iTag = 1;
        grid.Remove(best);
    }
    return kNoErr;
}

ASErr GetGroupBounds(AIArtHandle top, AIArtHandle art, AIRealRect* out)
{
    AIArtHandle parent = nullptr;
    ASErr err = sAIArt->GetArtParent(art, &parent);
    if (err != kNoErr)
        return err;
    if (parent == top)
        return sAIArt->GetArtBounds(art, out);
    GroupBoundsCache& cache = g->groupBounds;
    for (int16_t k = 0; k < cache.wCount; ++k) {
        if (cache.ahGroup[k] == parent) {
            *out = cache.arBounds[k];
            return kNoErr;
        }
    }
    err = sAIArt->GetArtBounds(parent, out);
    if (err == kNoErr && cache.wCount < kGroupBoundsCacheSize) {
        cache.ahGroup[cache.wCount] = parent;
        cache.arBounds[cache.wCount] = *out;
        ++cache.wCount;
    }
    return err;
}

ASErr SortCutObjects()
{
    ArtList* list = g->pMainArtList;
    ReadSortOrigin();
    const int32_t n = list->iCount;
    if (n == 0)
        return kNoErr;
    AILayerHandle layer = nullptr;
    AIArtHandle top = nullptr;
    ASErr err = sAIArt->GetLayerOfArt(list->aEntry[0].hArt, &layer);
    if (err == kNoErr)
        err = sAIArt->GetFirstArtOfLayer(layer, &top);
    if (err != kNoErr)
        return err;
    for (int32_t i = 0; i < n; ++i) {
        list->aEntry[i].iTag = 0;
        sAIArt->ReorderArt(list->aEntry[i].hArt, kPlaceInsideOnTop, top);
    }
    return GroupOverlappingObjects(top, list, 0, n - 1);
}

namespace {

// Step 2 of the grouping, row by row: for each row, the rows after it are scanned again
// from the start after every member that joins. Taken when a bounds read fails, so that the
// error comes at the same row.
ASErr GroupRowsByScan(AIArtHandle parent, ArtList* list, int32_t lo, int32_t hi)
{
    int16_t groups = 0;
    for (int32_t i = lo; i <= hi; ++i) {
        ArtEntry& row = list->aEntry[i];
        if (!row.hArt || row.iTag != 0)
            continue;
        AIRealRect a;
        ASErr err = WidenedBounds(row.hArt, &a);
        if (err != kNoErr)
            return err;
        AIArtHandle group = nullptr;
        bool hit = true;
        while (hit) {
            hit = false;
            for (int32_t j = i + 1; j <= hi; ++j) {
                ArtEntry& other = list->aEntry[j];
                if (!other.hArt || other.iTag != 0)
                    continue;
                AIRealRect b;
                err = WidenedBounds(other.hArt, &b);
                if (err != kNoErr)
                    return err;
                if (!sAIRealMath->AIRealRectOverlap(&a, &b))
                    continue;
                if (!group) {
                    err = sAIArt->NewArt(kArtTypeGroup, kPlaceInsideOnTop, parent, &group);
                    if (err == kNoErr)
                        err = sAIArt->ReorderArt(row.hArt, kPlaceInsideOnTop, group);
                    if (err != kNoErr)
                        return err;
                    ++groups;
                    row.iTag = groups;
                }
                // The box grows with every member, so later rows join by the union's box.
                AIRealRect grown;
                sAIRealMath->AIRealRectUnion(&a, &b, &grown);
                a = grown;
                other.iTag = groups;
                sAIArt->ReorderArt(other.hArt, kPlaceInsideOnTop, group);
                hit = true;
                break;
            }
            CheckUserCancel();
            if (g->fAbort)
                return kNoErr;
        }
        CheckUserCancel();
        if (g->fAbort)
            return kNoErr;
    }
    return kNoErr;
}

// Adds row j to the group of row i (made on the first member) and grows the group's box.
ASErr JoinGroup(AIArtHandle parent, ArtEntry& row, ArtEntry& other, const AIRealRect& b, int16_t* groups,
                AIArtHandle* group, AIRealRect* a)
{
    if (!*group) {
        ASErr err = sAIArt->NewArt(kArtTypeGroup, kPlaceInsideOnTop, parent, group);
        if (err == kNoErr)
            err = sAIArt->ReorderArt(row.hArt, kPlaceInsideOnTop, *group);
        if (err != kNoErr)
            return err;
        ++*groups;
        row.iTag = *groups;
    }
    AIRealRect grown;
    sAIRealMath->AIRealRectUnion(a, &b, &grown);
    *a = grown;
    other.iTag = *groups;
    sAIArt->ReorderArt(other.hArt, kPlaceInsideOnTop, *group);
    return kNoErr;
}

// The widened bounds of rows lo..hi (a row without art gets none); false when one cannot be
// read or is not finite: the row-by-row scan then meets the same error at the same row.
bool ReadPassBounds(const ArtList* list, int32_t lo, int32_t hi, std::vector<AIRealRect>* boxes)
{
    boxes->assign(static_cast<size_t>(hi - lo + 1), AIRealRect{0, 0, 0, 0});
    for (int32_t i = lo; i <= hi; ++i) {
        const AIArtHandle art = list->aEntry[i].hArt;
        if (!art)
            continue;
        AIRealRect& r = (*boxes)[static_cast<size_t>(i - lo)];
        if (WidenedBounds(art, &r) != kNoErr)
            return false;
        if (!std::isfinite(r.left) || !std::isfinite(r.top) || !std::isfinite(r.right) || !std::isfinite(r.bottom))
            return false;
    }
    return true;
}

// Step 2 of the grouping: overlapping rows of lo..hi into new groups inside parent. The
// bounds are read once; the grid gives the row that the row-by-row scan meets next (the
// lowest row after the group's first that overlaps the group's box), and the cancel polls
// are those of the scan: one after every scan, one when a group is complete.
ASErr GroupRows(AIArtHandle parent, ArtList* list, int32_t lo, int32_t hi)
{
    std::vector<AIRealRect> boxes;
    if (!ReadPassBounds(list, lo, hi, &boxes))
        return GroupRowsByScan(parent, list, lo, hi);
    OverlapBoxGrid grid(boxes);
    if (!grid.Usable())
        return GroupRowsByScan(parent, list, lo, hi);
    int16_t groups = 0;
    for (int32_t i = lo; i <= hi; ++i) {
        ArtEntry& row = list->aEntry[i];
        if (!row.hArt || row.iTag != 0)
            continue;
        AIRealRect a = boxes[static_cast<size_t>(i - lo)];
        AIArtHandle group = nullptr;
        grid.BeginGroup(i - lo);
        grid.Collect(a);
        for (;;) {
            const int32_t k = grid.TakeLowest();
            if (k >= 0) {
                ArtEntry& other = list->aEntry[lo + k];
                ASErr err = JoinGroup(parent, row, other, boxes[static_cast<size_t>(k)], &groups, &group, &a);
                if (err != kNoErr)
                    return err;
            }
            CheckUserCancel();
            if (g->fAbort)
                return kNoErr;
            if (k < 0)
                break;
            grid.Collect(a);
        }
        CheckUserCancel();
        if (g->fAbort)
            return kNoErr;
    }
    return kNoErr;
}

}  // namespace

ASErr GroupOverlappingObjects(AIArtHandle parent, ArtList* list, int32_t lo, int32_t hi)
{
    if (g->fAbort)
        return kNoErr;
    for (int32_t i = lo; i <= hi; ++i)
        list->aEntry[i].iTag = 0;
    g->groupBounds.wCount = 0;
    // The inner and outline split below takes up to the whole run into the work list.
    ASErr room = ReserveArtRows(g->pWorkArtList, hi - lo + 1);
    if (room != kNoErr)
        return room;

    ASErr err = GroupRows(parent, list, lo, hi);
    if (err != kNoErr || g->fAbort)
        return err;

    QuickSortByGroupDistance(parent, list, lo, hi);
    if (g->fAbort)
        return kNoErr;

    // Inside each group: the members wholly inside its outline first, then the outline.
    ArtList* work = g->pWorkArtList;
    int32_t prev = -1;
    int32_t i = lo;
    while (i <= hi) {
        int32_t t = static_cast<int16_t>(list->aEntry[i].iTag & 0xFFFF);
        if (t == prev || t == 0) {
            ++i;
            continue;
        }
        prev = t;
        AIArtHandle group = nullptr;
        AIRealRect inside;
        err = sAIArt->GetArtParent(list->aEntry[i].hArt, &group);
        if (err == kNoErr)
            err = sAIArt->GetArtBounds(group, &inside);
        if (err != kNoErr)
            return err;
        sAIRealMath->AIRealRectInset(&inside, 0.1, 0.1);

        work->iCount = 0;
        int32_t inner = 0;
        int32_t outline = 0;
        for (int32_t j = i; j <= hi && list->aEntry[j].iTag == t; ++j) {
            ArtEntry& row = list->aEntry[j];
            row.iTag = 0;
            AIRealRect b;
            err = WidenedBounds(row.hArt, &b);
            if (err != kNoErr)
                return err;
            AIRealRect common;
            if (sAIRealMath->AIRealRectIntersect(&b, &inside, &common) &&
                sAIRealMath->AIRealRectEqual(&common, &b)) {
                work->aEntry[work->iCount++] = row;
                row.iTag = 1;
                ++inner;
            } else {
                ++outline;
            }
        }
        const int32_t run = inner + outline;
        for (int32_t j = i; j < i + run; ++j) {
            if (list->aEntry[j].iTag == 0)
                work->aEntry[work->iCount++] = list->aEntry[j];
            list->aEntry[j].iTag = 0;
        }
        for (int32_t j = 0; j < run; ++j) {
            list->aEntry[i + j] = work->aEntry[j];
            list->aEntry[i + j].iTag = 0;
        }
        work->iCount = 0;

        if (inner > 0) {
            err = GroupOverlappingObjects(group, list, i, i + inner - 1);
            if (err != kNoErr)
                return err;
        }
        if (outline > 0)
            QuickSortByGroupDistance(group, list, i + inner, i + run - 1);
        i += run;
        CheckUserCancel();
        if (g->fAbort)
            return kNoErr;
    }
    return kNoErr;
}

namespace {

// Millimetres on paper to document points at the page's scale.
double MarginPoints(int32_t mm, double scale)
{
    if (!(scale > 0))
        scale = 1;
    return mm * kPointsPerMm / scale;
}

void WriteFrame(AIArtHandle path, const AIRealRect& r)
{
    const RealPoint corners[4] = {{r.left, r.top}, {r.right, r.top}, {r.right, r.bottom}, {r.left, r.bottom}};
    for (ASInt16 s = 0; s < 4; ++s) {
        AIPathSegment segment{corners[s], corners[s], corners[s], 1};
        sAIPath->SetPathSegments(path, s, 1, &segment);
    }
    sAIPath->SetPathClosed(path, 1);
}

}  // namespace

ASErr BuildCutFrame()
{
    ArtList* list = g->pMainArtList;
    ArtList* work = g->pWorkArtList;
    work->iCount = 0;
    for (int32_t i = 0; i < list->iCount; ++i) {
        const ArtEntry& e = list->aEntry[i];
        AddArtEntry(work, e.hArt, e.wTool, reinterpret_cast<const AIRealMatrix*>(e.dMatrix));
    }
    if (work->iCount == 0)
        return kNoErr;

    AIArtHandle parent = nullptr;
    sAIArt->GetArtParent(list->aEntry[0].hArt, &parent);
    // A member of a compound path: the frame and its group go beside the compound path.
    ASInt16 type = 0;
    if (parent && sAIArt->GetArtType(parent, &type) == kNoErr && type == kArtTypeCompoundPath) {
        AIArtHandle above = nullptr;
        if (sAIArt->GetArtParent(parent, &above) == kNoErr && above)
            parent = above;
    }
    AIArtHandle group = nullptr;
    if (sAIArt->NewArt(kArtTypeGroup, kPlaceInsideOnTop, parent, &group) == kNoErr && group) {
        for (int32_t i = 0; i < work->iCount; ++i)
            sAIArt->ReorderArt(work->aEntry[i].hArt, kPlaceInsideOnTop, group);
        work->iCount = 0;
        AddArtEntry(work, group, 0, nullptr);
    }

    const MarginRect& margin = g->pPlotSettings->rFrameCutMargin;
    const double scaleH = g->conversion.dScaleX;
    const double scaleV = g->conversion.dScaleY;
    const int16_t tool = static_cast<int16_t>(g->pPlotSettings->wFrameCutTool - 1);
    for (int32_t i = 0; i < work->iCount; ++i) {
        AIRealRect r;
        if (sAIArt->GetArtBounds(work->aEntry[i].hArt, &r) == kNoErr) {
            r.top += MarginPoints(margin.top, scaleV);
            r.left -= MarginPoints(margin.left, scaleH);
            r.bottom -= MarginPoints(margin.bottom, scaleV);
            r.right += MarginPoints(margin.right, scaleH);
            AIArtHandle path = nullptr;
            if (sAIArt->NewArt(kArtTypePath, kPlaceInsideOnTop, parent, &path) == kNoErr && path) {
                WriteFrame(path, r);
                AddArtEntry(list, path, tool, nullptr);
            }
        }
        CheckUserCancel();
        if (g->fAbort)
            break;
    }
    work->iCount = 0;
    return kNoErr;
}
