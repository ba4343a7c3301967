// Extreme values in the settings file, the registry's page values and the document's page
// record: each number in turn at both ends of its type and at 0, read by the real readers,
// placed as the plot area and converted. The readers keep every page value within their
// limits, and every pen move of the plot data stays inside the page's plot frame.
#include "plugin/conversion/page_conversion.h"
#include "plugin/tests/conversion_test_host.h"

#include "plugin/records/configuration_layer.h"
#include "plugin/records/document_records.h"
#include "plugin/records/page_setup_registry.h"
#include "plugin/settings/page_setup.h"
#include "plugin/settings/settings_file.h"
#include "plugin/settings/tests/settings_test_files.h"

#include "tests/support/temp_home.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

using namespace conversiontest;

namespace {

// A pen layer, a dashed pen layer, a cutter layer with two overlapping shapes, and a text.
const char* const kBody =
    "<g inkscape:label=\"Pens\" style=\"fill:none;stroke:#000\">"
    "<path d=\"M5 45 L95 5\"/><circle cx=\"30\" cy=\"25\" r=\"12\"/>"
    "<text x=\"10\" y=\"40\" style=\"font-size:8px\">Ab</text></g>"
    "<g inkscape:label=\"Dashes\" style=\"fill:none;stroke:#000;stroke-dasharray:2,1\">"
    "<path d=\"M5 5 C 40 60, 60 -10, 95 45\"/></g>"
    "<g inkscape:label=\"Cuts\" style=\"fill:none;stroke:#000\">"
    "<rect x=\"50\" y=\"10\" width=\"30\" height=\"30\"/><rect x=\"65\" y=\"20\" width=\"30\" height=\"25\"/></g>";

enum Block { kSettingsBlock, kPaperBlock, kCustomBlock, kRegistryPage, kDocumentPage };

struct Field {
    Block block;
    std::string name;
    size_t offset;  // in its record
    size_t size;    // 2 or 4 bytes
};

#define PLOT_FIELD(f)                                                                                                  \
    Field { kSettingsBlock, #f, offsetof(PlotSettings, f), sizeof(PlotSettings::f) }

// Every number of the settings record, the paper list and the custom sizes (their counts,
// units and first rows, the rows the programs read first), and of the page record.
std::vector<Field> AllFields()
{
    // clang-format off
    std::vector<Field> fields = {PLOT_FIELD(wVersion), PLOT_FIELD(wOutlineSize),
        PLOT_FIELD(rSheetMargin.top), PLOT_FIELD(rSheetMargin.left), PLOT_FIELD(rSheetMargin.right),
        PLOT_FIELD(rSheetMargin.bottom), PLOT_FIELD(rRollMargin.top), PLOT_FIELD(rRollMargin.left),
        PLOT_FIELD(rRollMargin.right), PLOT_FIELD(rRollMargin.bottom), PLOT_FIELD(wSortMode),
        PLOT_FIELD(fOverlap), PLOT_FIELD(fPenOrderOff), PLOT_FIELD(wKanjiMode), PLOT_FIELD(wPaperOrigin),
        PLOT_FIELD(wReservedA), PLOT_FIELD(fDebugMode), PLOT_FIELD(fLineOptOff), PLOT_FIELD(fErrorAdjust),
        PLOT_FIELD(wReservedB), PLOT_FIELD(fFrameCut), PLOT_FIELD(wFrameCutTool),
        PLOT_FIELD(rFrameCutMargin.top), PLOT_FIELD(rFrameCutMargin.left), PLOT_FIELD(rFrameCutMargin.right),
        PLOT_FIELD(rFrameCutMargin.bottom), PLOT_FIELD(wRollPageLength), PLOT_FIELD(fDottedCut),
        PLOT_FIELD(wCutTool), PLOT_FIELD(wCutPressure), PLOT_FIELD(wGapPressure), PLOT_FIELD(wCutLength),
        PLOT_FIELD(wGapLength), PLOT_FIELD(wReservedC), PLOT_FIELD(wPort), PLOT_FIELD(wBaudIndex),
        PLOT_FIELD(wDataBitsIndex), PLOT_FIELD(wStopBitsIndex), PLOT_FIELD(wParityIndex),
        PLOT_FIELD(wFlowControl), PLOT_FIELD(iTcpPort), PLOT_FIELD(iPlotterUnit), PLOT_FIELD(iTolerance),
        PLOT_FIELD(iPdOptimize), PLOT_FIELD(iReservedD)};
    // clang-format on
    const char* const slotFields[] = {"wType", "wThickness", "wRed", "wGreen", "wBlue", "fColor"};
    for (int slot = 0; slot < kToolSlotCount; ++slot)
        for (int k = 0; k < 6; ++k)
            fields.push_back({kSettingsBlock, "aToolSlot[" + std::to_string(slot) + "]." + slotFields[k],
                              offsetof(PlotSettings, aToolSlot) + sizeof(ToolSlot) * slot + 2 * k, 2});
    fields.push_back({kPaperBlock, "PaperList.wCount", offsetof(PaperList, wCount), 2});
    fields.push_back({kPaperBlock, "PaperList.wUnit", offsetof(PaperList, wUnit), 2});
    fields.push_back(
        {kPaperBlock, "PaperList row 0 wWidth", offsetof(PaperList, aEntry) + offsetof(PaperEntry, wWidth), 2});
    fields.push_back(
        {kPaperBlock, "PaperList row 0 wHeight", offsetof(PaperList, aEntry) + offsetof(PaperEntry, wHeight), 2});
    fields.push_back(
        {kPaperBlock, "PaperList row 0 fRoll", offsetof(PaperList, aEntry) + offsetof(PaperEntry, fRoll), 2});
    fields.push_back({kCustomBlock, "CustomSizeList.wCount", offsetof(CustomSizeList, wCount), 2});
    fields.push_back({kCustomBlock, "CustomSizeList row 0 wWidth",
                      offsetof(CustomSizeList, aEntry) + offsetof(CustomSizeEntry, wWidth), 2});
    fields.push_back({kCustomBlock, "CustomSizeList row 0 wHeight",
                      offsetof(CustomSizeList, aEntry) + offsetof(CustomSizeEntry, wHeight), 2});
    fields.push_back({kCustomBlock, "CustomSizeList row 0 iScale",
                      offsetof(CustomSizeList, aEntry) + offsetof(CustomSizeEntry, iScale), 4});
    for (Block source : {kRegistryPage, kDocumentPage})
        for (int i = 0; i < 16; ++i)
            fields.push_back(
                {source, std::string(source == kRegistryPage ? "registry " : "document ") + kPageSetupValueNames[i],
                 4 * static_cast<size_t>(i), 4});
    return fields;
}

long FileOffset(Block block)
{
    return block == kSettingsBlock ? kPlotSettingsOffset
           : block == kPaperBlock  ? kPaperListOffset
                                   : kCustomSizeListOffset;
}

// The page record of the drawing, where the settings block leaves the page alone.
PageSetup BasePage()
{
    PageSetup page = {};
    page.Size = 601;
    page.Width = 100;
    page.Height = 50;
    page.Scale = 10000;
    page.rPage = PageRect{0, 0, 100, 50};
    page.rPaper = PageRect{-10, -10, 110, 60};
    page.iFstPage = 1;
    page.iLstPage = 1;
    return page;
}

void Patch(void* record, size_t offset, size_t size, int32_t value)
{
    if (size == 2) {
        const int16_t word = static_cast<int16_t>(value);
        std::memcpy(static_cast<char*>(record) + offset, &word, 2);
    } else {
        std::memcpy(static_cast<char*>(record) + offset, &value, 4);
    }
}

class ExtremeSettings : public PageConversion {
protected:
    void SetUp() override
    {
        PageConversion::SetUp();
        // every record comes from the readers, on the heap as an output run holds them
        g->pPlotSettings = nullptr;
        g->pPageSetup = nullptr;
    }

    void TearDown() override
    {
        FreeReadRecords();
        PageConversion::TearDown();
    }

    // The records the readers allocated for the last case.
    static void FreeReadRecords()
    {
        std::free(g->pPlotSettings);
        std::free(g->pPaperList);
        std::free(g->pPageSetup);
        g->pPlotSettings = nullptr;
        g->pPaperList = nullptr;
        g->pPageSetup = nullptr;
    }

    // The settings file, the registry and the document as the field and value say; the
    // plot area placed from them, then every page of the range converted.
    std::string RunCase(const Field& field, int32_t value)
    {
        FreeReadRecords();
        ResetTestHome();
        std::filesystem::create_directories(TestSettingsFolder());
        std::string file = ExpectedDefaultFile(302);
        if (field.block <= kCustomBlock)
            Patch(&file[static_cast<size_t>(FileOffset(field.block))], field.offset, field.size, value);
        WriteBytes(TestSettingsFile(), file);
        PageSetup page = BasePage();
        if (field.block == kRegistryPage)
            Patch(&page, field.offset, field.size, value);
        if (field.block != kSettingsBlock && field.block != kPaperBlock) {
            EXPECT_EQ(WritePageSetupValues(&page), 0);
        }

        Load(kBody, {{"Pens", {1, 1}}, {"Dashes", {1, 2}}, {"Cuts", {1, 8}}});
        g->pPlotSettings = LoadPlotSettings();
        EXPECT_NE(g->pPlotSettings, nullptr);
        // the plotter's units as the send machine takes them
        g->wUnitsPerMm = static_cast<int16_t>(g->pPlotSettings->iPlotterUnit & 0xFFFF);
        if (g->wUnitsPerMm == 0)
            g->wUnitsPerMm = 40;
        ApplyPageSetupToPlotArea();
        if (field.block == kDocumentPage) {
            PageSetup stored = BasePage();
            Patch(&stored, field.offset, field.size, value);
            std::free(g->pPageSetup);
            g->pPageSetup = static_cast<PageSetup*>(std::malloc(sizeof(PageSetup)));
            *g->pPageSetup = stored;
            SavePageSetupToDocument();
        }
        std::free(g->pPageSetup);
        g->pPageSetup = nullptr;
        return Convert();
    }
};

TEST_F(ExtremeSettings, EveryNumberAtBothEndsConvertsInsideThePlotFrame)
{
    // the drawing as the files leave it plots all three layers
    const Field reserved = PLOT_FIELD(wReservedA);
    const std::string plain = RunCase(reserved, 0);
    EXPECT_EQ(Count(plain, "SP1;") + Count(plain, "SP2;") + Count(plain, "SP8;"), 3) << plain;
    EXPECT_GT(Points(plain).size(), 40u);

    for (const Field& field : AllFields()) {
        const int32_t ends[] = {field.size == 2 ? INT16_MIN : INT32_MIN, field.size == 2 ? INT16_MAX : INT32_MAX, 0};
        for (int32_t value : ends) {
            const std::string label = field.name + " = " + std::to_string(value);
            const std::string bytes = RunCase(field, value);
            ASSERT_NE(g->pPageSetup, nullptr) << label;
            const PageSetup& held = *g->pPageSetup;
            for (int i = 0; i < 16; ++i) {
                int32_t v = 0;
                std::memcpy(&v, reinterpret_cast<const char*>(&held) + 4 * i, 4);
                const int32_t limit = i >= 14 ? INT16_MAX : kPageValueLimit;
                EXPECT_LE(v, limit) << label << ": " << kPageSetupValueNames[i];
                EXPECT_GE(v, i >= 14 ? INT16_MIN : -kPageValueLimit) << label << ": " << kPageSetupValueNames[i];
            }
            const PlotFrame& frame = g->conversion.plotFrame;
            int outside = 0;
            for (const auto& [x, y] : Points(bytes))
                if (x < frame.iXMin || x > frame.iXMax || y < frame.iYMin || y > frame.iYMax)
                    ++outside;
            EXPECT_EQ(outside, 0) << label << ": frame " << frame.iXMin << "," << frame.iYMin << "," << frame.iXMax
                                  << "," << frame.iYMax;
            EXPECT_TRUE(Count(bytes, "SP;") >= 1 || held.iFstPage > held.iLstPage) << label << ": no page";
        }
    }
}

// A margin of any size grows the default page into a paper rectangle the record can hold.
TEST_F(ExtremeSettings, MarginsAtTheEndsOfTheirTypeGiveAPaperWithinTheLimits)
{
    const struct {
        int32_t margin;
        int32_t top;  // rPaper.top of the default A0 sheet
        int32_t bottom;
    } cases[] = {
        {INT32_MIN, kPageValueLimit, -kPageValueLimit},
        {INT32_MAX, -kPageValueLimit, kPageValueLimit},
        {-1190, 1190, 0},
    };
    for (const auto& c : cases) {
        ResetTestHome();
        std::filesystem::create_directories(TestSettingsFolder());
        std::string file = ExpectedDefaultFile(302);
        for (int side = 0; side < 4; ++side)
            Put32(file, static_cast<size_t>(kPlotSettingsOffset) + offsetof(PlotSettings, rSheetMargin) + 4 * side,
                  c.margin);
        WriteBytes(TestSettingsFile(), file);
        std::free(g->pPageSetup);
        g->pPageSetup = LoadPageSetup();
        ASSERT_NE(g->pPageSetup, nullptr);
        EXPECT_EQ(g->pPageSetup->rPaper.top, c.top) << c.margin;
        EXPECT_EQ(g->pPageSetup->rPaper.bottom, c.bottom) << c.margin;
        EXPECT_EQ(g->pPageSetup->rPage.bottom, 1190) << c.margin;
    }
}

}  // namespace
