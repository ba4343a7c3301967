#include "plugin/settings/paper_search.h"

#include <cmath>
#include <cstdlib>

namespace {

constexpr int32_t kLongestPaper = 3000;
constexpr int16_t kNoScore = 32767;

int ClampCount(int16_t count)
{
    return count < 0 ? 0 : (count > kPaperListRows ? kPaperListRows : count);
}

int64_t Mismatch(int64_t left, int64_t top, int64_t x, int64_t y)
{
    return (std::llabs(left - x) + std::llabs(top - y)) / 5;
}

struct MarginTerms {
    int64_t sheetLeft;
    int64_t sheetTop;
    int64_t rollLeft;
    int64_t rollTop;
};

MarginTerms TermsOf(const PlotSettings* settings)
{
    if (settings == nullptr)
        return {0, 0, 0, 0};
    return {10LL * settings->rSheetMargin.left, 10LL * settings->rSheetMargin.top,
        10LL * settings->rRollMargin.left, 10LL * settings->rRollMargin.top};
}

int64_t RowScore(int64_t rowWidth, int64_t rowHeight, const MarginTerms& m, int32_t width,
    int32_t height, int32_t x, int32_t y)
{
    int64_t sheet = Mismatch(m.sheetLeft, m.sheetTop, x, y);
    int64_t roll = Mismatch(m.rollLeft, m.rollTop, x, y);
    return std::llabs(rowWidth - width) + std::llabs(rowHeight - height) + (sheet < roll ? sheet : roll);
}

int16_t Finish(int best, int64_t bestScore, int16_t* score)
{
    if (score != nullptr)
        *score = best < 0 || bestScore > kNoScore ? kNoScore : static_cast<int16_t>(bestScore);
    return static_cast<int16_t>(best);
}

int16_t ScaleTerm(int64_t term, int32_t scale)
{
    int32_t bounded = term > INT32_MAX ? INT32_MAX : (term < INT32_MIN ? INT32_MIN : static_cast<int32_t>(term));
    return ScalePaperLength(bounded, scale);
}

} // namespace

int PaperListRowCount(const PaperList* list)
{
    return list == nullptr ? 0 : ClampCount(list->wCount);
}

int CustomSizeRowCount(const CustomSizeList* list)
{
    return list == nullptr ? 0 : ClampCount(list->wCount);
}

int GetPaperSize(const PaperList* list, int16_t index, int16_t* width, int16_t* height,
    int16_t* roll)
{
    bool inside = index >= 0 && index < PaperListRowCount(list);
    const PaperEntry* row = inside ? &list->aEntry[index] : nullptr;
    if (width)
        *width = row ? row->wWidth : 0;
    if (height)
        *height = row ? row->wHeight : 0;
    if (roll)
        *roll = row ? row->fRoll : 0;
    return inside ? 1 : 0;
}

int16_t ScalePaperLength(int32_t length, int32_t scale)
{
    double scaled = static_cast<double>(length) / (static_cast<double>(scale) / 10000.0);
    if (std::isnan(scaled))
        return 0;
    if (scaled > kLongestPaper)
        return kLongestPaper;
    if (scaled < INT16_MIN)
        return INT16_MIN;
    return static_cast<int16_t>(std::trunc(scaled));
}

int16_t FindNearestPaper(const PlotSettings* settings, const PaperList* list, int32_t width,
    int32_t height, int32_t x, int32_t y, int16_t* score)
{
    MarginTerms terms = TermsOf(settings);
    int best = -1;
    int64_t bestScore = 0;
    for (int i = 0; i < PaperListRowCount(list); ++i) {
        const PaperEntry& row = list->aEntry[i];
        int64_t s = RowScore(row.wWidth, row.wHeight, terms, width, height, x, y);
        if (best < 0 || s < bestScore) {
            best = i;
            bestScore = s;
        }
    }
    return Finish(best, bestScore, score);
}

int16_t FindNearestPaperScaled(const PlotSettings* settings, const CustomSizeList* list,
    int32_t width, int32_t height, int32_t x, int32_t y, int16_t* score)
{
    MarginTerms terms = TermsOf(settings);
    int best = -1;
    int64_t bestScore = 0;
    for (int i = 0; i < CustomSizeRowCount(list); ++i) {
        const CustomSizeEntry& row = list->aEntry[i];
        MarginTerms scaled = {ScaleTerm(terms.sheetLeft, row.iScale), ScaleTerm(terms.sheetTop, row.iScale),
            ScaleTerm(terms.rollLeft, row.iScale), ScaleTerm(terms.rollTop, row.iScale)};
        int64_t s = RowScore(ScalePaperLength(row.wWidth, row.iScale),
            ScalePaperLength(row.wHeight, row.iScale), scaled, width, height, x, y);
        if (best < 0 || s < bestScore) {
            best = i;
            bestScore = s;
        }
    }
    return Finish(best, bestScore, score);
}
