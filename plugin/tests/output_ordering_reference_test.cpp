// The orderings against plain scans of their rules on random drawings (nested, overlapping
// and touching boxes, straight lines, shapes at equal distances): the same rows in the same
// order, the same groups in the document, tags, status, abort flag and number of cancel
// polls, for whole runs and runs cancelled part way, along both axes.
#include "plugin/conversion/output_ordering.h"

#include "plugin/entry/run_services.h"
#include "plugin/tests/work_test_host.h"
#include "sdk/ai_user.h"

#include <functional>
#include <random>
#include <sstream>

namespace {

using namespace host;
using worktest::WorkHost;

// --- the rules, as plain scans that read every key from the host when they need it ---

double RefOriginKey(AIArtHandle, const ArtList* list, int32_t row)
{
    AIRealRect b;
    if (sAIArt->GetArtBounds(list->aEntry[row].hArt, &b) != kNoErr) return 0;
    return MeasureWeightedDistanceToRect(&g->ptSortOrigin, &b);
}

double RefGroupKey(AIArtHandle top, const ArtList* list, int32_t row)
{
    AIRealRect b;
    double d = 0;
    if (GetGroupBounds(top, list->aEntry[row].hArt, &b) == kNoErr) d = MeasureWeightedDistanceToRect(&g->ptSortOrigin, &b);
    return d * 100000.0 + list->aEntry[row].iTag;
}

void RefQuickSort(ArtList* list, int32_t lo, int32_t hi, SortKeyFunction key, AIArtHandle top)
{
    if (lo >= hi) return;
    SwapArtEntries(list, lo, (lo + hi) / 2);
    int32_t last = lo;
    for (int32_t i = lo + 1; i <= hi; ++i)
        if (key(top, list, lo) > key(top, list, i)) SwapArtEntries(list, ++last, i);
    SwapArtEntries(list, lo, last);
    CheckUserCancel();
    if (g->fAbort) return;
    RefQuickSort(list, lo, last - 1, key, top);
    RefQuickSort(list, last + 1, hi, key, top);
}

void RefReadOrigin()
{
    AIRealPoint o;
    if (sAIDocument->GetDocumentRulerOrigin(&o) == kNoErr) g->ptSortOrigin = o;
}

ASErr RefObjectSort(ArtList* list)
{
    RefReadOrigin();
    RefQuickSort(list, 0, list->iCount - 1, RefOriginKey, nullptr);
    return kNoErr;
}

bool RefPoint(AIArtHandle art, bool fEnd, RealPoint* p)
{
    ASInt16 type = 0;
    if (sAIArt->GetArtType(art, &type) != kNoErr) return false;
    if (type == kArtTypePath) {
        ASInt16 count = 0;
        ASBoolean closed = 0;
        if (sAIPath->GetPathSegmentCount(art, &count) != kNoErr || count < 1) return false;
        if (sAIPath->GetPathClosed(art, &closed) != kNoErr) return false;
        AIPathSegment s;
        if (sAIPath->GetPathSegments(art, fEnd && !closed ? count - 1 : 0, 1, &s) != kNoErr) return false;
        *p = s.ptAnchor;
        return true;
    }
    AIRealRect r;
    if (type != kArtTypeTextFrame || sAIArt->GetArtBounds(art, &r) != kNoErr) return false;
    *p = RealPoint{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    return true;
}

// Rows the walk has not placed keep their former order after the placed ones.
void RefFill(ArtList* list, const ArtList* work, int32_t from)
{
    for (int32_t pos = 0; pos < work->iCount && from < list->iCount; ++pos)
        if (work->aEntry[pos].iTag == 0) list->aEntry[from++] = work->aEntry[pos];
}

ASErr RefVectorSort(ArtList* list)
{
    ArtList* work = g->pWorkArtList;
    RefReadOrigin();
    const int32_t n = list->iCount;
    work->iCount = 0;
    for (int32_t i = 0; i < n; ++i)
        AddArtEntry(work, list->aEntry[i].hArt, list->aEntry[i].wTool, nullptr);
    for (int32_t i = 0; i < n; ++i) {
        RealPoint r = g->ptSortOrigin;
        if (i > 0) RefPoint(list->aEntry[i - 1].hArt, true, &r);
        int32_t best = -1;
        double bestDistance = 32000;
        for (int32_t pos = 0; pos < n; ++pos) {
            if (work->aEntry[pos].iTag != 0) continue;
            RealPoint s;
            if (RefPoint(work->aEntry[pos].hArt, false, &s)) {
                double d = MeasureWeightedDistance(&r, &s);
                if (bestDistance > d) {
                    best = pos;
                    bestDistance = d;
                }
            }
            CheckUserCancel();
            if (g->fAbort) {
                RefFill(list, work, i);
                return kNoErr;
            }
        }
        if (best < 0) {
            RefFill(list, work, i);
            return kNoErr;
        }
        list->aEntry[i] = work->aEntry[best];
        work->aEntry[best].iTag = 1;
    }
    return kNoErr;
}

ASErr RefWidened(AIArtHandle art, AIRealRect* r)
{
    ASErr err = sAIArt->GetArtBounds(art, r);
    if (err != kNoErr) return err;
    if (r->left == r->right) r->right = r->left + 0.001;
    if (r->top == r->bottom) r->bottom = r->top - 0.001;
    return kNoErr;
}

ASErr RefGroup(AIArtHandle parent, ArtList* list, int32_t lo, int32_t hi)
{
    if (g->fAbort) return kNoErr;
    for (int32_t i = lo; i <= hi; ++i) list->aEntry[i].iTag = 0;
    g->groupBounds.wCount = 0;
    ReserveArtRows(g->pWorkArtList, hi - lo + 1);
    int16_t groups = 0;
    for (int32_t i = lo; i <= hi; ++i) {
        ArtEntry& row = list->aEntry[i];
        if (!row.hArt || row.iTag != 0) continue;
        AIRealRect a;
        ASErr err = RefWidened(row.hArt, &a);
        if (err != kNoErr) return err;
        AIArtHandle group = nullptr;
        for (bool hit = true; hit;) {
            hit = false;
            for (int32_t j = i + 1; j <= hi && !hit; ++j) {
                ArtEntry& other = list->aEntry[j];
                if (!other.hArt || other.iTag != 0) continue;
                AIRealRect b;
                if ((err = RefWidened(other.hArt, &b)) != kNoErr) return err;
                if (!sAIRealMath->AIRealRectOverlap(&a, &b)) continue;
                if (!group) {
                    if ((err = sAIArt->NewArt(kArtTypeGroup, kPlaceInsideOnTop, parent, &group)) != kNoErr) return err;
                    if ((err = sAIArt->ReorderArt(row.hArt, kPlaceInsideOnTop, group)) != kNoErr) return err;
                    row.iTag = ++groups;
                }
                AIRealRect u;
                sAIRealMath->AIRealRectUnion(&a, &b, &u);
                a = u;
                other.iTag = groups;
                sAIArt->ReorderArt(other.hArt, kPlaceInsideOnTop, group);
                hit = true;
            }
            CheckUserCancel();
            if (g->fAbort) return kNoErr;
        }
        CheckUserCancel();
        if (g->fAbort) return kNoErr;
    }
    RefQuickSort(list, lo, hi, RefGroupKey, parent);
    if (g->fAbort) return kNoErr;
    ArtList* work = g->pWorkArtList;
    int32_t prev = -1;
    for (int32_t i = lo; i <= hi;) {
        int32_t t = static_cast<int16_t>(list->aEntry[i].iTag & 0xFFFF);
        if (t == prev || t == 0) {
            ++i;
            continue;
        }
        prev = t;
        AIArtHandle group = nullptr;
        AIRealRect inside;
        ASErr err = sAIArt->GetArtParent(list->aEntry[i].hArt, &group);
        if (err == kNoErr) err = sAIArt->GetArtBounds(group, &inside);
        if (err != kNoErr) return err;
        sAIRealMath->AIRealRectInset(&inside, 0.1, 0.1);
        work->iCount = 0;
        int32_t inner = 0, run = 0;
        for (int32_t j = i; j <= hi && list->aEntry[j].iTag == t; ++j, ++run) {
            ArtEntry& row = list->aEntry[j];
            row.iTag = 0;
            AIRealRect b, common;
            if ((err = RefWidened(row.hArt, &b)) != kNoErr) return err;
            if (sAIRealMath->AIRealRectIntersect(&b, &inside, &common) && sAIRealMath->AIRealRectEqual(&common, &b)) {
                work->aEntry[work->iCount++] = row;
                row.iTag = 1;
                ++inner;
            }
        }
        for (int32_t j = i; j < i + run; ++j) {
            if (list->aEntry[j].iTag == 0) work->aEntry[work->iCount++] = list->aEntry[j];
            list->aEntry[j].iTag = 0;
        }
        for (int32_t j = 0; j < run; ++j) {
            list->aEntry[i + j] = work->aEntry[j];
            list->aEntry[i + j].iTag = 0;
        }
        work->iCount = 0;
        if (inner > 0 && (err = RefGroup(group, list, i, i + inner - 1)) != kNoErr) return err;
        if (run > inner) RefQuickSort(list, i + inner, i + run - 1, RefGroupKey, group);
        i += run;
        CheckUserCancel();
        if (g->fAbort) return kNoErr;
    }
    return kNoErr;
}

ASErr RefCutterOrder()
{
    ArtList* list = g->pMainArtList;
    RefReadOrigin();
    if (list->iCount == 0) return kNoErr;
    AILayerHandle layer = nullptr;
    AIArtHandle top = nullptr;
    ASErr err = sAIArt->GetLayerOfArt(list->aEntry[0].hArt, &layer);
    if (err == kNoErr) err = sAIArt->GetFirstArtOfLayer(layer, &top);
    if (err != kNoErr) return err;
    for (int32_t i = 0; i < list->iCount; ++i) {
        list->aEntry[i].iTag = 0;
        sAIArt->ReorderArt(list->aEntry[i].hArt, kPlaceInsideOnTop, top);
    }
    return RefGroup(top, list, 0, list->iCount - 1);
}

// --- cancel polls counted through the host's user suite ---

int gPolls = 0;
int gCancelAfter = 0;

ASBoolean CountingCancel()
{
    ++gPolls;
    return gCancelAfter > 0 && gPolls > gCancelAfter;
}

struct Outcome {
    std::string rows;      // names and tags in list order
    std::string tree;      // the layer's art tree, groups in brackets
    ASErr status = 0;
    int16_t abort = 0;
    int polls = 0;
    bool operator==(const Outcome& o) const
    {
        return rows == o.rows && tree == o.tree && status == o.status && abort == o.abort && polls == o.polls;
    }
};

std::ostream& operator<<(std::ostream& out, const Outcome& o)
{
    return out << "status " << o.status << " abort " << o.abort << " polls " << o.polls << "\nrows " << o.rows
               << "\ntree " << o.tree;
}

class OrderingReference : public WorkHost {
protected:
    void SetUp() override
    {
        WorkHost::SetUp();
        counting_ = *sAIUser;
        counting_.Cancel = CountingCancel;
        hostUser_ = sAIUser;
        sAIUser = &counting_;
    }
    void TearDown() override
    {
        sAIUser = hostUser_;
        WorkHost::TearDown();
    }

    void Clear()
    {
        for (Art* art : Live(Top())) DisposeArt(art);
        g->pMainArtList->iCount = 0;
        g->pWorkArtList->iCount = 0;
        g->fAbort = 0;
    }

    Art* Shape(std::mt19937& rnd, int k)
    {
        auto at = [&](int n) { return static_cast<double>(rnd() % n) * 5; };
        Art* art = nullptr;
        switch (rnd() % 6) {
        case 0:  // a box on the grid: touching, overlapping, at equal distances
        case 1: {
            double l = at(20), b = at(20);
            art = Rect(l, b, l + 5 * (1 + rnd() % 3), b + 5 * (1 + rnd() % 3));
            break;
        }
        case 2: {  // rings of boxes inside boxes
            double c = 10 + at(16), r = 4 + rnd() % 4;
            for (int d = 0; d < 3; ++d, r -= 1.25) {
                Art* ring = Rect(c - r, c - r, c + r, c + r);
                ring->name = "n" + std::to_string(k) + "." + std::to_string(d);
                Add(ring);
            }
            art = Rect(c - 0.5, c - 0.5, c + 0.5, c + 0.5);
            break;
        }
        case 3: {  // a straight line across others
            double h = at(20), v = at(20);
            art = rnd() % 2 ? Polygon({{h, v}, {h + 20, v}}, false) : Polygon({{h, v}, {h, v + 20}}, false);
            break;
        }
        case 4: {  // an open path whose end lies elsewhere
            double h = at(20), v = at(20);
            art = Polygon({{h, v}, {h + 2.5, v + 7.5}, {at(20), at(20)}}, false);
            break;
        }
        default: {  // a small triangle, closed, inside or beside others
            double h = at(20) + 1, v = at(20) + 1;
            art = Polygon({{h, v}, {h + 2, v}, {h, v + 2}});
            break;
        }
        }
        return art;
    }

    // count 0: between 20 and 89 shapes
    void Build(unsigned seed, int count)
    {
        Clear();
        std::mt19937 rnd(seed);
        if (count == 0) count = 20 + static_cast<int>(rnd() % 70);
        for (int k = 0; k < count; ++k) {
            Art* art = Shape(rnd, k);
            art->name = "s" + std::to_string(k);
            Add(art);
        }
        const AIRealPoint origin{static_cast<double>(rnd() % 4) * 12.5, static_cast<double>(rnd() % 4) * 12.5};
        sAIDocument->SetDocumentRulerOrigin(&origin);
    }

    static void Tree(const Art* art, std::ostringstream& out)
    {
        for (const Art* child : art->children) {
            if (child->fDisposed) continue;
            if (child->type == ArtType::Group) {
                out << "(";
                Tree(child, out);
                out << ")";
            } else {
                out << child->name << " ";
            }
        }
    }

    Outcome Run(unsigned seed, const std::function<ASErr()>& order, int cancelAfter, int count = 0)
    {
        Build(seed, count);
        gPolls = 0;
        gCancelAfter = cancelAfter;
        Outcome o;
        o.status = order();
        o.polls = gPolls;
        gCancelAfter = 0;
        o.abort = g->fAbort;
        std::ostringstream rows, tree;
        for (int32_t i = 0; i < g->pMainArtList->iCount; ++i) {
            const ArtEntry& e = g->pMainArtList->aEntry[i];
            rows << (e.hArt ? FromHandle(e.hArt)->name : "-") << ":" << e.iTag << " ";
        }
        Tree(Top(), tree);
        o.rows = rows.str();
        o.tree = tree.str();
        return o;
    }

    AIUserSuite counting_{};
    const AIUserSuite* hostUser_ = nullptr;
};

TEST_F(OrderingReference, EveryOrderMatchesThePlainScanOfItsRules)
{
    struct Order {
        const char* name;
        std::function<ASErr()> fast;
        std::function<ASErr()> plain;
    };
    const Order orders[] = {
        {"object", [] { return SortByOriginDistance(g->pMainArtList); }, [] { return RefObjectSort(g->pMainArtList); }},
        {"vector", [] { return SortByNearestNeighbour(g->pMainArtList); }, [] { return RefVectorSort(g->pMainArtList); }},
        {"cutter", [] { return SortCutObjects(); }, [] { return RefCutterOrder(); }},
    };
    int cancelled = 0;
    for (const Order& order : orders) {
        for (int16_t axis : {0, 1}) {
            g->fSortAxis = axis;
            for (unsigned seed = 1; seed <= 40; ++seed) {
                SCOPED_TRACE(testing::Message() << order.name << " axis " << axis << " seed " << seed);
                const Outcome whole = Run(seed, order.plain, 0);
                ASSERT_EQ(Run(seed, order.fast, 0), whole);
                ASSERT_EQ(whole.abort, 0);
                // Cancelled at a few points along the way.
                for (int part : {1, 3, 7}) {
                    const int after = whole.polls * part / 8;
                    if (after < 1) continue;
                    SCOPED_TRACE(testing::Message() << "cancelled after " << after << " polls");
                    const Outcome plain = Run(seed, order.plain, after);
                    ASSERT_EQ(Run(seed, order.fast, after), plain);
                    cancelled += plain.abort;
                }
            }
        }
    }
    EXPECT_GT(cancelled, 500);
}

// Larger drawings, where the grids hold many rows per cell and groups reach across cells.
TEST_F(OrderingReference, ManyShapesMatchThePlainScan)
{
    const std::function<ASErr()> fast[] = {[] { return SortByNearestNeighbour(g->pMainArtList); },
                                           [] { return SortCutObjects(); }};
    const std::function<ASErr()> plain[] = {[] { return RefVectorSort(g->pMainArtList); },
                                            [] { return RefCutterOrder(); }};
    for (int k = 0; k < 2; ++k) {
        for (unsigned seed = 100; seed < 102; ++seed) {
            SCOPED_TRACE(testing::Message() << "order " << k << " seed " << seed);
            const Outcome whole = Run(seed, plain[k], 0, 250);
            ASSERT_EQ(Run(seed, fast[k], 0, 250), whole);
            const int after = whole.polls / 2;
            ASSERT_EQ(Run(seed, fast[k], after, 250), Run(seed, plain[k], after, 250));
        }
    }
}

}  // namespace
