// The page conversion over the real host, as the tests of whole pages use it: drawings read
// from SVG, the layer table filled as the output dialog leaves it, the plot data file read
// back from the settings folder.
//
// The drawings are 100 by 50 mm with one user unit a millimetre, on a page record of the
// same size at 100 % with the origin at the corner. At 40 units per millimetre a point
// (x, y) of the SVG is plotted at (2000 - 40 y, 4000 - 40 x): artwork v = 50 - y, the axis
// turn (x, y) -> (y, -x), then the offset (0, 4000). The frame is 0, 0, 2000, 4000.
#pragma once

#include "plugin/conversion/page_conversion.h"

#include "plugin/conversion/art_lists.h"
#include "plugin/records/document_records.h"
#include "plugin/hpgl/geometry.h"
#include "plugin/output/layer_table.h"
#include "plugin/entry/plugin_binding.h"
#include "plugin/entry/plugin_globals.h"
#include "plugin/settings/settings_defaults.h"
#include "plugin/entry/suite_table.h"

#include "sdk/ai_layer.h"
#include "host/suites/basic_suite.h"
#include "host/document/document.h"
#include "host/session/host_session.h"
#include "host/suites/text_engine.h"
#include "host/suites/user_suite.h"

#include "tests/support/plugin_on_host.h"
#include "tests/support/test_files.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace conversiontest {

// A drawing of 100 by 50 millimetres, one user unit a millimetre.
inline std::string Drawing(const std::string& body)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\"\n"
           "     xmlns:inkscape=\"http://www.inkscape.org/namespaces/inkscape\"\n"
           "     width=\"100mm\" height=\"50mm\" viewBox=\"0 0 100 50\">\n" +
           body + "\n</svg>\n";
}

inline std::string Layer(const std::string& title, const std::string& body)
{
    return "<g inkscape:label=\"" + title + "\" style=\"fill:none;stroke:#000\">" + body + "</g>";
}

struct Assignment {
    int16_t fOutput;
    int16_t wTool;
};

class PageConversion : public onhost::PluginOnHost {
protected:
    void SetUp() override
    {
        PluginOnHost::SetUp();
        sSPBasic = host::HostBasicSuite();
        ASSERT_EQ(AcquireSuites(), kNoErr);
        host::InstallTextEngine();
        host::ClearHostUserRecords();
        host::SetCancelAfterChecks(0);
        BuildBezierTables();
        SetDefaultPlotSettings(&settings_);
        settings_.wSortMode = 0;
        settings_.fOverlap = 0;
        settings_.wPaperOrigin = 1;
        settings_.szFooter[0] = '\0';
        g->pPlotSettings = &settings_;
        g->wUnitsPerMm = 40;
        setup_.Scale = 10000;
        setup_.rPage = PageRect{0, 0, 100, 50};
        setup_.iFstPage = 1;
        setup_.iLstPage = 1;
        g->pPageSetup = &setup_;
        table_ = std::make_unique<LayerTable>();
        g->pLayerTable = table_.get();
        ASSERT_EQ(AllocateArtLists(), kNoErr);
        char path[512];
        ASSERT_EQ(GetPlotDataFilePath(path, sizeof path), 0);
        path_ = path;
    }

    void TearDown() override
    {
        FreeArtLists();
        g->pPageSetup = nullptr;
        PluginOnHost::TearDown();
        host::SetCancelAfterChecks(0);
        ReleaseSuites();
    }

    // Loads the drawing and fills the layer table in the host's layer order, the plug-in's
    // own layers passed over; layers not named are not output.
    void Load(const std::string& body, const std::map<std::string, Assignment>& assignments)
    {
        LoadSvg(Drawing(body), assignments);
    }

    // The same for a whole SVG file's text.
    void LoadSvg(const std::string& svg, const std::map<std::string, Assignment>& assignments)
    {
        PluginOnHost::Load(svg, "conversion");

        table_->iCount = 0;
        ASInt32 count = 0;
        ASSERT_EQ(sAILayer->CountLayers(&count), kNoErr);
        for (ASInt32 n = 0; n < count; ++n) {
            AILayerHandle layer = nullptr;
            char title[256];
            ASSERT_EQ(sAILayer->GetNthLayer(n, &layer), kNoErr);
            ASSERT_EQ(sAILayer->GetLayerTitle(layer, title, sizeof title), kNoErr);
            if (IsOwnLayerTitle(title))
                continue;
            auto found = assignments.find(title);
            const Assignment a = found == assignments.end() ? Assignment{0, 1} : found->second;
            AddLayerRow(a.fOutput, title, a.wTool);
        }
    }

    std::string Convert()
    {
        ConvertAllPages();
        EXPECT_EQ(g->hPlotDataFile, nullptr);
        return ReadBytes(path_);
    }

    void SetHeaderFooter(const char* header, const char* footer)
    {
        std::snprintf(settings_.szHeader, sizeof settings_.szHeader, "%s", header);
        std::snprintf(settings_.szFooter, sizeof settings_.szFooter, "%s", footer);
    }

    bool HasLayer(const std::string& title)
    {
        for (host::Layer* layer : doc_->layers)
            if (layer->title == title) return true;
        return false;
    }

    PageSetup setup_{};
    std::unique_ptr<LayerTable> table_;
    std::string path_;   // the plot data file
};

// The progress texts without their object counts, repeats dropped.
inline std::vector<std::string> StageTexts()
{
    std::vector<std::string> stages;
    for (std::string text : host::HostProgressTexts()) {
        const size_t bracket = text.rfind(" [");
        if (bracket != std::string::npos) text.resize(bracket);
        if (stages.empty() || stages.back() != text) stages.push_back(text);
    }
    return stages;
}

using PointSet = std::set<std::pair<int, int>>;

// Every point of the pen moves in bytes, in order.
inline std::vector<std::pair<int, int>> Points(const std::string& bytes)
{
    std::vector<std::pair<int, int>> points;
    size_t at = 0;
    while ((at = bytes.find_first_of("UD", at)) != std::string::npos) {
        ++at;
        int x = 0, y = 0, used = 0;
        while (std::sscanf(bytes.c_str() + at, "%d,%d%n", &x, &y, &used) == 2) {
            points.emplace_back(x, y);
            at += static_cast<size_t>(used);
            if (bytes[at] == ',') ++at;
        }
    }
    return points;
}

inline int Count(const std::string& bytes, const std::string& what)
{
    int n = 0;
    for (size_t at = bytes.find(what); at != std::string::npos; at = bytes.find(what, at + 1)) ++n;
    return n;
}

}  // namespace conversiontest
