// The program's steps in this process: the property dialog with its five tabs and pages,
// answered by the UI robot; what OK, Cancel and the close box leave in the settings file and
// the registry; a save that cannot reach the file; the display unit shared by the pages.
#include "config/additional_page.h"
#include "config/config_program.h"
#include "config/config_resources.h"
#include "config/message_box.h"
#include "config/numbers_and_units.h"
#include "config/page_record.h"
#include "config/paper_list_page.h"
#include "config/paper_page.h"
#include "config/plotter_page.h"
#include "config/property_dialog.h"
#include "config/settings_store.h"
#include "config/tool_page.h"
#include "config/tests/config_test_support.h"
#include "config/tests/page_dialog_fixture.h"
#include "plugin/settings/settings_program.h"

#include "platform/ui/dialog_window.h"
#include "platform/ui/ui_robot.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>
#include <QTabBar>
#include <QToolButton>
#include <QWidget>

#include <cstdlib>
#include <filesystem>
#include <functional>

namespace {

// What a hook saw of the running dialog.
struct Seen {
    int templateId = 0;
    int x = 0, y = 0, width = 0, height = 0;  // the window with its frame
    QSize client;
    int pageIds[kConfigPageCount] = {};
    bool pageVisible[kConfigPageCount] = {};
    QRect pageGeometry[kConfigPageCount];
    QRect display;
    int16_t units[kConfigPageCount] = {};
};

class PropertyDialogTest : public PageDialogTest {
protected:
    void SetUp() override
    {
        PageDialogTest::SetUp();
        RegisterUiRobotHook("look", Look, &seen_);
    }

    static void Look(void* user)
    {
        auto* seen = static_cast<Seen*>(user);
        DialogWindow* dialog = PropertyDialog();
        ASSERT_NE(dialog, nullptr);
        seen->templateId = GetDialogTemplateId(dialog);
        GetDialogWindowRect(dialog, &seen->x, &seen->y, &seen->width, &seen->height);
        seen->client = GetDialogWidget(dialog)->size();
        int x = 0, y = 0, w = 0, h = 0;
        GetTabDisplayRect(dialog, kPropertyTabControl, &x, &y, &w, &h);
        seen->display = QRect(x, y, w, h);
        for (int i = 0; i < kConfigPageCount; ++i) {
            DialogWindow* page = PageWindow(i);
            ASSERT_NE(page, nullptr) << i;
            EXPECT_EQ(GetParentDialog(page), dialog);
            seen->pageIds[i] = GetDialogTemplateId(page);
            seen->pageVisible[i] = IsChildPageVisible(page);
            seen->pageGeometry[i] = GetDialogWidget(page)->geometry();
            seen->units[i] = PageUnit(i);
        }
    }

    Seen seen_;
};

const UiShownDialog* Shown(int id)
{
    static std::vector<UiShownDialog> shown;
    shown = UiRobotShownDialogs();
    for (const UiShownDialog& d : shown)
        if (d.dialogId == id)
            return &d;
    return nullptr;
}

const UiControlState* Control(const UiShownDialog& dialog, int id)
{
    for (const UiControlState& c : dialog.controls)
        if (c.id == id)
            return &c;
    return nullptr;
}

TEST_F(PropertyDialogTest, FiveTabsOverFivePagesInTheirOrderCentredAtTheDialogsSize)
{
    RunProgram("hook look; press 2");
    EXPECT_EQ(seen_.templateId, 109);
    int width = 0, height = 0;
    DialogUnitsToPixels(kConfigFontName, 9, 263, 295, &width, &height);
    EXPECT_EQ(seen_.client, QSize(width, height));
    // centred: the window's middle at the desktop's middle, within the halving
    int desktopWidth = 0, desktopHeight = 0;
    GetDesktopSize(&desktopWidth, &desktopHeight);
    EXPECT_NEAR(seen_.x + seen_.width / 2, desktopWidth / 2, 2);
    EXPECT_NEAR(seen_.y + seen_.height / 2, desktopHeight / 2, 2);

    const int ids[kConfigPageCount] = {110, 111, 114, 112, 113};
    for (int i = 0; i < kConfigPageCount; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(seen_.pageIds[i], ids[i]);
        EXPECT_EQ(seen_.pageVisible[i], i == 0);
        EXPECT_EQ(seen_.pageGeometry[i], seen_.display);
    }

    const UiShownDialog* shown = Shown(109);
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->title, "TRAVEX-Pro(HP-GL)のプロパティ");
    const UiControlState* tabs = Control(*shown, 1082);
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(tabs->items, (std::vector<std::string>{"用紙サイズ", "プロッタ環境設定", "プロッタ追加設定",
                               "ツール環境設定", "用紙設定"}));
    EXPECT_EQ(tabs->selection, 0);
    EXPECT_EQ(Control(*shown, 1)->text, "OK");
    EXPECT_EQ(Control(*shown, 2)->text, "ｷｬﾝｾﾙ");
    EXPECT_EQ(RetVal(), 2);
}

// The five labels are long for the strip: padded as the system pads them (6 pixels on
// either side) they all stand whole in it, with no scroll arrows.
TEST_F(PropertyDialogTest, AllFiveTabLabelsStandWholeInTheStripWithoutScrollArrows)
{
    struct Tab {
        std::string text;
        QRect rect;
        int textWidth = 0;
    };
    std::vector<Tab> tabs;
    QRect strip;
    int arrowsShown = -1;
    std::string folder = MakeTestFolder("tab_strip");
    action_ = [&] {
        QWidget* dialog = GetDialogWidget(PropertyDialog());
        QTabBar* bar = TabBarOf(dialog->findChild<QWidget*>("1082"));
        ASSERT_NE(bar, nullptr);
        strip = QRect(QPoint(0, 0), bar->size());
        for (int i = 0; i < bar->count(); ++i)
            tabs.push_back({bar->tabText(i).toStdString(), bar->tabRect(i),
                            bar->fontMetrics().horizontalAdvance(bar->tabText(i))});
        arrowsShown = 0;
        for (QToolButton* arrow : bar->findChildren<QToolButton*>())
            arrowsShown += arrow->isVisible() ? 1 : 0;
        QImage image = dialog->grab().toImage();
        EXPECT_TRUE(image.save(QString::fromStdString(folder + "/tab_strip.png"), "PNG"));
        if (const char* dir = std::getenv("TRAVEX_SCREENSHOT_DIR"))
            image.save(QString::fromStdString(std::string(dir) + "/tab_strip.png"), "PNG");
    };
    RunProgram("hook run; press 2");
    ASSERT_EQ(tabs.size(), 5u);
    EXPECT_EQ(arrowsShown, 0);
    for (const Tab& tab : tabs) {
        SCOPED_TRACE(tab.text);
        EXPECT_TRUE(strip.contains(tab.rect)) << tab.rect.x() << "+" << tab.rect.width() << " in " << strip.width();
        EXPECT_GE(tab.rect.width(), tab.textWidth + 2 * 6);
    }
}

TEST_F(PropertyDialogTest, EachPageHasItsTemplatesSizeBeforeItIsPlaced)
{
    for (DialogTemplate (*make)() : {PaperPageTemplate, PlotterPageTemplate, ExtraPageTemplate,
             ToolPageTemplate, PaperListPageTemplate}) {
        DialogTemplate tpl = make();
        int width = 0, height = 0;
        DialogUnitsToPixels("ＭＳ Ｐゴシック", 10, 251, 241, &width, &height);
        EXPECT_EQ(tpl.width, width) << tpl.id;
        EXPECT_EQ(tpl.height, height) << tpl.id;
        EXPECT_EQ(tpl.fontPointSize, 10);
    }
}

TEST_F(PropertyDialogTest, ATabShowsItsPageOnly)
{
    struct Case {
        int tab;
        int visible;
    };
    for (Case c : {Case{3, 3}, Case{1, 1}, Case{4, 4}, Case{2, 2}, Case{0, 0}}) {
        SCOPED_TRACE(c.tab);
        ResetUiRobot();
        RunProgram("tab 1082 " + std::to_string(c.tab) + "; hook look; press 2");
        for (int i = 0; i < kConfigPageCount; ++i)
            EXPECT_EQ(seen_.pageVisible[i], i == c.visible) << i;
    }
}

TEST_F(PropertyDialogTest, OkWritesTheSettingsAtTheirOffsetsThePageRecordAndRetVal1)
{
    WriteBytes(TestSettingsFile(), SeededSettingsFile(2));
    SeedRegistry();
    // vector sort and roll margins top 1, left 2, right 3, bottom 4 mm typed in pixels on
    // the plotter environment page; a tool slot on the tool page
    action_ = [] {};
    RunProgram("hook run; tab 1082 1; radio 212; type 206 2.83; type 207 5.67; type 209 8.50; "
               "type 208 11.34; tab 1082 3; choose 331 10; press 1");

    std::string expected = SeededSettingsFile(2);
    Put16(expected, 2 + 36, 2);
    for (int i = 0; i < 4; ++i)
        Put32(expected, 2 + 20 + 4 * i, i + 1);
    Put16(expected, 2 + 56 + 12 * 9, 11);
    Put32(expected, 2 + 364, 0x1E0200);   // a stored 0 of pen-down joining is saved as its meaning
    EXPECT_EQ(FirstDifference(ReadBytes(TestSettingsFile()), expected), "equal");

    std::map<std::string, int32_t> v = ConfigValues();
    EXPECT_EQ(v["RetVal"], 1);
    EXPECT_EQ(v["Orientation"], 1);
    EXPECT_EQ(v["rPage.left"], 0);
    EXPECT_EQ(v["rPage.top"], 0);
    EXPECT_EQ(v["rPage.right"], 1140);
    EXPECT_EQ(v["rPage.bottom"], 791);
    EXPECT_EQ(v["rPaper.left"], -10);
    EXPECT_EQ(v["rPaper.top"], -20);
    EXPECT_EQ(v["rPaper.right"], 1180);
    EXPECT_EQ(v["rPaper.bottom"], 821);
    EXPECT_EQ(v["iLstPage"], 2);
}

TEST_F(PropertyDialogTest, CancelAndTheCloseBoxLeaveFileAndRegistryByteForByte)
{
    struct Case {
        const char* steps;
        int32_t retVal;
    };
    for (Case c : {Case{"hook run; press 2", 2}, Case{"hook run; close", 0}}) {
        SCOPED_TRACE(c.steps);
        StartCase(7);
        SeedRegistry();
        std::string store = RegistryStoreBytes();
        action_ = [] {
            gPlotSettings.wSortMode = 0;
            gPaperList.wCount = 3;
            gPageSetup.Orientation = 0;
        };
        RunProgram(c.steps);
        EXPECT_EQ(FirstDifference(ReadBytes(TestSettingsFile()), SeededSettingsFile(7)), "equal");
        EXPECT_EQ(RegistryStoreBytes(), WithRetVal(store, c.retVal));
    }
}

TEST_F(PropertyDialogTest, ASaveIntoAVanishedFileTellsTheUserAndIsNotAnsweredWithOk)
{
    WriteBytes(TestSettingsFile(), SeededSettingsFile(1));
    SeedRegistry();
    std::map<std::string, int32_t> before = ConfigValues();
    action_ = [] { std::filesystem::remove(TestSettingsFile()); };
    RunProgram("hook run; press 1; wait 120; press 1");

    const UiShownDialog* message = Shown(kMessageBoxTemplate);
    ASSERT_NE(message, nullptr);
    const UiControlState* text = Control(*message, kMessageBoxText);
    ASSERT_NE(text, nullptr);
    EXPECT_NE(text->text.find(TestSettingsFile()), std::string::npos) << text->text;
    EXPECT_NE(text->text.find("No such file or directory"), std::string::npos) << text->text;

    EXPECT_FALSE(FileExists(TestSettingsFile()));
    std::map<std::string, int32_t> after = ConfigValues();
    EXPECT_EQ(after["RetVal"], kPropertyNotSaved);
    after["RetVal"] = 99;
    EXPECT_EQ(after, before);   // the page record was not written either
}

TEST_F(PropertyDialogTest, APageRecordThatCannotBeWrittenIsNotAnsweredWithOk)
{
    WriteBytes(TestSettingsFile(), SeededSettingsFile(1));
    // a registry store that cannot be written: a file stands where its folder goes
    std::filesystem::path folder = std::filesystem::path(RegistryStorePath()).parent_path();
    std::filesystem::remove_all(folder);
    WriteBytes(folder.string(), "not a folder");
    RunProgram("press 1; wait 120; press 1");
    const UiShownDialog* message = Shown(kMessageBoxTemplate);
    ASSERT_NE(message, nullptr);
    EXPECT_NE(Control(*message, kMessageBoxText)->text.find(RegistryStorePath()), std::string::npos);
    std::string expected = SeededSettingsFile(1);
    Put32(expected, 2 + 364, 0x1E0200);   // pen-down joining: a stored 0 is saved as its meaning
    EXPECT_EQ(FirstDifference(ReadBytes(TestSettingsFile()), expected), "equal");
    EXPECT_EQ(ReadBytes(folder.string()), "not a folder");
}

TEST_F(PropertyDialogTest, SyncUnitSelectionBringsEveryOtherPageToTheUnit)
{
    WriteBytes(TestSettingsFile(), SeededSettingsFile(0));
    std::vector<std::vector<int16_t>> units;
    int16_t storedAfterFirst = -1;
    action_ = [&] {
        auto record = [&] {
            std::vector<int16_t> now;
            for (int i = 0; i < kConfigPageCount; ++i)
                now.push_back(PageUnit(i));
            units.push_back(now);
        };
        record();
        SyncUnitSelection(kPaperPage, kUnitPixel);
        storedAfterFirst = gPaperList.wUnit;
        record();
        SyncUnitSelection(kPlotterPage, kUnitMillimetre);
        record();
    };
    RunProgram("hook run; press 2");
    ASSERT_EQ(units.size(), 3u);
    // tool page (3) shows no lengths and keeps whatever it had
    EXPECT_EQ(units[0], (std::vector<int16_t>{0, 0, 0, units[0][3], 0}));
    EXPECT_EQ(units[1], (std::vector<int16_t>{0, 2, 2, units[0][3], 2}));
    EXPECT_EQ(units[2], (std::vector<int16_t>{1, 2, 1, units[0][3], 1}));
    EXPECT_EQ(storedAfterFirst, kUnitPixel);
    EXPECT_EQ(gPaperList.wUnit, kUnitMillimetre);
    // Cancel: the unit reached memory only
    EXPECT_EQ(Get16(ReadBytes(TestSettingsFile()), 1538 + 6934), 0);
    // once the dialog has gone there are no pages to bring along
    for (int i = 0; i < kConfigPageCount; ++i)
        EXPECT_EQ(PageWindow(i), nullptr);
    SyncUnitSelection(kPaperPage, kUnitInch);
    EXPECT_EQ(gPaperList.wUnit, kUnitInch);
}

TEST_F(PropertyDialogTest, AStoredUnitOutside0To2IsMillimetresOnEveryPageAndSavedSo)
{
    WriteBytes(TestSettingsFile(), SeededSettingsFile(9));
    SeedRegistry();
    RunProgram("hook look; press 1");
    for (int i : {kPaperPage, kPlotterPage, kExtraPage, kPaperListPage})
        EXPECT_EQ(seen_.units[i], kUnitMillimetre) << i;
    std::string expected = SeededSettingsFile(1);
    Put32(expected, 2 + 364, 0x1E0200);   // pen-down joining: a stored 0 is saved as its meaning
    EXPECT_EQ(FirstDifference(ReadBytes(TestSettingsFile()), expected), "equal");
    EXPECT_EQ(RetVal(), 1);
}

TEST_F(PropertyDialogTest, WithoutASettingsFileTheProgramCreatesIt)
{
    RunProgram("press 2");
    EXPECT_EQ(FirstDifference(ReadBytes(TestSettingsFile()), ExpectedDefaultFile(301)), "equal");
    EXPECT_EQ(RetVal(), 2);
}

TEST_F(PropertyDialogTest, ScreenshotShowsTheDialogWithItsTabs)
{
    std::string folder = MakeTestFolder("screenshot");
    std::vector<QImage> images;
    action_ = [&] {
        QWidget* widget = GetDialogWidget(PropertyDialog());
        QImage image = widget->grab().toImage();
        std::string name = "/property_dialog_" + std::to_string(images.size() + 1) + ".png";
        EXPECT_TRUE(image.save(QString::fromStdString(folder + name), "PNG"));
        if (const char* dir = std::getenv("TRAVEX_SCREENSHOT_DIR"))
            image.save(QString::fromStdString(dir + name), "PNG");
        images.push_back(image);
    };
    // the first tab as the dialog opens, then the last one chosen
    RunProgram("hook run; tab 1082 4; hook run; press 2");
    ASSERT_EQ(images.size(), 2u);
    int width = 0, height = 0;
    DialogUnitsToPixels(kConfigFontName, 9, 263, 295, &width, &height);
    for (size_t i = 0; i < images.size(); ++i) {
        SCOPED_TRACE(i);
        const QImage& image = images[i];
        EXPECT_EQ(image.size(), QSize(width, height));
        QImage saved(QString::fromStdString(folder + "/property_dialog_" + std::to_string(i + 1) + ".png"));
        EXPECT_EQ(saved.size(), image.size());
    }
    // the tab strip is drawn, and choosing another tab changes it
    EXPECT_NE(images[0].copy(0, 0, width, height / 10), images[1].copy(0, 0, width, height / 10));
}

} // namespace
