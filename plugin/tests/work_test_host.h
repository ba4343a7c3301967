// The real host's document and suites behind the plug-in's pointers for the work-layer and
// ordering tests: a document built in code with one user layer "Art", the run's two lists
// and plot settings, no scale.
#pragma once

#include "plugin/conversion/art_lists.h"
#include "host/suites/art_suites.h"
#include "host/document/document.h"
#include "plugin/hpgl/geometry.h"
#include "host/session/host_session.h"
#include "host/suites/pathfinder_suite.h"
#include "plugin/entry/plugin_globals.h"
#include "plugin/entry/suite_table.h"
#include "tests/support/plugin_on_host.h"
#include "host/suites/user_suite.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace worktest {

inline AIPathSegment Corner(double h, double v) { return AIPathSegment{{h, v}, {h, v}, {h, v}, true}; }

class WorkHost : public onhost::PluginOnHost {
protected:
    void SetUp() override
    {
        PluginOnHost::SetUp();
        onhost::BindTextSuites();
        sAIDocument = host::HostDocumentSuite();
        sAIUser = host::HostUserSuite();
        sAISymbol = host::HostSymbolSuite();
        sAIPathfinder = host::HostPathfinderSuite();
        host::ResetHostDocumentState();
        host::SetCancelAfterChecks(0);
        g->pPlotSettings = &settings_;
        g->conversion.dScaleX = 1;
        g->conversion.dScaleY = 1;
        ASSERT_EQ(AllocateArtLists(), kNoErr);
        doc_ = std::make_unique<host::Document>();
        host::TheSession().document = doc_.get();
        ASSERT_EQ(host::InsertLayer(*doc_, nullptr, host::Placement::BelowAll, &layer_), kNoErr);
        host::SetLayerTitle(layer_, "Art");
        doc_->currentLayer = layer_;
    }

    void TearDown() override
    {
        FreeArtLists();
        PluginOnHost::TearDown();
        host::SetCancelAfterChecks(0);
    }

    host::Art* Top() { return layer_->group; }

    host::Art* Polygon(const std::vector<AIRealPoint>& points, bool closed = true, host::Art* into = nullptr)
    {
        host::Art* art = nullptr;
        EXPECT_EQ(host::NewArt(*doc_, host::ArtType::Path, host::Placement::InsideOnBottom, into ? into : Top(), &art),
                  kNoErr);
        std::vector<AIPathSegment> segments;
        for (const AIRealPoint& p : points) segments.push_back(Corner(p.h, p.v));
        host::SetPathSegments(art, segments);
        host::SetPathClosed(art, closed);
        return art;
    }

    host::Art* Rect(double left, double bottom, double right, double top, host::Art* into = nullptr)
    {
        return Polygon({{left, bottom}, {right, bottom}, {right, top}, {left, top}}, true, into);
    }

    host::Art* Container(host::ArtType type, host::Art* into = nullptr)
    {
        host::Art* art = nullptr;
        EXPECT_EQ(host::NewArt(*doc_, type, host::Placement::InsideOnBottom, into ? into : Top(), &art), kNoErr);
        return art;
    }

    host::Art* Text(const std::string& text, AIRealPoint anchor, double size)
    {
        AIArtHandle art = nullptr;
        EXPECT_EQ(sAITextFrame->NewPointText(kPlaceInsideOnBottom, host::ToHandle(Top()), 0, anchor, &art), kNoErr);
        host::SetTextContent(host::FromHandle(art), text);
        host::FromHandle(art)->text.runs.front().chars.fontSize = size;
        return host::FromHandle(art);
    }

    void Add(host::Art* art, int16_t tool = 0, const AIRealMatrix* matrix = nullptr)
    {
        ASSERT_EQ(AddArtEntry(g->pMainArtList, host::ToHandle(art), tool, matrix), kNoErr);
    }

    std::vector<host::Art*> Rows() const
    {
        std::vector<host::Art*> out;
        for (int32_t i = 0; i < g->pMainArtList->iCount; ++i)
            out.push_back(host::FromHandle(g->pMainArtList->aEntry[i].hArt));
        return out;
    }

    static std::vector<host::Art*> Live(const host::Art* parent)
    {
        std::vector<host::Art*> out;
        for (host::Art* art : parent->children)
            if (!art->fDisposed) out.push_back(art);
        return out;
    }

    static AIRealRect Bounds(const host::Art* art)
    {
        AIRealRect r{0, 0, 0, 0};
        EXPECT_TRUE(host::ArtBounds(art, r));
        return r;
    }

    host::Layer* layer_ = nullptr;
};

}  // namespace worktest
