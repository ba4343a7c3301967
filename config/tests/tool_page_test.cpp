// The tool page in the running program, driven by the UI robot: the ten slots as stored,
// what OK leaves in the slots at their offsets, stored values the lists do not hold, and
// the colour swatches the page draws.
#include "config/settings_store.h"
#include "config/tool_page.h"
#include "config/tests/config_page_test_support.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QPainter>

#include <string>
#include <vector>

namespace {

// Slot i (0 to 9) of the settings record at file offset 2: 12 bytes from record offset 56.
size_t Slot(int i)
{
    return 2 + 56 + 12 * static_cast<size_t>(i);
}

void PutSlot(std::string& file, int i, int16_t type, int16_t thickness, int16_t red, int16_t green,
    int16_t blue, int16_t colour)
{
    Put16(file, Slot(i), type);
    Put16(file, Slot(i) + 2, thickness);
    Put16(file, Slot(i) + 4, red);
    Put16(file, Slot(i) + 6, green);
    Put16(file, Slot(i) + 8, blue);
    Put16(file, Slot(i) + 10, colour);
}

const std::vector<std::string> kTypeTexts = {"ノック式ペンシル", "加圧式油圧ボールペン", "水性ボールペン",
    "セラミックペン", "プラスチックペン", "製図用ペン", "スクライブ", "針 (CF-70)", "ペン型カッター",
    "片刃カッター", "両刃カッター", "未使用"};
const std::vector<std::string> kColourNames = {"ブラック", "レッド", "グリーン", "ブルー", "イエロー",
    "シアン", "マゼンタ", "ホワイト", "なし"};

class ToolPageTest : public ConfigPageTest {};

TEST_F(ToolPageTest, TheDefaultSlotsShowTheirTypeThicknessAndColour)
{
    RunProgram({"tab 1082 3", "press 2"});
    struct Row {
        int type;
        const char* thickness;
        int colour;
    };
    const Row rows[10] = {{2, "0.00", 1}, {2, "0.00", 2}, {2, "0.00", 3}, {2, "0.00", 0}, {4, "0.50", 8},
        {4, "0.30", 8}, {11, "0.00", 8}, {8, "0.00", 8}, {11, "0.00", 8}, {11, "0.00", 8}};
    for (int i = 0; i < 10; ++i) {
        SCOPED_TRACE(i + 1);
        UiControlState type = SeenBefore("press 2", 304 + 3 * i);
        EXPECT_EQ(type.items, kTypeTexts);
        EXPECT_EQ(type.selection, rows[i].type);
        EXPECT_EQ(TextBefore("press 2", 305 + 3 * i), rows[i].thickness);
        UiControlState colour = SeenBefore("press 2", 306 + 3 * i);
        EXPECT_EQ(colour.items, kColourNames);   // the names, for screen readers
        EXPECT_EQ(colour.selection, rows[i].colour);
        EXPECT_EQ(colour.text, kColourNames[static_cast<size_t>(rows[i].colour)]);
    }
    EXPECT_EQ(FirstDifference(ReadBytes(TestSettingsFile()), ExpectedDefaultFile(301)), "equal");
}

TEST_F(ToolPageTest, ChangesReachTheSlotsAtTheirOffsetsOnOkAndNothingOnCancel)
{
    for (const char* end : {"press 1", "press 2"}) {
        SCOPED_TRACE(end);
        StartCase(1);
        SeedRegistry();
        RunProgram({"tab 1082 3", "choose 304 0", "type 305 0.3", "choose 306 4", "choose 307 11",
            "type 308 0.305", "choose 309 8", "choose 331 10", "type 332 1.5", "choose 333 7", end});

        std::string expected = SeededSettingsFile(1);
        if (std::string(end) == "press 1") {
            PutSlot(expected, 0, 1, 30, 10000, 10000, 0, 1);   // knock pencil, 0.3 mm, yellow
            PutSlot(expected, 1, 0, 31, 0, 0, 0, 0);           // unused, 30.5 rounded up, none
            PutSlot(expected, 9, 11, 150, 10000, 10000, 10000, 1);
            Put32(expected, 2 + 364, 0x1E0200);                // the additional page's joining
        }
        EXPECT_EQ(FirstDifference(ReadBytes(TestSettingsFile()), expected), "equal");
    }
}

TEST_F(ToolPageTest, StoredValuesTheListsDoNotHoldShowAndSaveByTheRules)
{
    struct Case {
        int16_t type, red, green, blue, colour;   // stored in slot 1
        int typeShown, colourShown;
        int16_t savedType, savedRed, savedGreen, savedBlue, savedColour;
    };
    const Case cases[] = {
        {12, 0, 0, 0, 1, 11, 0, 0, 0, 0, 0, 1},                     // 12 shows "未使用"
        {13, 0, 0, 0, 1, -1, 0, 0, 0, 0, 0, 1},                     // no type item: saved 0
        {-3, 0, 0, 0, 1, 11, 0, 0, 0, 0, 0, 1},
        {3, 5000, 0, 0, 1, 2, 0, 3, 0, 0, 0, 1},                    // half red is black
        {3, 10000, 10000, 0, 0, 2, 8, 3, 0, 0, 0, 0},               // no colour whatever is stored
        {3, 0, 10000, 10000, 2, 2, 5, 3, 0, 10000, 10000, 1},       // any flag but 0 gives a colour
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.type << " " << c.red << "," << c.green << "," << c.blue
                                          << " flag " << c.colour);
        ResetTestHome();
        ResetUiRobot();
        std::string file = SeededSettingsFile(1);
        PutSlot(file, 0, c.type, 20, c.red, c.green, c.blue, c.colour);
        WriteBytes(TestSettingsFile(), file);
        RunProgram({"tab 1082 3", "press 1"});
        EXPECT_EQ(SeenBefore("press 1", 304).selection, c.typeShown);
        EXPECT_EQ(SeenBefore("press 1", 306).selection, c.colourShown);
        std::string expected = file;
        PutSlot(expected, 0, c.savedType, 20, c.savedRed, c.savedGreen, c.savedBlue, c.savedColour);
        Put32(expected, 2 + 364, 0x1E0200);
        EXPECT_EQ(FirstDifference(ReadBytes(TestSettingsFile()), expected), "equal");
    }
}

// A colour item drawn by the page's procedure into a grey picture of the item's size.
struct DrawnItem {
    QImage image;
    intptr_t answer = 0;
};

constexpr uint32_t kGrey = 0x808080;
constexpr int kItemWidth = 60, kItemHeight = 15;

DrawnItem DrawItem(int controlId, int item, int action)
{
    DrawnItem drawn;
    drawn.image = QImage(kItemWidth, kItemHeight, QImage::Format_RGB32);
    drawn.image.fill(QColor::fromRgb(kGrey));
    QPainter painter(&drawn.image);
    DrawItemInfo info;
    info.controlId = controlId;
    info.itemIndex = item;
    info.itemData = item;
    info.action = action;
    info.right = kItemWidth;
    info.bottom = kItemHeight;
    info.painter = &painter;
    DialogEvent event;
    event.message = kDialogDrawItem;
    event.controlId = controlId;
    event.drawItem = &info;
    drawn.answer = ToolPageProc(nullptr, event, nullptr);
    return drawn;
}

uint32_t Pixel(const QImage& image, int x, int y)
{
    return image.pixel(x, y) & 0xFFFFFF;
}

// The colour of every pixel of ring k (k pixels in from the item's edge).
std::vector<uint32_t> Ring(const QImage& image, int k)
{
    std::vector<uint32_t> ring;
    for (int x = k; x < kItemWidth - k; ++x) {
        ring.push_back(Pixel(image, x, k));
        ring.push_back(Pixel(image, x, kItemHeight - 1 - k));
    }
    for (int y = k; y < kItemHeight - k; ++y) {
        ring.push_back(Pixel(image, k, y));
        ring.push_back(Pixel(image, kItemWidth - 1 - k, y));
    }
    return ring;
}

bool All(const std::vector<uint32_t>& pixels, uint32_t rgb)
{
    for (uint32_t p : pixels)
        if (p != rgb)
            return false;
    return true;
}

TEST_F(ToolPageTest, SwatchesAreFramedFillsAndTheNoneItemIsCrossed)
{
    const uint32_t swatches[9] = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0x00FFFF, 0xFF00FF,
        0xFFFFFF, 0xFFFFFF};
    struct Action {
        int action;
        int firstFill;   // rings before it: the outer ring stays, then frames
    };
    for (Action a : {Action{kDrawEntire, 2}, Action{kDrawSelect, 3}, Action{kDrawFocus, 3}}) {
        for (int item = -1; item < 9; ++item) {
            SCOPED_TRACE(::testing::Message() << "action " << a.action << " item " << item);
            uint32_t swatch = item >= 0 ? swatches[item] : 0xFFFFFF;
            DrawnItem drawn = DrawItem(306 + 3 * (item < 0 ? 0 : item), item, a.action);
            EXPECT_EQ(drawn.answer, 1);
            EXPECT_TRUE(All(Ring(drawn.image, 0), kGrey));
            EXPECT_TRUE(All(Ring(drawn.image, a.firstFill - 1), 0x000000));
            if (a.action == kDrawSelect) {
                EXPECT_TRUE(All(Ring(drawn.image, 1), 0x000000));
            }
            // the fill, away from the diagonal of "なし"
            EXPECT_EQ(Pixel(drawn.image, kItemWidth - a.firstFill - 1, a.firstFill), swatch);
            EXPECT_EQ(Pixel(drawn.image, a.firstFill, kItemHeight - a.firstFill - 1), swatch);
            // the diagonal from the fill's top left corner
            bool crossed = item == 8;
            EXPECT_EQ(Pixel(drawn.image, a.firstFill, a.firstFill), crossed ? 0x000000 : swatch);
        }
    }
    // the focus ring: white with the dotted focus rectangle on it
    DrawnItem focus = DrawItem(306, 1, kDrawFocus);
    std::vector<uint32_t> ring = Ring(focus.image, 1);
    EXPECT_FALSE(All(ring, 0xFFFFFF));
    EXPECT_FALSE(All(ring, 0x000000));

    // other actions draw nothing and are not answered; other controls are not the page's
    for (DrawnItem drawn : {DrawItem(306, 1, 8), DrawItem(304, 1, kDrawEntire), DrawItem(305, 1, kDrawEntire)}) {
        EXPECT_EQ(drawn.answer, 0);
        EXPECT_TRUE(All(Ring(drawn.image, 2), kGrey));
    }

    MeasureItemInfo measure;
    DialogEvent event;
    event.message = kDialogMeasureItem;
    event.controlId = 333;
    event.measureItem = &measure;
    EXPECT_EQ(ToolPageProc(nullptr, event, nullptr), 1);
    EXPECT_EQ(measure.itemWidth, 60);
    EXPECT_EQ(measure.itemHeight, 15);
    MeasureItemInfo other;
    event.controlId = 334;
    event.measureItem = &other;
    EXPECT_EQ(ToolPageProc(nullptr, event, nullptr), 0);
    EXPECT_EQ(other.itemHeight, 0);
}

TEST_F(ToolPageTest, TheOpenColourListShowsTheNineSwatchesWithoutTheirNames)
{
    WriteBytes(TestSettingsFile(), SeededSettingsFile(1));
    QImage picture;
    int rowHeight = 0;
    action_ = [&] {
        auto* combo = qobject_cast<QComboBox*>(GetDialogItem(PageWindow(kToolPage), 306));
        ASSERT_NE(combo, nullptr);
        combo->showPopup();
        QAbstractItemView* view = combo->view();
        rowHeight = view->sizeHintForRow(0);
        picture = view->viewport()->grab().toImage();
        combo->hidePopup();
        if (const char* dir = std::getenv("TRAVEX_SCREENSHOT_DIR"))
            picture.save(QString::fromStdString(std::string(dir) + "/tool_page_colour_list.png"), "PNG");
    };
    RunProgram({"tab 1082 3", "hook run", "press 2"});
    EXPECT_EQ(rowHeight, 15);
    ASSERT_GE(picture.height(), 9 * 15);
    const uint32_t swatches[9] = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0x00FFFF, 0xFF00FF,
        0xFFFFFF, 0xFFFFFF};
    for (int i = 0; i < 9; ++i) {
        SCOPED_TRACE(i);
        // the fill of row i, two pixels in from the frame; no text is drawn over it
        QRect fill(2, 15 * i + 2, 56, 11);
        int swatch = CountPixels(picture, fill, swatches[i]);
        EXPECT_GE(swatch, i == 8 ? 56 * 11 - 60 : 56 * 11);
        if (i == 8) {
            EXPECT_GE(CountPixels(picture, fill, 0x000000), 40);   // the diagonal
        }
    }
}

TEST_F(ToolPageTest, ThePageIsDrawnWholeWithItsSwatches)
{
    std::string file = SeededSettingsFile(1);
    PutSlot(file, 9, 3, 0, 10000, 10000, 10000, 1);   // slot 10 white, beside the crossed "なし"
    WriteBytes(TestSettingsFile(), file);
    QImage picture;
    DialogWindow* page = nullptr;
    std::vector<QRect> fields;
    action_ = [&] {
        page = PageWindow(kToolPage);
        ExpectNothingClipped(page);
        for (int i = 0; i < 10; ++i)
            fields.push_back(RectInDialog(page, 306 + 3 * i).adjusted(2, 2, -24, -2));
        picture = SaveDialogPicture("tool_page");
    };
    RunProgram({"tab 1082 3", "hook run", "press 2"});
    ASSERT_FALSE(picture.isNull());
    ASSERT_EQ(fields.size(), 10u);
    const uint32_t colours[4] = {0xFF0000, 0x00FF00, 0x0000FF, 0x000000};
    for (int i = 0; i < 4; ++i)
        EXPECT_GT(CountPixels(picture, fields[static_cast<size_t>(i)], colours[i]), 100) << i;
    // "なし" (slot 5) against white (slot 10): white both, and the diagonal's black besides
    int crossed = CountPixels(picture, fields[4], 0x000000);
    int plain = CountPixels(picture, fields[9], 0x000000);
    EXPECT_GT(CountPixels(picture, fields[4], 0xFFFFFF), 100);
    EXPECT_GT(CountPixels(picture, fields[9], 0xFFFFFF), 100);
    EXPECT_GE(crossed - plain, 20);
    EXPECT_EQ(CountPixels(picture, fields[4], 0xFF0000), 0);
}

} // namespace
