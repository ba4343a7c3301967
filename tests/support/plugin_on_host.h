// The plug-in on the host, for the unit tests of the plug-in's inner operations: the real
// host's suites behind the plug-in's suite pointers, the plug-in's globals, drawings read
// into the host's session, and a temporary plot data file.
#pragma once

#include "host/document/document.h"
#include "host/session/host_session.h"
#include "host/suites/art_suites.h"
#include "host/suites/host_strings.h"
#include "host/suites/real_math_suite.h"
#include "host/suites/text_engine.h"
#include "host/suites/user_suite.h"
#include "host/svg/svg_file.h"
#include "plugin/entry/plugin_globals.h"
#include "plugin/entry/suite_table.h"
#include "tests/support/host_drawings.h"
#include "tests/support/temp_home.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

namespace onhost {

// The suites of the plug-in's text operations.
inline void BindTextSuites()
{
    using namespace host;
    InstallTextEngine();
    sAIArt = HostArtSuite();
    sAIPath = HostPathSuite();
    sAIPathStyle = HostPathStyleSuite();
    sAILayer = HostLayerSuite();
    sAIRealMath = HostRealMathSuite();
    sAITextFrame = HostTextFrameSuite();
    sAIFont = HostFontSuite();
    sAIHardSoft = HostHardSoftSuite();
    sAIATEPaint = HostATEPaintSuite();
    sAIUnicodeString = HostUnicodeStringSuite();
    sATETextFrame = HostATETextFrameSuite();
    sATETextRange = HostATETextRangeSuite();
    sATETextLinesIterator = HostATETextLinesIteratorSuite();
    sATETextLine = HostATETextLineSuite();
    sATEGlyphRunsIterator = HostATEGlyphRunsIteratorSuite();
    sATEGlyphRun = HostATEGlyphRunSuite();
    sATECharFeatures = HostATECharFeaturesSuite();
    sATEParaFeatures = HostATEParaFeaturesSuite();
    sATEFont = HostATEFontSuite();
    sATEArrayRealPoint = HostATEArrayRealPointSuite();
    sATEArrayReal = HostATEArrayRealSuite();
    sATEApplicationPaint = HostATEApplicationPaintSuite();
    sATEKinsoku = HostATEKinsokuSuite();
    sATEMojiKumi = HostATEMojiKumiSuite();
    sATEDocumentTextResources = HostATEDocumentTextResourcesSuite();
}

// The text suites, and those of collection and emission besides.
inline void BindSuites()
{
    using namespace host;
    BindTextSuites();
    sAIArtStyle = HostArtStyleSuite();
    sAIBlendStyle = HostBlendStyleSuite();
    sAIPluginGroup = HostPluginGroupSuite();
    sAISymbol = HostSymbolSuite();
    sAIUser = HostUserSuite();
}

// A drawing of the given body, 400 by 200 points, one user unit a point; artwork v is
// 200 - y.
inline std::string Drawing(const std::string& body)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\"\n"
           "     xmlns:inkscape=\"http://www.inkscape.org/namespaces/inkscape\"\n"
           "     width=\"400pt\" height=\"200pt\" viewBox=\"0 0 400 200\">\n" +
           body + "\n</svg>\n";
}

// Reads the file into a new document, which becomes the session's; null when the file is
// refused (the reason in error).
inline std::unique_ptr<host::Document> LoadDocument(const std::string& file, std::string& error)
{
    host::TheSession().document = nullptr;
    auto doc = std::make_unique<host::Document>();
    if (!host::LoadSvgDocument(file, *doc, error))
        return nullptr;
    host::TheSession().document = doc.get();
    return doc;
}

// Writes the SVG text into drawing.svg of a fresh test folder and loads it as the session's
// document.
inline std::unique_ptr<host::Document> LoadDrawing(const std::string& folder, const std::string& svg,
                                                   std::string* path = nullptr)
{
    std::string file = MakeTestFolder(folder) + "/drawing.svg";
    std::ofstream(file, std::ios::binary) << svg;
    std::string error;
    std::unique_ptr<host::Document> doc = LoadDocument(file, error);
    EXPECT_TRUE(doc) << error;
    if (path) *path = file;
    return doc;
}

inline AIArtHandle FindArtHandle(const host::Document& doc, const std::string& name)
{
    return host::ToHandle(FindArt(doc, name));
}

// Zeroed globals as g, a document and a temporary plot data file when asked for; the
// session holds no document after the test.
class PluginOnHost : public testing::Test {
protected:
    void SetUp() override
    {
        globals_ = std::make_unique<PluginGlobals>();
        g = globals_.get();
    }
    void TearDown() override
    {
        if (file_) std::fclose(file_);
        file_ = nullptr;
        g = nullptr;
        host::TheSession().document = nullptr;
    }

    // Loads the SVG text as the session's document, kept in folder/drawing.svg.
    void Load(const std::string& svg, const std::string& folder = "drawing")
    {
        doc_ = LoadDrawing(folder, svg, &drawingPath_);
        ASSERT_TRUE(doc_);
    }
    host::Art* Find(const std::string& name) { return FindArt(*doc_, name); }
    AIArtHandle Handle(const std::string& name) { return host::ToHandle(Find(name)); }

    // A fresh temporary plot data file as g->hPlotDataFile.
    void OpenPlotDataFile()
    {
        if (file_) std::fclose(file_);
        file_ = std::tmpfile();
        ASSERT_NE(file_, nullptr);
        g->hPlotDataFile = file_;
    }
    // What the plot data file holds so far.
    std::string Written()
    {
        std::fflush(file_);
        std::rewind(file_);
        std::string bytes;
        char buffer[4096];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, file_)) > 0) bytes.append(buffer, n);
        std::fseek(file_, 0, SEEK_END);
        return bytes;
    }

    std::unique_ptr<PluginGlobals> globals_;
    PlotSettings settings_{};
    std::unique_ptr<host::Document> doc_;
    std::string drawingPath_;  // the drawing's file
    FILE* file_ = nullptr;     // the plot data file
};

}  // namespace onhost
