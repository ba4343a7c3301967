#include "host/suites/suite_registry.h"

#include "host/session/host_switch_list.h"

#include "host/suites/art_suites.h"
#include "host/suites/context_suite.h"
#include "host/suites/file_path_suite.h"
#include "host/view/document_view_suite.h"
#include "host/suites/host_strings.h"
#include "host/suites/menu_suite.h"
#include "host/suites/pathfinder_suite.h"
#include "host/suites/real_math_suite.h"
#include "sdk/suite_names.h"
#include "host/suites/tool_suite.h"
#include "host/suites/undo_suite.h"
#include "host/suites/user_suite.h"
#include "host/suites/access_suite.h"
#include "host/suites/text_engine.h"

#include <cstdlib>
#include <cstring>
#include <map>
#include <vector>

namespace host {
namespace {

// Suites no plug-in calls yet answer with a table of nothing.
const void* const kEmptyTable[64] = {};

struct HostSuiteRow {
    const char* name;
    int32_t version;
    const void* (*table)();
    SuiteCounts counts;
};

const void* Empty() { return kEmptyTable; }

#define HOST_ROW(id, table) { k##id##Suite, k##id##SuiteVersion, table, {} }
#define EMPTY_ROW(id) HOST_ROW(id, Empty)

HostSuiteRow gRows[] = {
    EMPTY_ROW(SPBlocks),
    HOST_ROW(SPAccess, [] { return static_cast<const void*>(HostAccessSuite()); }),
    EMPTY_ROW(AIMdMemory),
    HOST_ROW(AIRealMath, [] { return static_cast<const void*>(HostRealMathSuite()); }),
    HOST_ROW(AIArt, [] { return static_cast<const void*>(HostArtSuite()); }),
    HOST_ROW(AIPath, [] { return static_cast<const void*>(HostPathSuite()); }),
    HOST_ROW(AIDocument, [] { return static_cast<const void*>(HostDocumentSuite()); }),
    HOST_ROW(AIDocumentView, [] { return static_cast<const void*>(HostDocumentViewSuite()); }),
    EMPTY_ROW(AIUserInterfaceTheme),
    EMPTY_ROW(AIPanel),
    EMPTY_ROW(AIPanelFlyoutMenu),
    HOST_ROW(AILayer, [] { return static_cast<const void*>(HostLayerSuite()); }),
    HOST_ROW(AIUser, [] { return static_cast<const void*>(HostUserSuite()); }),
    EMPTY_ROW(AIRuntime),
    EMPTY_ROW(AIDataFilter),
    HOST_ROW(AIPathStyle, [] { return static_cast<const void*>(HostPathStyleSuite()); }),
    HOST_ROW(AIUndo, [] { return static_cast<const void*>(HostUndoSuite()); }),
    EMPTY_ROW(AIATETextUtil),
    HOST_ROW(AITextFrame, [] { return static_cast<const void*>(HostTextFrameSuite()); }),
    HOST_ROW(AIFont, [] { return static_cast<const void*>(HostFontSuite()); }),
    EMPTY_ROW(AIForeignObject),
    HOST_ROW(AIATEPaint, [] { return static_cast<const void*>(HostATEPaintSuite()); }),
    HOST_ROW(AIHardSoft, [] { return static_cast<const void*>(HostHardSoftSuite()); }),
    HOST_ROW(ATEApplicationPaint, [] { return static_cast<const void*>(HostATEApplicationPaintSuite()); }),
    EMPTY_ROW(ATECompFont),
    EMPTY_ROW(ATECompFontClass),
    EMPTY_ROW(ATECompFontClassSet),
    EMPTY_ROW(ATECompFontComponent),
    EMPTY_ROW(ATECompFontSet),
    HOST_ROW(ATEGlyphRun, [] { return static_cast<const void*>(HostATEGlyphRunSuite()); }),
    HOST_ROW(ATEGlyphRunsIterator, [] { return static_cast<const void*>(HostATEGlyphRunsIteratorSuite()); }),
    HOST_ROW(ATEMojiKumi, [] { return static_cast<const void*>(HostATEMojiKumiSuite()); }),
    EMPTY_ROW(ATEMojiKumiSet),
    HOST_ROW(ATETextFrame, [] { return static_cast<const void*>(HostATETextFrameSuite()); }),
    EMPTY_ROW(ATETextFramesIterator),
    HOST_ROW(ATETextLine, [] { return static_cast<const void*>(HostATETextLineSuite()); }),
    HOST_ROW(ATETextLinesIterator, [] { return static_cast<const void*>(HostATETextLinesIteratorSuite()); }),
    EMPTY_ROW(ATETextResources),
    EMPTY_ROW(ATEApplicationTextResources),
    HOST_ROW(ATEDocumentTextResources, [] { return static_cast<const void*>(HostATEDocumentTextResourcesSuite()); }),
    EMPTY_ROW(ATEArrayApplicationPaintRef),
    HOST_ROW(ATEArrayReal, [] { return static_cast<const void*>(HostATEArrayRealSuite()); }),
    EMPTY_ROW(ATEArrayBool),
    EMPTY_ROW(ATEArrayInteger),
    EMPTY_ROW(ATEArrayLineCapType),
    EMPTY_ROW(ATEArrayFigureStyle),
    EMPTY_ROW(ATEArrayLineJoinType),
    EMPTY_ROW(ATEArrayWariChuJustification),
    EMPTY_ROW(ATEArrayStyleRunAlignment),
    EMPTY_ROW(ATEArrayAutoKernType),
    EMPTY_ROW(ATEArrayBaselineDirection),
    EMPTY_ROW(ATEArrayLanguage),
    EMPTY_ROW(ATEArrayFontCapsOption),
    EMPTY_ROW(ATEArrayFontBaselineOption),
    EMPTY_ROW(ATEArrayParagraphJustification),
    EMPTY_ROW(ATEArrayArrayReal),
    EMPTY_ROW(ATEArrayBurasagariType),
    EMPTY_ROW(ATEArrayPreferredKinsokuOrder),
    EMPTY_ROW(ATEArrayKinsokuRef),
    EMPTY_ROW(ATEArrayMojiKumiRef),
    EMPTY_ROW(ATEArrayMojiKumiSetRef),
    EMPTY_ROW(ATEArrayTabStopsRef),
    EMPTY_ROW(ATEArrayLeadingType),
    EMPTY_ROW(ATEArrayFontRef),
    EMPTY_ROW(ATEArrayGlyphID),
    HOST_ROW(ATEArrayRealPoint, [] { return static_cast<const void*>(HostATEArrayRealPointSuite()); }),
    EMPTY_ROW(ATEArrayRealMatrix),
    HOST_ROW(ATECharFeatures, [] { return static_cast<const void*>(HostATECharFeaturesSuite()); }),
    EMPTY_ROW(ATECharInspector),
    EMPTY_ROW(ATECharStyle),
    EMPTY_ROW(ATECharStyles),
    EMPTY_ROW(ATECharStylesIterator),
    EMPTY_ROW(ATEFind),
    HOST_ROW(ATEFont, [] { return static_cast<const void*>(HostATEFontSuite()); }),
    EMPTY_ROW(ATEGlyph),
    EMPTY_ROW(ATEGlyphs),
    EMPTY_ROW(ATEGlyphsIterator),
    HOST_ROW(ATEKinsoku, [] { return static_cast<const void*>(HostATEKinsokuSuite()); }),
    EMPTY_ROW(ATEKinsokuSet),
    HOST_ROW(ATEParaFeatures, [] { return static_cast<const void*>(HostATEParaFeaturesSuite()); }),
    EMPTY_ROW(ATEParagraph),
    EMPTY_ROW(ATEParagraphsIterator),
    EMPTY_ROW(ATEParaInspector),
    EMPTY_ROW(ATEParaStyle),
    EMPTY_ROW(ATEParaStyles),
    EMPTY_ROW(ATEParaStylesIterator),
    EMPTY_ROW(ATESpell),
    EMPTY_ROW(ATEStories),
    EMPTY_ROW(ATEStory),
    EMPTY_ROW(ATETabStop),
    EMPTY_ROW(ATETabStops),
    EMPTY_ROW(ATETabStopsIterator),
    HOST_ROW(ATETextRange, [] { return static_cast<const void*>(HostATETextRangeSuite()); }),
    EMPTY_ROW(ATETextRanges),
    EMPTY_ROW(ATETextRangesIterator),
    EMPTY_ROW(ATETextRunsIterator),
    EMPTY_ROW(ATEWordsIterator),
    HOST_ROW(AIContext, [] { return static_cast<const void*>(HostContextSuite()); }),
    EMPTY_ROW(AIPreference),
    HOST_ROW(AIPathfinder, [] { return static_cast<const void*>(HostPathfinderSuite()); }),
    EMPTY_ROW(AIFileFormat),
    HOST_ROW(AIPluginGroup, [] { return static_cast<const void*>(HostPluginGroupSuite()); }),
    EMPTY_ROW(AITransformArt),
    EMPTY_ROW(AIMask),
    HOST_ROW(AIBlendStyle, [] { return static_cast<const void*>(HostBlendStyleSuite()); }),
    EMPTY_ROW(AIDictionary),
    EMPTY_ROW(AIDictionaryIterator),
    HOST_ROW(AIArtStyle, [] { return static_cast<const void*>(HostArtStyleSuite()); }),
    HOST_ROW(AISymbol, [] { return static_cast<const void*>(HostSymbolSuite()); }),
    HOST_ROW(AIMenu, [] { return static_cast<const void*>(HostMenuSuite()); }),
    HOST_ROW(AITool, [] { return static_cast<const void*>(HostToolSuite()); }),
    HOST_ROW(AIUnicodeString, [] { return static_cast<const void*>(HostUnicodeStringSuite()); }),
    HOST_ROW(AIFilePath, [] { return static_cast<const void*>(HostFilePathSuite()); }),
};

constexpr int kRowCount = int(sizeof(gRows) / sizeof(gRows[0]));
static_assert(kRowCount == 113);

std::map<std::string, ASErr>& Unavailable()
{
    static std::map<std::string, ASErr> unavailable;
    static bool fRead = false;
    if (!fRead) {
        fRead = true;
        if (const char* list = std::getenv("TRAVEX_HOST_MISSING_SUITES")) {
            std::string error;
            SetUnavailableSuites(list, error);
        }
    }
    return unavailable;
}

HostSuiteRow* FindRow(const char* name)
{
    if (name == nullptr)
        return nullptr;
    for (auto& row : gRows)
        if (std::strcmp(row.name, name) == 0)
            return &row;
    return nullptr;
}

}  // namespace

int HostSuiteCount() { return kRowCount; }
const char* HostSuiteName(int index) { return index >= 0 && index < kRowCount ? gRows[index].name : nullptr; }
int32_t HostSuiteVersion(int index) { return index >= 0 && index < kRowCount ? gRows[index].version : 0; }

ASErr AcquireHostSuite(const char* name, int32_t version, const void** suite)
{
    if (suite == nullptr)
        return kBadParameterErr;
    HostSuiteRow* row = FindRow(name);
    if (row == nullptr || row->version != version)
        return kSuiteUnavailableErr;
    auto& unavailable = Unavailable();
    auto found = unavailable.find(row->name);
    if (found != unavailable.end())
        return found->second;
    *suite = row->table();
    ++row->counts.acquires;
    return kNoErr;
}

ASErr ReleaseHostSuite(const char* name, int32_t version)
{
    HostSuiteRow* row = FindRow(name);
    if (row == nullptr || row->version != version)
        return kSuiteUnavailableErr;
    // a release the plug-in never acquired is its fault, not counted
    if (row->counts.releases >= row->counts.acquires)
        return kBadParameterErr;
    ++row->counts.releases;
    return kNoErr;
}

void SetSuiteUnavailable(const std::string& name, ASErr status)
{
    Unavailable()[name] = status == kNoErr ? kSuiteUnavailableErr : status;
}

bool SetUnavailableSuites(const std::string& list, std::string& error)
{
    for (std::string entry : SplitSwitchList(list)) {
        ASErr status = kSuiteUnavailableErr;
        if (!TakeSwitchStatus(entry, status, error))
            return false;
        if (FindRow(entry.c_str()) == nullptr) {
            error = "no such suite: \"" + entry + "\"";
            return false;
        }
        SetSuiteUnavailable(entry, status);
    }
    return true;
}

void ClearUnavailableSuites() { Unavailable().clear(); }

SuiteCounts HostSuiteCounts(const char* name)
{
    HostSuiteRow* row = FindRow(name);
    return row ? row->counts : SuiteCounts{};
}

SuiteCounts TotalSuiteCounts()
{
    SuiteCounts total;
    for (auto& row : gRows) {
        total.acquires += row.counts.acquires;
        total.releases += row.counts.releases;
    }
    return total;
}

int CountHeldSuites()
{
    int held = 0;
    for (auto& row : gRows)
        if (row.counts.acquires > row.counts.releases)
            ++held;
    return held;
}

void ResetSuiteCounts()
{
    for (auto& row : gRows)
        row.counts = {};
}

}  // namespace host
