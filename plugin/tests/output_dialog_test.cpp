// The output dialog run by the real host's access to the loaded plug-in, answered by the UI
// robot: per-layer output and tool choices, the file check box, scrolling, both languages.
#include "plugin/output/output_dialog.h"

#include "host/suites/access_suite.h"
#include "platform/ui/dialog_runner.h"
#include "plugin/output/layer_table.h"
#include "plugin/entry/plugin_globals.h"
#include "host/session/plugin_loader.h"
#include "plugin/entry/plugin_resources.h"
#include "plugin/entry/suite_table.h"
#include "tests/support/temp_home.h"
#include "platform/ui/ui_robot.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QWidget>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

ToolSlot Slot(int16_t type, int16_t thickness, int16_t red, int16_t green, int16_t blue, int16_t colour)
{
    return ToolSlot{type, thickness, red, green, blue, colour};
}

// The shipped default slots: 1-4 water ball pens in red, green, blue, black; 5 and 6
// plastic pens 0.5 and 0.3 mm; 8 a pen cutter.
void DefaultSlots(PlotSettings* settings)
{
    std::memset(settings->aToolSlot, 0, sizeof settings->aToolSlot);
    settings->aToolSlot[0] = Slot(3, 0, 10000, 0, 0, 1);
    settings->aToolSlot[1] = Slot(3, 0, 0, 10000, 0, 1);
    settings->aToolSlot[2] = Slot(3, 0, 0, 0, 10000, 1);
    settings->aToolSlot[3] = Slot(3, 0, 0, 0, 0, 1);
    settings->aToolSlot[4] = Slot(5, 50, 0, 0, 0, 0);
    settings->aToolSlot[5] = Slot(5, 30, 0, 0, 0, 0);
    settings->aToolSlot[7] = Slot(9, 0, 0, 0, 0, 0);
}

class OutputDialogTest : public testing::Test {
protected:
    void SetUp() override
    {
        ResetTestHome();
        ResetUiRobot();
        ASSERT_TRUE(EnsureQtApplication());
        std::string error;
        ASSERT_TRUE(host::LoadPlugin(TRAVEX_BINARY_DIR "/bin/TRAVEX-Pro.aip", "", plugin_, error)) << error;
        sSPAccess = host::HostAccessSuite();
        globals_ = static_cast<PluginGlobals*>(std::calloc(1, sizeof(PluginGlobals)));
        g = globals_;
        g->iLanguage = 1;
        g->pPlotSettings = static_cast<PlotSettings*>(std::calloc(1, sizeof(PlotSettings)));
        g->pLayerTable = static_cast<LayerTable*>(std::calloc(1, sizeof(LayerTable)));
        DefaultSlots(g->pPlotSettings);
    }
    void TearDown() override
    {
        std::free(g->pPlotSettings);
        std::free(g->pLayerTable);
        std::free(globals_);
        g = nullptr;
        ResetUiRobot();
    }

    void AddLayers(int count, int16_t tool)
    {
        for (int i = 1; i <= count; ++i)
            AddLayerRow(1, ("Layer " + std::to_string(i)).c_str(), tool);
    }

    // Runs the dialog with the robot's steps; every step must have been carried out.
    int Run(const std::string& steps)
    {
        EXPECT_TRUE(SetUiRobotScript(steps));
        int result = RunOutputDialog(host::ToPluginRef(&plugin_));
        EXPECT_EQ(FinishUiRobot(), 0);
        return result;
    }

    LayerRow Row(int n) { return g->pLayerTable->aRow[n]; }

    host::LoadedPlugin plugin_;
    PluginGlobals* globals_ = nullptr;
};

const UiControlState* Control(const std::vector<UiControlState>& controls, int id)
{
    for (const UiControlState& c : controls)
        if (c.id == id)
            return &c;
    return nullptr;
}

// The controls as the robot saw them before step `step` (0-based).
std::vector<UiControlState> Before(size_t step)
{
    std::vector<UiRobotStepRecord> records = UiRobotStepRecords();
    return step < records.size() ? records[step].controls : std::vector<UiControlState>();
}

TEST_F(OutputDialogTest, ToolLinesNameTypeThicknessAndColour)
{
    struct Case {
        int16_t language;
        ToolSlot slot;
        const char* line;  // of slot 3
    };
    const Case cases[] = {
        {1, Slot(3, 0, 10000, 0, 0, 1), "No3:Water Ball Pen(Red)"},
        {0, Slot(3, 0, 10000, 0, 0, 1), "No3:水性ボールペン(レッド)"},
        {1, Slot(5, 50, 0, 0, 0, 0), "No3:Plastic Pen 0.5mm"},
        {1, Slot(6, 100, 0, 0, 0, 0), "No3:Drawing Pen 1mm"},
        {1, Slot(1, 0, 10000, 10000, 10000, 1), "No3:Knock Pencil(White)"},
        {0, Slot(1, 0, 10000, 10000, 10000, 1), "No3:ノック式ペンシル(ホワイト)"},
        {1, Slot(2, 25, 5000, 0, 10000, 1), "No3:Oily Ball Pen 0.25mm(8000FF)"},
        {1, Slot(4, 0, 9999, 1, 0, 1), "No3:Ceramics Pen(FF0000)"},
        {1, Slot(6, 0, 0, 10000, 10000, 0), "No3:Drawing Pen"},       // colour flag off
        {1, Slot(10, 0, 10000, 0, 0, 1), "No3:Single-Edged Cutter"},  // cutters have no colour
        {1, Slot(8, 0, 0, 0, 0, 1), "No3:Needle (CF-70)"},
        {0, Slot(11, 0, 0, 0, 0, 0), "No3:両刃カッター"},
        {1, Slot(0, 50, 0, 0, 0, 0), ""},   // empty slot
        {1, Slot(12, 0, 0, 0, 0, 0), ""},   // beyond the tool types
    };
    for (const Case& c : cases) {
        g->pPlotSettings->aToolSlot[2] = c.slot;
        EXPECT_EQ(ToolSlotLine(PluginResources(), c.language, 3), c.line) << c.line;
    }
}

TEST_F(OutputDialogTest, ComboIndicesStandForListedSlotsInSlotOrder)
{
    std::memset(g->pPlotSettings->aToolSlot, 0, sizeof g->pPlotSettings->aToolSlot);
    g->pPlotSettings->aToolSlot[0] = Slot(3, 0, 0, 0, 0, 0);
    g->pPlotSettings->aToolSlot[1] = Slot(7, 0, 0, 0, 0, 0);
    g->pPlotSettings->aToolSlot[2] = Slot(12, 0, 0, 0, 0, 0);
    g->pPlotSettings->aToolSlot[3] = Slot(11, 0, 0, 0, 0, 0);
    struct Case {
        int index, number;
    };
    for (Case c : {Case{0, 1}, Case{1, 2}, Case{2, 4}, Case{3, 0}, Case{-1, 0}})
        EXPECT_EQ(MapComboIndexToToolNumber(c.index), c.number) << c.index;
    for (Case c : {Case{0, 1}, Case{1, 2}, Case{0, 3}, Case{2, 4}, Case{0, 5}, Case{0, 0}, Case{0, 11}})
        EXPECT_EQ(MapToolNumberToComboIndex(c.number), c.index) << c.number;
    std::free(g->pPlotSettings);
    g->pPlotSettings = nullptr;
    EXPECT_EQ(MapComboIndexToToolNumber(0), 0);
    EXPECT_EQ(MapToolNumberToComboIndex(4), 0);
}

TEST_F(OutputDialogTest, OutputPlotterKeepsTheUsersChoices)
{
    AddLayerRow(1, "Outline", 1);
    AddLayerRow(0, "Cut line", 8);
    AddLayerRow(1, "Text", 5);
    // combo index 5 of the listed slots 1-6 and 8 is slot 6; index 6 is slot 8
    EXPECT_EQ(Run("untick 5; tick 9; choose 11 5; choose 7 6; tick 42; press 1"), kDialogOk);
    EXPECT_EQ(Row(0).fOutput, 0);
    EXPECT_EQ(Row(0).wTool, 8);
    EXPECT_EQ(Row(1).fOutput, 1);
    EXPECT_EQ(Row(1).wTool, 6);
    EXPECT_EQ(Row(2).fOutput, 1);
    EXPECT_EQ(Row(2).wTool, 5);
    EXPECT_STREQ(Row(1).szName, "Cut line");
    EXPECT_EQ(g->fTextOut, 1);

    // as first shown: the rows from the table, the tool lines in every combo
    ASSERT_EQ(UiRobotShownDialogs().size(), 1u);
    const UiShownDialog shown = UiRobotShownDialogs()[0];
    EXPECT_EQ(shown.dialogId, kOutputDialogTemplate);
    EXPECT_EQ(shown.title, "TRAVEX-Pro");
    const std::vector<std::string> lines = {"No1:Water Ball Pen(Red)", "No2:Water Ball Pen(Green)",
                                            "No3:Water Ball Pen(Blue)", "No4:Water Ball Pen(Black)",
                                            "No5:Plastic Pen 0.5mm",    "No6:Plastic Pen 0.3mm",
                                            "No8:Pen Cutter"};
    struct Expected {
        int row;
        int checked;
        const char* name;
        int selection;
    };
    for (Expected e : {Expected{0, 1, "Outline", 0}, Expected{1, 0, "Cut line", 6}, Expected{2, 1, "Text", 4}}) {
        const UiControlState* check = Control(shown.controls, 5 + 4 * e.row);
        const UiControlState* name = Control(shown.controls, 6 + 4 * e.row);
        const UiControlState* combo = Control(shown.controls, 7 + 4 * e.row);
        ASSERT_TRUE(check && name && combo);
        EXPECT_EQ(check->checked, e.checked) << e.row;
        EXPECT_EQ(name->text, e.name);
        EXPECT_EQ(combo->selection, e.selection) << e.row;
        EXPECT_EQ(combo->items, lines);
        EXPECT_TRUE(combo->enabled && combo->visible && check->visible && name->visible);
    }
    for (int row = 3; row < kOutputRowCount; ++row) {
        EXPECT_FALSE(Control(shown.controls, 5 + 4 * row)->visible) << row;
        EXPECT_FALSE(Control(shown.controls, 7 + 4 * row)->visible) << row;
    }
    EXPECT_EQ(Control(shown.controls, 42)->checked, 0);
}

TEST_F(OutputDialogTest, CancelLeavesTableAndFileChoiceAlone)
{
    AddLayerRow(1, "Outline", 1);
    g->fTextOut = 1;
    EXPECT_EQ(Run("untick 5; choose 7 4; untick 42; press 2"), kDialogCancel);
    EXPECT_EQ(Row(0).fOutput, 1);
    EXPECT_EQ(Row(0).wTool, 1);
    EXPECT_EQ(g->fTextOut, 1);
    EXPECT_EQ(Control(UiRobotShownDialogs()[0].controls, 42)->checked, 1);

    ResetUiRobot();
    EXPECT_EQ(Run("untick 5; close"), kDialogCancel);
    EXPECT_EQ(Row(0).fOutput, 1);

    // the file choice is cleared by "Output Plotter" as well
    ResetUiRobot();
    EXPECT_EQ(Run("untick 42; press 1"), kDialogOk);
    EXPECT_EQ(g->fTextOut, 0);
}

TEST_F(OutputDialogTest, ManyLayersScrollUnderNineRows)
{
    AddLayers(40, 2);
    const char* steps =
        "scroll 4 down; scroll 4 pagedown; untick 9; scroll 4 bottom; choose 7 4; scroll 4 17; scroll 4 top; "
        "scroll 4 up; scroll 4 pageup; press 1";
    EXPECT_EQ(Run(steps), kDialogOk);
    struct Seen {
        size_t step;  // state before this step
        int position;
        const char* firstName;
        int visibleRows;
    };
    const Seen seen[] = {
        {0, 0, "Layer 1", 9}, {1, 1, "Layer 2", 9}, {2, 6, "Layer 7", 9}, {4, 39, "Layer 40", 1},
        {6, 17, "Layer 18", 9}, {7, 0, "Layer 1", 9}, {8, 0, "Layer 1", 9}, {9, 0, "Layer 1", 9},
    };
    for (const Seen& s : seen) {
        std::vector<UiControlState> controls = Before(s.step);
        ASSERT_FALSE(controls.empty()) << s.step;
        EXPECT_EQ(Control(controls, kOutputScrollBar)->selection, s.position) << s.step;
        EXPECT_EQ(Control(controls, 6)->text, s.firstName) << s.step;
        int visible = 0;
        for (int row = 0; row < kOutputRowCount; ++row)
            visible += Control(controls, 5 + 4 * row)->visible ? 1 : 0;
        EXPECT_EQ(visible, s.visibleRows) << s.step;
    }
    // the row under the unticked box at position 6 is entry 7; the last entry got slot 5
    for (int n = 0; n < 40; ++n) {
        EXPECT_EQ(Row(n).fOutput, n == 7 ? 0 : 1) << n;
        EXPECT_EQ(Row(n).wTool, n == 39 ? 5 : 2) << n;
    }
    // and entry 7 shows unticked when it comes back into view
    EXPECT_EQ(Control(Before(2), 9)->checked, 1);
    EXPECT_EQ(Control(Before(3), 9)->checked, 0);
}

TEST_F(OutputDialogTest, JapaneseTexts)
{
    g->iLanguage = 0;
    AddLayerRow(1, "レイヤー 1", 5);
    EXPECT_EQ(Run("press 1"), kDialogOk);
    const std::vector<UiControlState> controls = UiRobotShownDialogs()[0].controls;
    EXPECT_EQ(Control(controls, 1)->text, "プロットアウト");
    EXPECT_EQ(Control(controls, 2)->text, "キャンセル");
    EXPECT_EQ(Control(controls, 42)->text, "ファイル出力(&F)");
    EXPECT_EQ(Control(controls, 6)->text, "レイヤー 1");
    const UiControlState* combo = Control(controls, 7);
    ASSERT_EQ(combo->items.size(), 7u);
    EXPECT_EQ(combo->items[0], "No1:水性ボールペン(レッド)");
    EXPECT_EQ(combo->items[3], "No4:水性ボールペン(ブラック)");
    EXPECT_EQ(combo->items[4], "No5:プラスチックペン 0.5mm");
    EXPECT_EQ(combo->items[6], "No8:ペン型カッター");
    EXPECT_EQ(combo->text, "No5:プラスチックペン 0.5mm");
}

TEST_F(OutputDialogTest, EnglishButtonTexts)
{
    AddLayerRow(1, "A", 1);
    EXPECT_EQ(Run("press 1"), kDialogOk);
    const std::vector<UiControlState> controls = UiRobotShownDialogs()[0].controls;
    EXPECT_EQ(Control(controls, 1)->text, "Output Plotter");
    EXPECT_EQ(Control(controls, 2)->text, "Cancel");
    EXPECT_EQ(Control(controls, 42)->text, "Output to file");
}

TEST_F(OutputDialogTest, NoLayersShowsNoRowsAndStillOutputs)
{
    EXPECT_EQ(Run("scroll 4 down; press 1"), kDialogOk);
    for (size_t step : {0u, 1u}) {
        std::vector<UiControlState> controls = Before(step);
        EXPECT_EQ(Control(controls, kOutputScrollBar)->selection, 0);
        for (int row = 0; row < kOutputRowCount; ++row)
            EXPECT_FALSE(Control(controls, 5 + 4 * row)->visible) << row;
    }
}

TEST_F(OutputDialogTest, NoListedSlotsLeavesCombosEmptyAndDisabled)
{
    std::memset(g->pPlotSettings->aToolSlot, 0, sizeof g->pPlotSettings->aToolSlot);
    g->pPlotSettings->aToolSlot[0] = Slot(12, 0, 0, 0, 0, 0);
    AddLayerRow(0, "Only", 3);
    EXPECT_EQ(Run("tick 5; press 1"), kDialogOk);
    EXPECT_EQ(Row(0).fOutput, 1);
    EXPECT_EQ(Row(0).wTool, 3);
    const std::vector<UiControlState> controls = UiRobotShownDialogs()[0].controls;
    const UiControlState* combo = Control(controls, 7);
    EXPECT_TRUE(combo->items.empty());
    EXPECT_FALSE(combo->enabled);
}

TEST_F(OutputDialogTest, LayerOnAnEmptySlotKeepsItUntilItsComboIsUsed)
{
    AddLayerRow(1, "Keeps", 7);  // slot 7 is empty
    AddLayerRow(1, "Changes", 9);
    EXPECT_EQ(Run("choose 11 0; press 1"), kDialogOk);
    EXPECT_EQ(Control(UiRobotShownDialogs()[0].controls, 7)->selection, 0);
    EXPECT_EQ(Row(0).wTool, 7);
    EXPECT_EQ(Row(1).wTool, 1);
}

// The open dialog as drawn, and where its banner control lies in the picture.
struct DialogPicture {
    QImage image;
    QRect banner;
};

void TakeDialogPicture(void* user)
{
    auto* picture = static_cast<DialogPicture*>(user);
    QWidget* dialog = QApplication::activeModalWidget();
    if (dialog == nullptr)
        return;
    picture->image = dialog->grab().toImage();
    if (QWidget* banner = dialog->findChild<QWidget*>(QStringLiteral("3")))
        picture->banner = QRect(banner->mapTo(dialog, QPoint(0, 0)), banner->size());
}

int CountColour(const QImage& image, const QRect& part, QRgb rgb)
{
    int count = 0;
    for (int y = part.top(); y <= part.bottom(); ++y)
        for (int x = part.left(); x <= part.right(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) == (rgb & 0xFFFFFF))
                ++count;
    return count;
}

// The banner above the rows, in both languages; the pictures are kept in the test's folder
// and, when TRAVEX_SCREENSHOT_DIR names a folder, there too.
TEST_F(OutputDialogTest, TheBannerCrownsTheDialogInBothLanguages)
{
    const QImage banner(":/travex-pro/output_banner.png");
    ASSERT_EQ(banner.size(), QSize(474, 17));
    EXPECT_LE(banner.colorCount(), 16) << "a 16-colour bitmap";
    struct Case {
        int16_t language;
        const char* name;
        std::vector<std::string> layers;
    } cases[] = {
        {0, "output-dialog-ja", {"輪郭線", "カットライン", "文字", "トンボ"}},
        {1, "output-dialog-en", {"Outline", "Cut line", "Text", "Crop marks"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::memset(g->pLayerTable, 0, sizeof(LayerTable));
        g->iLanguage = c.language;
        int16_t tool = 1;
        for (const std::string& layer : c.layers) {
            AddLayerRow(tool != 2 ? 1 : 0, layer.c_str(), tool);
            ++tool;
        }
        ResetUiRobot();
        DialogPicture picture;
        RegisterUiRobotHook("picture", TakeDialogPicture, &picture);
        EXPECT_EQ(Run("pick 11 No6:; hook picture; press 2"), kDialogCancel);
        ASSERT_FALSE(picture.image.isNull());
        const std::string file = MakeTestFolder(c.name) + "/" + c.name + ".png";
        EXPECT_TRUE(picture.image.save(QString::fromStdString(file), "PNG"));
        if (const char* dir = std::getenv("TRAVEX_SCREENSHOT_DIR"))
            picture.image.save(QString::fromStdString(std::string(dir) + "/" + c.name + ".png"), "PNG");
        // the banner's control at its place, showing the bitmap's colours
        ASSERT_EQ(picture.banner.size(), QSize(474, 17));
        const QRgb navy = banner.pixel(2, 2);
        EXPECT_GT(CountColour(picture.image, picture.banner, navy), 474 * 17 / 8);
        EXPECT_GT(CountColour(picture.image, picture.banner, qRgb(255, 255, 255)), 40) << "the name in white";
    }
    RegisterUiRobotHook("picture", nullptr, nullptr);
}

TEST_F(OutputDialogTest, PluginWithoutModuleGetsNoDialog)
{
    host::LoadedPlugin unloaded;
    EXPECT_LT(RunOutputDialog(host::ToPluginRef(&unloaded)), 0);
    EXPECT_TRUE(UiRobotShownDialogs().empty());
}

}  // namespace
