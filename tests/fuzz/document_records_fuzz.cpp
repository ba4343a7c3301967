// Fuzz target: the records kept in the document. The first input byte picks the record
// ("TRVX_1", the tool of each layer, or "TRVX_2", the page setup), the rest is the record's
// text after its key, placed in the configuration layer of a drawing on the real host. Read,
// written back and read again, a record gives what it gave the first time; the tools read
// are usable slots, and one record of the key stays.
#include "plugin/output/layer_table.h"
#include "plugin/records/document_records.h"
#include "plugin/hpgl/text_encodings.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/support/plugin_on_host.h"

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

const char* const kConfig = "TRAVEX-Pro Configuration Layer";

std::string DrawingFile()
{
    static const std::string path = [] {
        std::string body;
        const char* titles[] = {kConfig, "Three", "Two", "One"};  // bottom first
        for (int i = 0; i < 4; ++i)
            body += "<g id=\"g" + std::to_string(i) + "\" inkscape:groupmode=\"layer\" inkscape:label=\"" +
                    titles[i] + "\"><path d=\"M 0 0 L 10 10\"/></g>\n";
        std::string file = fuzz::ScratchPath("records.svg");
        fuzz::WriteFile(file, onhost::Drawing(body));
        onhost::BindTextSuites();
        return file;
    }();
    return path;
}

std::vector<std::string> Records(const host::Document& doc, const char* key)
{
    std::vector<std::string> texts;
    host::Layer* layer = host::FindLayerByTitle(doc, kConfig);
    if (layer == nullptr)
        return texts;
    for (host::Art* child : layer->group->children)
        if (child->type == host::ArtType::TextFrame && host::TextContent(child).rfind(key, 0) == 0)
            texts.push_back(host::TextContent(child));
    return texts;
}

void AddRecord(host::Document& doc, const std::string& text)
{
    host::Layer* layer = host::FindLayerByTitle(doc, kConfig);
    FUZZ_CHECK(layer != nullptr, "no configuration layer");
    AIArtHandle art = nullptr;
    FUZZ_CHECK(sAITextFrame->NewPointText(kPlaceInsideOnTop, host::ToHandle(layer->group), 0, {-3200, -3200},
                                          &art) == kNoErr,
               "no record text");
    ATE::TextRangeRef range = nullptr;
    FUZZ_CHECK(sAITextFrame->GetATETextRange(art, &range) == kNoErr, "no text range");
    InsertShiftJisText(ATE::ITextRange(range), text.c_str());
}

std::string TableText(const LayerTable& table)
{
    std::string text;
    for (int i = 0; i < table.iCount; ++i)
        text += std::string(table.aRow[i].szName) + "=" + std::to_string(table.aRow[i].wTool) + "," +
                std::to_string(table.aRow[i].fOutput) + ";";
    return text;
}

void CheckToolRecord(host::Document& doc, LayerTable& table, const PlotSettings& settings)
{
    std::memset(&table, 0, sizeof table);
    FUZZ_CHECK(LoadLayerToolAssignments() == 0, "the tool record not read");
    FUZZ_CHECK(table.iCount == 3, "rows for " + std::to_string(table.iCount) + " layers");
    for (int i = 0; i < table.iCount; ++i) {
        int tool = table.aRow[i].wTool;
        FUZZ_CHECK(tool >= 1 && tool <= kToolSlotCount, "tool " + std::to_string(tool));
        FUZZ_CHECK(tool == 1 || settings.aToolSlot[tool - 1].wType != 0, "an empty slot " + std::to_string(tool));
    }
    const std::string first = TableText(table);
    FUZZ_CHECK(SaveLayerToolAssignments() == 0, "the tool record not written");
    FUZZ_CHECK(Records(doc, "TRVX_1").size() == 1, "not one tool record after writing");
    std::memset(&table, 0, sizeof table);
    FUZZ_CHECK(LoadLayerToolAssignments() == 0, "the written tool record not read");
    FUZZ_CHECK(TableText(table) == first, "read " + first + ", written and read again " + TableText(table));
}

void CheckPageRecord(host::Document& doc)
{
    PageSetup page;
    std::memset(&page, 0x77, sizeof page);
    g->pPageSetup = &page;
    FUZZ_CHECK(LoadPageSetupFromDocument() == 0, "the page record not read");
    FUZZ_CHECK(SavePageSetupToDocument() == 0, "the page record not written");
    FUZZ_CHECK(Records(doc, "TRVX_2").size() == 1, "not one page record after writing");
    PageSetup again;
    std::memset(&again, 0x55, sizeof again);
    g->pPageSetup = &again;
    FUZZ_CHECK(LoadPageSetupFromDocument() == 0, "the written page record not read");
    FUZZ_CHECK(std::memcmp(&page, &again, 64) == 0, "the page setup changed on its way through the record");
    g->pPageSetup = nullptr;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const bool page = data[0] & 1;
    const std::string text = std::string(page ? "TRVX_2 " : "TRVX_1 ") +
                             std::string(reinterpret_cast<const char*>(data + 1), size - 1).c_str();
    const std::string file = DrawingFile();
    auto globals = std::make_unique<PluginGlobals>();
    g = globals.get();
    auto table = std::make_unique<LayerTable>();
    std::memset(table.get(), 0, sizeof(LayerTable));
    PlotSettings settings{};
    for (int i = 0; i < kToolSlotCount; ++i)
        settings.aToolSlot[i].wType = (i == 8) ? 0 : 3;
    g->pLayerTable = table.get();
    g->pPlotSettings = &settings;
    {
        std::string error;
        std::unique_ptr<host::Document> doc = onhost::LoadDocument(file, error);
        FUZZ_CHECK(doc != nullptr, error);
        AddRecord(*doc, text);
        if (page)
            CheckPageRecord(*doc);
        else
            CheckToolRecord(*doc, *table, settings);
        host::TheSession().document = nullptr;
    }
    g = nullptr;
    return 0;
}
