// The real host's document behind the plug-in's suite pointers, with one page set up for
// conversion by hand: a 400 by 200 point canvas, 40 plotter units per millimetre, no scale
// or rotation, no origin offset, and the plot data file in a temporary file.
#pragma once

#include "plugin/conversion/art_lists.h"
#include "host/suites/art_suites.h"
#include "host/document/document.h"
#include "plugin/hpgl/geometry.h"
#include "host/session/host_session.h"
#include "host/suites/host_strings.h"
#include "plugin/hpgl/path_emission.h"
#include "plugin/hpgl/pen_writer.h"
#include "plugin/entry/plugin_globals.h"
#include "host/suites/real_math_suite.h"
#include "plugin/entry/suite_table.h"
#include "host/suites/text_engine.h"
#include "plugin/tests/text_test_host.h"
#include "host/suites/user_suite.h"
#include "host/svg/svg_file.h"

#include "tests/support/temp_home.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace emissiontest {

// The text tests' suites, and those of collection and emission besides.
inline void BindSuites()
{
    using namespace host;
    texttest::BindTextSuites();
    sAIArtStyle = HostArtStyleSuite();
    sAIBlendStyle = HostBlendStyleSuite();
    sAIPluginGroup = HostPluginGroupSuite();
    sAISymbol = HostSymbolSuite();
    sAIUser = HostUserSuite();
}

// Drawings of 400 by 200 points, one user unit a point; artwork v is 200 - y.
using texttest::Drawing;
using texttest::FindIn;

class EmissionHost : public testing::Test {
protected:
    void SetUp() override
    {
        BindSuites();
        host::ClearHostUserRecords();
        host::SetCancelAfterChecks(0);
        globals_ = std::make_unique<PluginGlobals>();
        g = globals_.get();
        BuildBezierTables();
        file_ = std::tmpfile();
        ASSERT_NE(file_, nullptr);
        g->hPlotDataFile = file_;
        g->pPlotSettings = &settings_;
        ConversionState& c = g->conversion;
        c.wUnitsPerMm = 40;
        c.rPageBounds = AIRealRect{0, 200, 400, 0};
        c.iPageHeightPt = 200;
        c.plotFrame.iXMin = -100000;
        c.plotFrame.iYMin = -100000;
        c.plotFrame.iXMax = 100000;
        c.plotFrame.iYMax = 100000;
        c.dTolerance = 0.1;
        SetPdOptimisation(0);
        ResetPenWriterPage();
        g->emitter.wCurrentPen = -1;
        ASSERT_EQ(AllocateArtLists(), kNoErr);
    }

    void TearDown() override
    {
        FreeArtLists();
        if (file_) std::fclose(file_);
        g = nullptr;
        host::TheSession().document = nullptr;
        host::SetCancelAfterChecks(0);
    }

    // Loads the drawing into the session's document.
    void Load(const std::string& body)
    {
        std::string file = MakeTestFolder("emission") + "/drawing.svg";
        std::ofstream(file, std::ios::binary) << Drawing(body);
        host::TheSession().document = nullptr;
        doc_ = std::make_unique<host::Document>();
        std::string error;
        ASSERT_TRUE(host::LoadSvgDocument(file, *doc_, error)) << error;
        host::TheSession().document = doc_.get();
    }

    host::Art* Find(const std::string& name)
    {
        for (host::Layer* layer : doc_->layers)
            if (host::Art* found = FindIn(layer->group, name)) return found;
        for (host::Symbol* symbol : doc_->symbols)
            if (host::Art* found = FindIn(symbol->definition, name)) return found;
        return nullptr;
    }
    AIArtHandle Handle(const std::string& name) { return host::ToHandle(Find(name)); }
    AIArtHandle LayerGroup(size_t index = 0) { return host::ToHandle(doc_->layers.at(index)->group); }

    // Names of the main list's rows, in order; a symbol's definition is "symbol NAME".
    std::vector<std::string> RowNames()
    {
        std::vector<std::string> names;
        for (int32_t i = 0; i < g->pMainArtList->iCount; ++i) {
            host::Art* art = host::FromHandle(g->pMainArtList->aEntry[i].hArt);
            std::string name = art->name;
            for (host::Symbol* symbol : doc_->symbols)
                if (symbol->definition == art) name = "symbol " + symbol->name;
            names.push_back(name);
        }
        return names;
    }

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

    // One layer of a drawing collected with the slot index and emitted, as the page
    // conversion does with a chunk; the bytes written.
    std::string EmitLayer(const std::string& body, int16_t slot = 0, size_t layer = 0)
    {
        Load(body);
        g->pMainArtList->iCount = 0;
        CollectArt(LayerGroup(layer), slot, nullptr);
        EXPECT_EQ(EmitArtList(), kNoErr);
        return Written();
    }

    std::unique_ptr<PluginGlobals> globals_;
    PlotSettings settings_{};
    FILE* file_ = nullptr;
    std::unique_ptr<host::Document> doc_;
};

}  // namespace emissiontest
