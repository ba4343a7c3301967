// The plug-in's own resources: the menu and tool texts of both languages in code page 932,
// and the tool's icons.
#include "plugin/entry/plugin_resources.h"

#include <QImage>
#include <QtCore/QtGlobal>

#include <gtest/gtest.h>

#include <string>

// The images are compiled into the plug-in's library; a test program registers them itself.
static void RegisterPluginImages() { Q_INIT_RESOURCE(plugin); }

namespace {

TEST(PluginResourcesTest, TextsOfBothLanguagesInCodePage932)
{
    struct Case {
        int16_t language;
        int item;
        const char* bytes;
    };
    const Case cases[] = {
        {0, kConfigItemString, "\x83\x76\x83\x8D\x83\x62\x83\x5E\x90\xDD\x92\xE8..."},   // プロッタ設定...
        {0, kOutputItemString, "\x83\x76\x83\x8D\x83\x62\x83\x67\x83\x41\x83\x45\x83\x67..."},  // プロットアウト...
        {0, kToolTitleString, "\x83\x76\x83\x8D\x83\x62\x83\x67\x97\xCC\x88\xE6\x83\x63\x81\x5B\x83\x8B"},  // プロット領域ツール
        {1, kConfigItemString, "Plotter Configuration..."},
        {1, kOutputItemString, "Output Plotter"},
        {1, kToolTitleString, "Plot Area Tool"},
        {2, kToolTitleString, "Plot Area Tool"},   // every other word selects English
    };
    for (const Case& c : cases) {
        char text[256];
        int bytes = LoadPluginString(c.language, c.item, text, sizeof text);
        EXPECT_EQ(std::string(text, size_t(bytes)), c.bytes) << c.language << " " << c.item;
    }
}

TEST(PluginResourcesTest, ToolIconsAreImages)
{
    RegisterPluginImages();
    for (int id : {kToolIconResource, kToolDarkIconResource}) {
        const char* path = FindResourceBitmap(PluginResources(), id);
        ASSERT_NE(path, nullptr) << id;
        QImage image(QString::fromUtf8(path));
        EXPECT_FALSE(image.isNull()) << path;
        EXPECT_EQ(image.width(), 24);
        EXPECT_EQ(image.height(), 24);
    }
    EXPECT_EQ(ModuleResources(nullptr), nullptr);
}

}  // namespace
