#include "plugin/conversion/art_lists.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "sdk/ai_art.h"
#include "sdk/ai_art_style.h"
#include "sdk/ai_blend_style.h"
#include "sdk/ai_path.h"
#include "sdk/ai_plugin_group.h"
#include "sdk/ai_real_math.h"
#include "sdk/ai_symbol.h"
#include "plugin/hpgl/geometry.h"
#include "plugin/entry/plugin_globals.h"
#include "plugin/entry/suite_table.h"
#include "plugin/entry/run_services.h"

// Plug-in art whose result is plug-in art again can chain without end in a broken drawing.
constexpr int kMaxWalkDepth = 200;

namespace {

ListAllocator gAllocator = nullptr;

}  // namespace

ASErr EndRunWithoutMemory()
{
    if (g != nullptr) {
        g->fAbort = 1;
        if (g->conversion.iRunFailure == 0)
            g->conversion.iRunFailure = kOutOfMemoryErr;
    }
    return kOutOfMemoryErr;
}

void SetListAllocator(ListAllocator allocator) { gAllocator = allocator; }

void* AllocateListBlock(size_t count, size_t size)
{
    return gAllocator ? gAllocator(count, size) : std::calloc(count, size);
}

ArtList* NewArtList()
{
    auto* list = static_cast<ArtList*>(AllocateListBlock(1, sizeof(ArtList)));
    if (list == nullptr)
        return nullptr;
    list->aEntry = static_cast<ArtEntry*>(AllocateListBlock(kArtListFirstCapacity, sizeof(ArtEntry)));
    if (list->aEntry == nullptr) {
        std::free(list);
        return nullptr;
    }
    list->iCount = 0;
    list->iCapacity = kArtListFirstCapacity;
    return list;
}

void DisposeArtList(ArtList* list)
{
    if (list == nullptr)
        return;
    std::free(list->aEntry);
    std::free(list);
}

ASErr ReserveArtRows(ArtList* list, int32_t rows)
{
    if (list == nullptr || rows < 0)
        return kBadParameterErr;
    if (rows <= list->iCapacity)
        return kNoErr;
    if (list->iCapacity == INT32_MAX)
        return EndRunWithoutMemory();
    // Doubling keeps appending constant time on average.
    int64_t capacity = list->iCapacity > 0 ? list->iCapacity : kArtListFirstCapacity;
    while (capacity < rows)
        capacity *= 2;
    if (capacity > INT32_MAX)
        capacity = INT32_MAX;
    auto* rowsNow = static_cast<ArtEntry*>(AllocateListBlock(static_cast<size_t>(capacity), sizeof(ArtEntry)));
    if (rowsNow == nullptr)
        return EndRunWithoutMemory();
    if (list->iCount > 0)
        std::memcpy(rowsNow, list->aEntry, static_cast<size_t>(list->iCount) * sizeof(ArtEntry));
    std::free(list->aEntry);
    list->aEntry = rowsNow;
    list->iCapacity = static_cast<int32_t>(capacity);
    return kNoErr;
}

ASErr AllocateArtLists()
{
    g->pMainArtList = nullptr;
    g->pWorkArtList = nullptr;
    g->conversion.iRunFailure = 0;
    g->pMainArtList = NewArtList();
    if (g->pMainArtList == nullptr)
        return kOutOfMemoryErr;
    g->pWorkArtList = NewArtList();
    if (g->pWorkArtList == nullptr)
        return kOutOfMemoryErr;
    return kNoErr;
}

ASErr FreeArtLists()
{
    DisposeArtList(g->pMainArtList);
    DisposeArtList(g->pWorkArtList);
    g->pMainArtList = nullptr;
    g->pWorkArtList = nullptr;
    return kNoErr;
}

ASErr AddArtEntry(ArtList* list, AIArtHandle art, int16_t wTool, const AIRealMatrix* matrix)
{
    if (list == nullptr || list->iCount < 0)
        return kOutOfMemoryErr;
    if (list->iCount >= list->iCapacity) {
        const ASErr grown = ReserveArtRows(list, list->iCount + 1);
        if (grown != kNoErr)
            return grown;
    }
    ArtEntry& row = list->aEntry[list->iCount];
    row.iTag = 0;
    row.wTool = wTool;
    row.hArt = art;
    if (matrix != nullptr) {
        row.dMatrix[0] = matrix->a;
        row.dMatrix[1] = matrix->b;
        row.dMatrix[2] = matrix->c;
        row.dMatrix[3] = matrix->d;
        row.dMatrix[4] = matrix->tx;
        row.dMatrix[5] = matrix->ty;
    } else {
        std::memset(row.dMatrix, 0, sizeof row.dMatrix);
    }
    list->iCount++;
    return kNoErr;
}

ASErr RemoveArtEntry(ArtList* list, int32_t n)
{
    // A row that is not in use cannot be removed; the count must not go wrong.
    if (list == nullptr || n < 0 || n >= list->iCount)
        return kBadParameterErr;
    for (int32_t i = n; i + 1 < list->iCount; ++i)
        list->aEntry[i] = list->aEntry[i + 1];
    std::memset(&list->aEntry[list->iCount - 1], 0, sizeof(ArtEntry));
    list->iCount--;
    return kNoErr;
}

// The art's bounds grown by one point on every side, so art touching the page edge counts.
static ASErr GrownBounds(AIArtHandle art, AIRealRect* bounds)
{
    *bounds = AIRealRect{0, 0, 0, 0};
    const ASErr result = sAIArt->GetArtBounds(art, bounds);
    sAIRealMath->AIRealRectInset(bounds, -1, -1);
    return result;
}

static bool MeetsPage(const AIRealRect* bounds)
{
    AIRealRect scratch;
    return RectsOverlap(bounds, &g->conversion.rPageBounds, &scratch) != 0;
}

ASErr AddArtIfOnPage(AIArtHandle art, int16_t wTool, const AIRealMatrix* matrix)
{
    AIRealRect bounds;
    const ASErr result = GrownBounds(art, &bounds);
    if (result != kNoErr)
        return result;
    if (!MeetsPage(&bounds))
        return kNoErr;
    return AddArtEntry(g->pMainArtList, art, wTool, matrix);
}

static ASErr WalkArt(AIArtHandle art, int16_t wTool, const AIRealMatrix* matrix, int depth);

static ASErr CollectGroup(AIArtHandle group, int16_t wTool, const AIRealMatrix* matrix, int depth)
{
    AIArtHandle child = nullptr;
    ASErr result = sAIArt->GetArtFirstChild(group, &child);
    while (result == kNoErr && child != nullptr) {
        WalkArt(child, wTool, matrix, depth + 1);
        if (g->fAbort)
            break;
        AIArtHandle next = nullptr;
        result = sAIArt->GetArtSibling(child, &next);
        child = next;
    }
    return result;
}

// A path drawn through another art of its appearance is collected as that art.
static ASErr CollectStyledPath(AIArtHandle path, int16_t wTool, const AIRealMatrix* matrix, int depth)
{
    AIArtHandle styled = nullptr;
    ASErr result = sAIArtStyle->GetStyledArt(path, &styled);
    if (result == kNoErr) {
        AIReal opacity = 0;
        result = sAIBlendStyle->GetArtOpacity(path, &opacity);
        if (result == kNoErr && static_cast<float>(opacity) == 1.0f && styled != nullptr && styled != path)
            return WalkArt(styled, wTool, matrix, depth + 1);
    }
    return AddArtIfOnPage(path, wTool, matrix);
}

static ASErr CollectSymbolInstance(AIArtHandle instance, int16_t wTool)
{
    AISymbolHandle symbol = nullptr;
    ASErr result = sAISymbol->GetSymbolOfInstance(instance, &symbol);
    if (result != kNoErr || symbol == nullptr)
        return result;
    AIRealRect bounds;
    result = GrownBounds(instance, &bounds);
    if (result != kNoErr || !MeetsPage(&bounds))
        return result;
    AIRealMatrix placement = {0, 0, 0, 0, 0, 0};
    result = sAISymbol->GetInstanceMatrix(instance, &placement);
    AIArtHandle definition = nullptr;
    const ASErr definitionResult = sAISymbol->GetSymbolDefinitionArt(symbol, &definition);
    if (result == kNoErr)
        result = definitionResult;
    // A list that cannot grow ends the run (AddArtEntry).
    if (definition != nullptr && definitionResult == kNoErr)
        AddArtEntry(g->pMainArtList, definition, wTool, &placement);
    return result;
}

static ASErr WalkArt(AIArtHandle art, int16_t wTool, const AIRealMatrix* matrix, int depth)
{
    if (depth > kMaxWalkDepth)
        return kNoErr;
    ASInt16 type = kArtTypeUnknown;
    ASErr result = sAIArt->GetArtType(art, &type);
    if (result == kNoErr) {
        switch (type) {
        case kArtTypeGroup:
            result = CollectGroup(art, wTool, matrix, depth);
            break;
        case kArtTypePath: {
            ASBoolean guide = 0;
            result = sAIPath->GetPathGuide(art, &guide);
            if (result == kNoErr && !guide)
                result = CollectStyledPath(art, wTool, matrix, depth);
            break;
        }
        case kArtTypeCompoundPath:
        case kArtTypeTextFrame:
            result = AddArtIfOnPage(art, wTool, matrix);
            break;
        case kArtTypePluginArt: {
            AIArtHandle resultArt = nullptr;
            result = sAIPluginGroup->GetPluginArtResultArt(art, &resultArt);
            if (result == kNoErr && resultArt != nullptr)
                WalkArt(resultArt, wTool, matrix, depth + 1);
            break;
        }
        case kArtTypeSymbolInstance:
            result = CollectSymbolInstance(art, wTool);
            break;
        default:
            break;
        }
    }
    CheckUserCancel();
    return result;
}

ASErr CollectArt(AIArtHandle art, int16_t wTool, const AIRealMatrix* matrix)
{
    return WalkArt(art, wTool, matrix, 0);
}

static ASErr WalkShapes(AIArtHandle art, int depth)
{
    if (depth > kMaxWalkDepth)
        return kNoErr;
    ASInt16 type = kArtTypeUnknown;
    ASErr result = sAIArt->GetArtType(art, &type);
    if (result != kNoErr)
        return result;
    if (type == kArtTypePath)
        return AddArtEntry(g->pMainArtList, art, 0, nullptr);
    if (type != kArtTypeGroup && type != kArtTypeCompoundPath)
        return kNoErr;
    AIArtHandle child = nullptr;
    result = sAIArt->GetArtFirstChild(art, &child);
    while (result == kNoErr && child != nullptr) {
        result = WalkShapes(child, depth + 1);
        if (result != kNoErr)
            break;
        AIArtHandle next = nullptr;
        result = sAIArt->GetArtSibling(child, &next);
        child = next;
    }
    return result;
}

ASErr CollectShapes(AIArtHandle art)
{
    return WalkShapes(art, 0);
}
