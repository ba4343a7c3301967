// The real host's document behind the plug-in's suite pointers, with one page set up for
// conversion by hand: a 400 by 200 point canvas, 40 plotter units per millimetre, no scale
// or rotation, no origin offset, and the plot data file in a temporary file.
#pragma once

#include "plugin/conversion/art_lists.h"
#include "plugin/hpgl/geometry.h"
#include "plugin/hpgl/path_emission.h"
#include "plugin/hpgl/pen_writer.h"
#include "tests/support/plugin_on_host.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace emissiontest {

using onhost::Drawing;
using onhost::FindIn;

class EmissionHost : public onhost::PluginOnHost {
protected:
    void SetUp() override
    {
        PluginOnHost::SetUp();
        onhost::BindSuites();
        host::ClearHostUserRecords();
        host::SetCancelAfterChecks(0);
        BuildBezierTables();
        OpenPlotDataFile();
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
        PluginOnHost::TearDown();
        host::SetCancelAfterChecks(0);
    }

    // Loads the drawing of the body into the session's document.
    void Load(const std::string& body) { PluginOnHost::Load(Drawing(body), "emission"); }

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
};

}  // namespace emissiontest
