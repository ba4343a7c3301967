#include "plugin/settings/page_setup.h"

#include "plugin/settings/paper_search.h"

#include <cstring>

const char kBrenvolticKey[] = "Software\\Brenvoltic";
const char kConfigSubKey[] = "TRVXSerConfig";
const char kPluginSubKey[] = "TRAVEX-Pro";
const char* const kPageSetupValueNames[16] = {"Orientation", "Size", "Width", "Height", "Scale",
    "pisroll", "rPage.left", "rPage.top", "rPage.right", "rPage.bottom", "rPaper.left",
    "rPaper.top", "rPaper.right", "rPaper.bottom", "iFstPage", "iLstPage"};

namespace {

// The field of each value name, in the order of kPageSetupValueNames.
int32_t* PageField(PageSetup* page, int index)
{
    int32_t* fields[16] = {&page->Orientation, &page->Size, &page->Width, &page->Height,
        &page->Scale, &page->pisroll, &page->rPage.left, &page->rPage.top, &page->rPage.right,
        &page->rPage.bottom, &page->rPaper.left, &page->rPaper.top, &page->rPaper.right,
        &page->rPaper.bottom, &page->iFstPage, &page->iLstPage};
    return fields[index];
}

bool IsPageNumber(int index)
{
    return index >= 14;
}

int32_t PageNumber(uint32_t value)
{
    return static_cast<int16_t>(value & 0xFFFF);
}

int32_t LimitPageValue(int64_t value)
{
    if (value > kPageValueLimit)
        return kPageValueLimit;
    if (value < -kPageValueLimit)
        return -kPageValueLimit;
    return static_cast<int32_t>(value);
}

} // namespace

void LimitPageSetup(PageSetup* page)
{
    for (int i = 0; i < 16; ++i) {
        int32_t* field = PageField(page, i);
        *field = IsPageNumber(i) ? PageNumber(static_cast<uint32_t>(*field)) : LimitPageValue(*field);
    }
}

int32_t OpenBrenvolticKey(const char* subKey, bool create, RegistryKey* key)
{
    auto open = create ? CreateRegistryKey : OpenRegistryKey;
    RegistryKey top = nullptr;
    int32_t status = open(kRegistryCurrentUser, kBrenvolticKey, &top);
    if (status != kRegistrySuccess)
        return status;
    status = open(top, subKey, key);
    CloseRegistryKey(top);
    return status;
}

void GrowPaperFromPage(PageSetup* page, const PlotSettings* settings)
{
    LimitPageSetup(page);
    page->rPage.top = 0;
    page->rPage.left = 0;
    page->rPage.right = page->Width;
    page->rPage.bottom = page->Height;
    MarginRect none = {0, 0, 0, 0};
    const MarginRect& m = settings == nullptr ? none
        : (page->pisroll != 0 ? settings->rRollMargin : settings->rSheetMargin);
    // A margin of any size gives a paper rectangle within the record's limits.
    page->rPaper.top = LimitPageValue(int64_t(page->rPage.top) - m.top);
    page->rPaper.left = LimitPageValue(int64_t(page->rPage.left) - m.left);
    page->rPaper.right = LimitPageValue(int64_t(page->rPage.right) + m.right);
    page->rPaper.bottom = LimitPageValue(int64_t(page->rPage.bottom) + m.bottom);
}

void SetDefaultPageSetup(PageSetup* page, const PlotSettings* settings, const PaperList* list)
{
    std::memset(page, 0, sizeof *page);
    page->Orientation = 0;
    page->Size = kPageSizeFirstPaper;
    int16_t width = 0;
    int16_t height = 0;
    int16_t roll = 0;
    GetPaperSize(list, 0, &width, &height, &roll);
    page->Width = width;
    page->Height = height;
    page->pisroll = roll;
    page->Scale = 10000;
    GrowPaperFromPage(page, settings);
    page->iFstPage = 1;
    page->iLstPage = 1;
}

int32_t ReadPageSetupValues(PageSetup* page)
{
    RegistryKey key = nullptr;
    int32_t status = OpenBrenvolticKey(kConfigSubKey, false, &key);
    if (status != kRegistrySuccess)
        return status;
    for (int i = 0; i < 16; ++i) {
        uint32_t value = 0;
        if (QueryRegistryDword(key, kPageSetupValueNames[i], &value) != kRegistrySuccess)
            continue;
        *PageField(page, i) = IsPageNumber(i) ? PageNumber(value) : LimitPageValue(static_cast<int32_t>(value));
    }
    return CloseRegistryKey(key);
}

int32_t WritePageSetupValues(const PageSetup* page)
{
    RegistryKey key = nullptr;
    int32_t status = OpenBrenvolticKey(kConfigSubKey, true, &key);
    if (status != kRegistrySuccess)
        return status;
    PageSetup copy = *page;
    for (int i = 0; i < 16 && status == kRegistrySuccess; ++i) {
        int32_t value = *PageField(&copy, i);
        if (IsPageNumber(i))
            value = PageNumber(static_cast<uint32_t>(value));
        status = SetRegistryDword(key, kPageSetupValueNames[i], static_cast<uint32_t>(value));
    }
    int32_t closed = CloseRegistryKey(key);
    return status != kRegistrySuccess ? status : closed;
}
