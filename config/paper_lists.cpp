#include "config/paper_lists.h"

#include "config/settings_store.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr int32_t kFullScale = 10000;

bool IsShiftJisLead(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// Copies at most room - 1 bytes of a code page 932 name and a NUL, ending on a whole
// character so that a cut name never ends in half of one.
void CopyName(char* out, size_t room, const char* name)
{
    std::memset(out, 0, room);
    if (name == nullptr)
        return;
    size_t at = 0;
    while (name[at] != '\0') {
        size_t width = IsShiftJisLead(static_cast<unsigned char>(name[at])) && name[at + 1] != '\0' ? 2 : 1;
        if (at + width > room - 1)
            break;
        at += width;
    }
    std::memcpy(out, name, at);
}

void SetRow(PaperEntry* row, const char* name, int16_t width, int16_t height, int16_t roll)
{
    CopyName(row->szName, sizeof row->szName, name);
    row->wWidth = width;
    row->wHeight = height;
    row->fRoll = roll;
}

void CustomSizeName(char* out, size_t room, int16_t width, int16_t height, int32_t scale)
{
    if (scale == kFullScale)
        std::snprintf(out, room, "User(%d*%d)", width, height);
    else
        std::snprintf(out, room, "User(%d*%d %d%%)", width, height, scale / 100);
}

} // namespace

int GetPaperEntry(const PaperList* list, int16_t index, char* name, int16_t* width,
    int16_t* height, int16_t* roll)
{
    bool inside = list != nullptr && index >= 0 && index < PaperListRowCount(list);
    const PaperEntry* row = inside ? &list->aEntry[index] : nullptr;
    if (name != nullptr)
        CopyName(name, kPaperNameBytes, row ? row->szName : "");
    if (width != nullptr)
        *width = row ? row->wWidth : 0;
    if (height != nullptr)
        *height = row ? row->wHeight : 0;
    if (roll != nullptr)
        *roll = row ? row->fRoll : 0;
    return inside ? 1 : 0;
}

int16_t FindPaperSize(const PaperList* list, int16_t width, int16_t height)
{
    int count = list != nullptr ? PaperListRowCount(list) : 0;
    for (int i = 0; i < count; ++i)
        if (list->aEntry[i].wWidth == width && list->aEntry[i].wHeight == height)
            return static_cast<int16_t>(i);
    return -1;
}

int SetPaperEntry(PaperList* list, int16_t index, const char* name, int16_t width,
    int16_t height, int16_t roll)
{
    if (list == nullptr || index < 0 || index >= PaperListRowCount(list))
        return 0;
    SetRow(&list->aEntry[index], name, width, height, roll);
    return 1;
}

int InsertPaperEntry(PaperList* list, int16_t index, const char* name, int16_t width,
    int16_t height, int16_t roll)
{
    if (list == nullptr)
        return 0;
    int count = PaperListRowCount(list);
    if (index < 0 || index > count || count >= kPaperListRows)
        return 0;
    // The name may lie in the row that moves.
    PaperEntry fresh;
    SetRow(&fresh, name, width, height, roll);
    std::memmove(&list->aEntry[index + 1], &list->aEntry[index],
        sizeof(PaperEntry) * static_cast<size_t>(count - index));
    list->aEntry[index] = fresh;
    list->wCount = static_cast<int16_t>(count + 1);
    return 1;
}

int DeletePaperEntry(PaperList* list, int16_t index)
{
    if (list == nullptr)
        return 0;
    int count = PaperListRowCount(list);
    if (index < 0 || index >= count)
        return 0;
    std::memmove(&list->aEntry[index], &list->aEntry[index + 1],
        sizeof(PaperEntry) * static_cast<size_t>(count - index - 1));
    list->wCount = static_cast<int16_t>(count - 1);
    return 1;
}

int16_t AddCustomSize(CustomSizeList* list, int16_t width, int16_t height, int16_t kind,
    int32_t scale)
{
    if (list == nullptr)
        return -1;
    int count = CustomSizeRowCount(list);
    int target = FindCustomSize(list, width, height);
    if (target < 0)
        target = count;
    if (target == kPaperListRows) {
        std::memmove(&list->aEntry[0], &list->aEntry[1],
            sizeof(CustomSizeEntry) * (kPaperListRows - 1));
        target = kPaperListRows - 1;
    }
    CustomSizeEntry& row = list->aEntry[target];
    if (target < count && row.wWidth == width && row.wHeight == height && row.wKind == kind &&
        row.iScale == scale)
        return static_cast<int16_t>(target);
    std::memset(row.szName, 0, sizeof row.szName);
    CustomSizeName(row.szName, sizeof row.szName, width, height, scale);
    row.wWidth = width;
    row.wHeight = height;
    row.wKind = kind;
    row.iScale = scale;
    if (target == count)
        list->wCount = static_cast<int16_t>(count + 1);
    WriteCustomSizeList(list);
    return static_cast<int16_t>(target);
}

int GetCustomSize(const CustomSizeList* list, int16_t index, int16_t* width, int16_t* height,
    int16_t* kind, int32_t* scale)
{
    bool inside = list != nullptr && index >= 0 && index < CustomSizeRowCount(list);
    const CustomSizeEntry* row = inside ? &list->aEntry[index] : nullptr;
    if (width != nullptr)
        *width = row ? row->wWidth : 0;
    if (height != nullptr)
        *height = row ? row->wHeight : 0;
    if (kind != nullptr)
        *kind = row ? row->wKind : 0;
    if (scale != nullptr)
        *scale = row ? row->iScale : 0;
    return inside ? 1 : 0;
}

int16_t FindCustomSize(const CustomSizeList* list, int16_t width, int16_t height)
{
    int count = list != nullptr ? CustomSizeRowCount(list) : 0;
    for (int i = 0; i < count; ++i)
        if (list->aEntry[i].wWidth == width && list->aEntry[i].wHeight == height)
            return static_cast<int16_t>(i);
    return -1;
}
