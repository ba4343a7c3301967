// The real host's document, view and canvas behind the plug-in's suite pointers, with the
// page record in the registry, for tests of the plot area and its tool.
#pragma once

#include "host/suites/access_suite.h"
#include "sdk/ate_classes.h"
#include "host/view/document_view_suite.h"
#include "plugin/settings/page_setup.h"
#include "plugin/entry/plugin_globals.h"
#include "tests/support/plugin_on_host.h"
#include "host/suites/undo_suite.h"
#include "host/view/view_canvas.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace plotareatest {

const char* const kConfigTitle = "TRAVEX-Pro Configuration Layer";

// A page record: rectangles in millimetres as top, left, right, bottom.
inline PageSetup Page(int32_t scale, PageRect page, PageRect paper)
{
    PageSetup setup = {};
    setup.Size = 601;
    setup.Width = page.right - page.left;
    setup.Height = page.bottom - page.top;
    setup.Scale = scale;
    setup.rPage = page;
    setup.rPaper = paper;
    setup.iFstPage = 1;
    setup.iLstPage = 1;
    return setup;
}

class PlotAreaHost : public onhost::PluginOnHost {
protected:
    void SetUp() override
    {
        PluginOnHost::SetUp();
        ResetTestHome();
        onhost::BindTextSuites();
        sAIDocumentView = HostDocumentViewSuite();
        sAIUndo = host::HostUndoSuite();
        sSPAccess = host::HostAccessSuite();
        ResetHostView();
        doc_ = onhost::LoadDrawing("plotarea", onhost::Drawing(
            "<g id=\"art\" inkscape:groupmode=\"layer\" inkscape:label=\"Artwork\"><path d=\"M 0 0 L 10 10\"/></g>"));
    }
    void TearDown() override
    {
        std::free(g->pPageSetup);
        std::free(g->pPlotSettings);
        std::free(g->pPaperList);
        std::free(g->pCustomSizeList);
        PluginOnHost::TearDown();
        ResetHostView();
        host::ResetViewCanvas();
    }

    void SetRegistryPage(const PageSetup& page) { ASSERT_EQ(WritePageSetupValues(&page), 0); }

    host::Layer* ConfigLayer() { return host::FindLayerByTitle(*doc_, kConfigTitle); }

    // The path children of the configuration layer's group, first child first.
    std::vector<host::Art*> ConfigPaths()
    {
        std::vector<host::Art*> paths;
        if (host::Layer* layer = ConfigLayer())
            for (host::Art* child : layer->group->children)
                if (child->type == host::ArtType::Path)
                    paths.push_back(child);
        return paths;
    }

    // The texts of the configuration layer starting with key.
    int CountRecords(const char* key)
    {
        int count = 0;
        if (host::Layer* layer = ConfigLayer())
            for (host::Art* child : layer->group->children)
                if (child->type == host::ArtType::TextFrame && RecordText(child).rfind(key, 0) == 0)
                    ++count;
        return count;
    }

    std::string RecordText(host::Art* art)
    {
        char text[16385] = {};
        ATE::TextRangeRef ref = nullptr;
        if (sAITextFrame->GetATETextRange(host::ToHandle(art), &ref) != kNoErr)
            return "";
        ATE::ITextRange range(ref);
        range.GetContents(text, sizeof text);
        return text;
    }

};

}  // namespace plotareatest
