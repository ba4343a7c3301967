// The real host's document and text engine behind the plug-in's suite pointers, for tests
// of the plug-in's text operations.
#pragma once

#include "host/suites/art_suites.h"
#include "host/document/document.h"
#include "host/session/host_session.h"
#include "host/suites/host_strings.h"
#include "host/suites/real_math_suite.h"
#include "plugin/entry/suite_table.h"
#include "host/suites/text_engine.h"
#include "host/svg/svg_file.h"

#include "tests/support/temp_home.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>

namespace texttest {

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

// A drawing of the given body, 400 by 200 points, one user unit a point.
inline std::string Drawing(const std::string& body)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\"\n"
           "     xmlns:inkscape=\"http://www.inkscape.org/namespaces/inkscape\"\n"
           "     width=\"400pt\" height=\"200pt\" viewBox=\"0 0 400 200\">\n" +
           body + "\n</svg>\n";
}

// Loads the drawing into the session's document.
inline std::unique_ptr<host::Document> LoadDrawing(const std::string& folder, const std::string& svg,
                                                   std::string* path = nullptr)
{
    std::string file = MakeTestFolder(folder) + "/drawing.svg";
    std::ofstream(file, std::ios::binary) << svg;
    host::TheSession().document = nullptr;
    auto doc = std::make_unique<host::Document>();
    std::string error;
    EXPECT_TRUE(host::LoadSvgDocument(file, *doc, error)) << error;
    host::TheSession().document = doc.get();
    if (path) *path = file;
    return doc;
}

inline host::Art* FindIn(host::Art* art, const std::string& name)
{
    if (!art) return nullptr;
    if (art->name == name) return art;
    for (host::Art* child : art->children)
        if (host::Art* found = FindIn(child, name)) return found;
    return nullptr;
}

inline AIArtHandle FindArt(const host::Document& doc, const std::string& name)
{
    for (host::Layer* layer : doc.layers)
        if (host::Art* found = FindIn(layer->group, name)) return host::ToHandle(found);
    return nullptr;
}

}  // namespace texttest
