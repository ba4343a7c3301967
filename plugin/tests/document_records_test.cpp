// The TRVX_1 and TRVX_2 records in the configuration layer of a real host document: their
// exact texts, the readers' rules and edge cases, and a record surviving a save and a reload.
#include "plugin/records/document_records.h"

#include "plugin/output/layer_table.h"
#include "plugin/entry/plugin_globals.h"
#include "plugin/hpgl/text_encodings.h"
#include "tests/support/plugin_on_host.h"
#include "host/svg/svg_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

const char* const kConfig = "TRAVEX-Pro Configuration Layer";
const std::string kRuler = "=================================";

// Layers given top first; SVG lists the bottom layer first.
std::string Layers(const std::vector<std::string>& titles)
{
    std::string body;
    for (size_t i = titles.size(); i-- > 0;)
        body += "<g id=\"g" + std::to_string(i) + "\" inkscape:groupmode=\"layer\" inkscape:label=\"" + titles[i] +
                "\"><path d=\"M 0 0 L 10 10\"/></g>\n";
    return onhost::Drawing(body);
}

class DocumentRecords : public onhost::PluginOnHost {
protected:
    void SetUp() override
    {
        PluginOnHost::SetUp();
        onhost::BindTextSuites();
        table_ = std::make_unique<LayerTable>();
        std::memset(table_.get(), 0, sizeof(LayerTable));
        g->pLayerTable = table_.get();
        g->pPlotSettings = &settings_;
        for (int i = 0; i < kToolSlotCount; ++i) settings_.aToolSlot[i].wType = 3;
    }
    void Load(const std::vector<std::string>& titles) { PluginOnHost::Load(Layers(titles), "records"); }

    host::Layer* Layer(const std::string& title) { return host::FindLayerByTitle(*doc_, title); }

    // The record texts of the configuration layer, first child first.
    std::vector<std::string> Records()
    {
        std::vector<std::string> texts;
        host::Layer* layer = Layer(kConfig);
        if (!layer) return texts;
        for (host::Art* child : layer->group->children)
            if (child->type == host::ArtType::TextFrame) texts.push_back(host::TextContent(child));
        return texts;
    }

    // A hand-written record placed on top of the configuration layer's texts.
    void AddRecord(const std::string& text)
    {
        host::Layer* layer = Layer(kConfig);
        ASSERT_NE(layer, nullptr);
        AIArtHandle art = nullptr;
        ASSERT_EQ(sAITextFrame->NewPointText(kPlaceInsideOnTop, host::ToHandle(layer->group), 0, {-3200, -3200}, &art),
                  kNoErr);
        ATE::TextRangeRef range = nullptr;
        ASSERT_EQ(sAITextFrame->GetATETextRange(art, &range), kNoErr);
        InsertShiftJisText(ATE::ITextRange(range), text.c_str());
    }

    void ResetTable() { std::memset(table_.get(), 0, sizeof(LayerTable)); }

    LayerRow Row(int n) { return table_->aRow[n]; }

    std::unique_ptr<LayerTable> table_;
};

TEST(NextToken, Tokens)
{
    struct Case {
        const char* text;
        char delimiter;
        int32_t start;
        const char* token;
        int16_t result;
        int32_t end;
    } cases[] = {
        {"  Layer = 5", '=', 0, "Layer", 0, 9},
        {"  Layer = 5", ',', 9, "5", 1, 11},
        {"a b\nc\rd", '=', 0, "abc", 0, 6},        // blanks and LF dropped, CR ends
        {"", '=', 0, "", 1, 0},
        {"=x", '=', 0, "", 0, 1},
        {"ToolID = 7\r\n", ',', 9, "7", 0, 11},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        char token[256];
        int32_t position = c.start;
        EXPECT_EQ(NextToken(c.text, c.delimiter, &position, token), c.result);
        EXPECT_STREQ(token, c.token);
        EXPECT_EQ(position, c.end);
    }
}

TEST(NextToken, ALongTokenIsCutAndConsumedWhole)
{
    std::string text(1000, 'x');
    text += "=y";
    char token[256 + 16];
    std::memset(token, 'Z', sizeof token);
    int32_t position = 0;
    EXPECT_EQ(NextToken(text.c_str(), '=', &position, token), 0);
    EXPECT_EQ(std::strlen(token), 255u);
    EXPECT_EQ(token[256], 'Z');  // nothing written past the token buffer
    EXPECT_EQ(position, 1001);
}

TEST(OwnLayers, TitlesWithoutTheLengthByte)
{
    EXPECT_STREQ(OwnLayerTitle(kConfigurationLayer), "TRAVEX-Pro Configuration Layer");
    EXPECT_STREQ(OwnLayerTitle(kTemporallyLayer), "TRAVEX-Pro Temporally Layer");
    EXPECT_STREQ(OwnLayerTitle(kPlottingLayer), "TRAVEX-Pro Plotting Layer");
    EXPECT_EQ(OwnLayerTitle(kConfigurationLayer)[-1], 30);
    EXPECT_TRUE(IsOwnLayerTitle("TRAVEX-Pro Plotting Layer"));
    EXPECT_FALSE(IsOwnLayerTitle(" TRAVEX-Pro Plotting Layer"));
}

TEST_F(DocumentRecords, ToolRecordSkipsTheConfigurationLayer)
{
    Load({"Pens", kConfig, "Knife"});
    AddLayerRow(1, "Pens", 3);
    AddLayerRow(0, "Knife", 5);
    ASSERT_EQ(SaveLayerToolAssignments(), 0);
    const std::string expected = "TRVX_1 Version = 2.01\r\n" + kRuler + "\r\n" +
                                 "  Layer =     1, ToolID =     3\r\n"
                                 "  Layer =     2, ToolID =     5\r\n" +
                                 kRuler + "\r\n";
    ASSERT_EQ(Records().size(), 1u);
    EXPECT_EQ(Records()[0], expected);
    EXPECT_TRUE(Layer("Pens")->fPrinted);
    EXPECT_FALSE(Layer("Knife")->fPrinted);
    host::Layer* config = Layer(kConfig);
    EXPECT_FALSE(config->fEditable);
    EXPECT_FALSE(config->fPrinted);
    EXPECT_TRUE(config->fVisible);
    host::Art* text = config->group->children[0];
    EXPECT_FALSE(text->text.runs[0].chars.fFillOn);
    EXPECT_FALSE(text->text.runs[0].chars.fStrokeOn);
    EXPECT_EQ(text->text.anchor.h, -3200);
    EXPECT_EQ(text->text.anchor.v, -3200);

    ResetTable();
    ASSERT_EQ(LoadLayerToolAssignments(), 0);
    ASSERT_EQ(CountLayerRows(), 2);
    EXPECT_STREQ(Row(0).szName, "Pens");
    EXPECT_EQ(Row(0).wTool, 3);
    EXPECT_EQ(Row(0).fOutput, 1);
    EXPECT_STREQ(Row(1).szName, "Knife");
    EXPECT_EQ(Row(1).wTool, 5);
    EXPECT_EQ(Row(1).fOutput, 0);

    // A second write replaces the record instead of adding one.
    ASSERT_EQ(SaveLayerToolAssignments(), 0);
    EXPECT_EQ(Records().size(), 1u);
}

TEST_F(DocumentRecords, WriterMakesTheConfigurationLayerAtTheBottom)
{
    Load({"Pens"});
    host::Layer* current = doc_->currentLayer;
    AddLayerRow(1, "Pens", 2);
    ASSERT_EQ(SaveLayerToolAssignments(), 0);
    ASSERT_EQ(host::CountLayers(*doc_), 2);
    EXPECT_EQ(host::NthLayer(*doc_, 1)->title, kConfig);
    EXPECT_EQ(doc_->currentLayer, current);
}

TEST_F(DocumentRecords, ToolNumbersReadAndValidated)
{
    struct Case {
        const char* name;
        std::string lines;
        int16_t expected;
    } cases[] = {
        {"the later line wins", "  Layer =     2, ToolID =     4\r\n  Layer =     2, ToolID =     7\r\n", 7},
        {"tool 0", "  Layer =     2, ToolID =     0\r\n", 1},
        {"tool 11", "  Layer =     2, ToolID =    11\r\n", 1},
        {"empty slot", "  Layer =     2, ToolID =     9\r\n", 1},
        {"slot of type 12", "  Layer =     2, ToolID =     8\r\n", 1},
        {"no line for the layer", "  Layer =     1, ToolID =     6\r\n", 1},
        {"last line without CR LF", "  Layer =     2, ToolID =     6", 6},
    };
    settings_.aToolSlot[8].wType = 0;
    settings_.aToolSlot[7].wType = 12;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Load({"One", kConfig, "Two"});
        AddRecord("TRVX_1 Version = 2.01\r\n" + kRuler + "\r\n" + c.lines);
        ResetTable();
        ASSERT_EQ(LoadLayerToolAssignments(), 0);
        ASSERT_EQ(CountLayerRows(), 2);
        EXPECT_EQ(Row(1).wTool, c.expected);
    }
}

TEST_F(DocumentRecords, RecordTextBeyondTheBufferIsNotRead)
{
    Load({"One", kConfig});
    // The first 16384 characters are read; a line past them is not, and nothing overruns.
    std::string filler(16384, ' ');
    AddRecord("TRVX_1 Version = 2.01\r\n" + filler + "  Layer =     1, ToolID =     4\r\n");
    ASSERT_EQ(LoadLayerToolAssignments(), 0);
    ASSERT_EQ(CountLayerRows(), 1);
    EXPECT_EQ(Row(0).wTool, 1);
    Load({"One", kConfig});
    AddRecord("TRVX_1 Version = 2.01\r\n" + std::string(16300, ' ') + "  Layer =     1, ToolID =     4\r\n");
    ResetTable();
    ASSERT_EQ(LoadLayerToolAssignments(), 0);
    EXPECT_EQ(Row(0).wTool, 4);
}

TEST_F(DocumentRecords, WithoutARecordEveryLayerGetsToolOne)
{
    Load({"One", "Two"});
    ASSERT_EQ(LoadLayerToolAssignments(), 0);
    ASSERT_EQ(CountLayerRows(), 2);
    EXPECT_EQ(Row(0).wTool, 1);
    EXPECT_EQ(Row(1).wTool, 1);
}

TEST_F(DocumentRecords, HundredFiftyLayers)
{
    std::vector<std::string> titles;
    for (int i = 1; i <= 150; ++i) titles.push_back("L" + std::to_string(i));
    titles.push_back(kConfig);
    Load(titles);
    for (int i = 1; i <= 150; ++i) AddLayerRow(1, titles[i - 1].c_str(), static_cast<int16_t>(i % 10 + 1));
    ASSERT_EQ(SaveLayerToolAssignments(), 0);
    std::string record = Records().at(0);
    size_t lines = 0;
    for (size_t at = record.find("  Layer ="); at != std::string::npos; at = record.find("  Layer =", at + 1)) ++lines;
    EXPECT_EQ(lines, 100u);
    EXPECT_NE(record.find("  Layer =   100, ToolID =     1\r\n"), std::string::npos);
    ResetTable();
    ASSERT_EQ(LoadLayerToolAssignments(), 0);
    ASSERT_EQ(CountLayerRows(), 150);
    EXPECT_EQ(Row(99).wTool, 1);    // layer 100: 100 % 10 + 1
    EXPECT_EQ(Row(98).wTool, 10);
    EXPECT_EQ(Row(120).wTool, 1);   // beyond the record
    EXPECT_STREQ(Row(149).szName, "L150");
}

TEST_F(DocumentRecords, LayerTableKeeps480Rows)
{
    for (int i = 0; i < 500; ++i) AddLayerRow(1, "x", 2);
    EXPECT_EQ(CountLayerRows(), 480);
    std::string longName(100, 'n');
    SetLayerRow(3, 0, longName.c_str(), 4);
    int16_t fOutput = 9, wTool = 9;
    char name[64];
    GetLayerRow(3, &fOutput, name, &wTool);
    EXPECT_EQ(std::strlen(name), 63u);
    EXPECT_EQ(wTool, 4);
    GetLayerRow(480, &fOutput, name, &wTool);
    EXPECT_EQ(fOutput, 0);
    EXPECT_EQ(wTool, 0);
    EXPECT_STREQ(name, "");
    g->pLayerTable = nullptr;
    EXPECT_EQ(CountLayerRows(), 0);
    AddLayerRow(1, "y", 1);  // without a table nothing happens
}

// 64 bytes 0x00, 0x01, ... 0x3F.
PageSetup CountingPage()
{
    PageSetup page{};
    unsigned char* bytes = reinterpret_cast<unsigned char*>(&page);
    for (int i = 0; i < 64; ++i) bytes[i] = static_cast<unsigned char>(i);
    return page;
}

TEST_F(DocumentRecords, PageRecordTextAndRoundTrip)
{
    Load({"Pens", kConfig});
    PageSetup page = CountingPage();
    g->pPageSetup = &page;
    ASSERT_EQ(SavePageSetupToDocument(), 0);
    const std::string expected =
        "TRVX_2 Version = 2.01\r\n\r\nTPRINT/\r\n"
        "00: 00010203040506070809\r\n"
        "01: 0A0B0C0D0E0F10111213\r\n"
        "02: 1415161718191A1B1C1D\r\n"
        "03: 1E1F2021222324252627\r\n"
        "04: 28292A2B2C2D2E2F3031\r\n"
        "05: 32333435363738393A3B\r\n"
        "06: 3C3D3E3F\r\n"
        "/TPRINT\r\n";
    ASSERT_EQ(Records().size(), 1u);
    EXPECT_EQ(Records()[0], expected);
    EXPECT_FALSE(Layer(kConfig)->fEditable);

    // Saved, reloaded and read back: the same 64 bytes.
    std::string error;
    ASSERT_TRUE(host::SaveSvgDocument(*doc_, drawingPath_, error)) << error;
    doc_ = onhost::LoadDocument(drawingPath_, error);
    ASSERT_TRUE(doc_) << error;
    EXPECT_EQ(Records().at(0), expected);
    PageSetup read{};
    std::memset(&read, 0x55, sizeof read);
    g->pPageSetup = &read;
    ASSERT_EQ(LoadPageSetupFromDocument(), 0);
    EXPECT_EQ(std::memcmp(&read, &page, 64), 0);
}

TEST_F(DocumentRecords, PageRecordReading)
{
    struct Case {
        const char* name;
        std::string body;
        std::vector<unsigned char> start;  // the record's first bytes; the rest are zero
    } cases[] = {
        {"no block", "", {}},
        {"lower-case digit", "\r\nTPRINT/\r\n00: 0a0B\r\n/TPRINT\r\n", {}},
        {"three digits", "\r\nTPRINT/\r\n00: 0A0\r\n/TPRINT\r\n", {0x0A}},
        {"stops at a non-digit", "\r\nTPRINT/\r\n00: 0102X304\r\n/TPRINT\r\n", {0x01, 0x02}},
        {"line numbers ignored, lines in text order",
         "\r\nTPRINT/\r\n05: 0102\r\n00: 0304\r\n/TPRINT\r\n", {1, 2, 3, 4}},
        {"outside the block ignored", "\r\n00: 0102\r\nTPRINT/\r\n00: 0304\r\n/TPRINT\r\n00: 0506\r\n", {3, 4}},
        {"long line", "\r\nTPRINT/\r\n00: " + std::string(600, 'F') + "\r\n/TPRINT\r\n",
         std::vector<unsigned char>(10, 0xFF)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Load({"Pens", kConfig});
        AddRecord("TRVX_2 Version = 2.01\r\n" + c.body);
        PageSetup page;
        std::memset(&page, 0x77, sizeof page);
        g->pPageSetup = &page;
        ASSERT_EQ(LoadPageSetupFromDocument(), 0);
        std::vector<unsigned char> expected(64, 0);
        std::copy(c.start.begin(), c.start.end(), expected.begin());
        EXPECT_EQ(std::vector<unsigned char>(reinterpret_cast<unsigned char*>(&page),
                                             reinterpret_cast<unsigned char*>(&page) + 64),
                  expected);
    }
}

TEST_F(DocumentRecords, MoreThan64BytesAreIgnored)
{
    Load({"Pens", kConfig});
    std::string body = "\r\nTPRINT/\r\n";
    for (int line = 0; line < 8; ++line) body += "0" + std::to_string(line) + ": 11111111111111111111\r\n";
    body += "/TPRINT\r\n";
    AddRecord("TRVX_2 Version = 2.01\r\n" + body);
    struct Guarded {
        PageSetup page;
        unsigned char after[16];
    } guarded;
    std::memset(&guarded, 0x77, sizeof guarded);
    g->pPageSetup = &guarded.page;
    ASSERT_EQ(LoadPageSetupFromDocument(), 0);
    const unsigned char* bytes = reinterpret_cast<unsigned char*>(&guarded.page);
    for (int i = 0; i < 64; ++i) EXPECT_EQ(bytes[i], 0x11) << i;
    for (unsigned char b : guarded.after) EXPECT_EQ(b, 0x77);
}

TEST_F(DocumentRecords, WithoutARecordOrPageSetupNothingChanges)
{
    Load({"Pens"});
    PageSetup page = CountingPage();
    g->pPageSetup = &page;
    ASSERT_EQ(LoadPageSetupFromDocument(), 0);  // no configuration layer
    PageSetup copy = CountingPage();
    EXPECT_EQ(std::memcmp(&page, &copy, 64), 0);
    // Written without a page record: the header only, which reads as all zeros.
    g->pPageSetup = nullptr;
    ASSERT_EQ(SavePageSetupToDocument(), 0);
    EXPECT_EQ(Records().at(0), "TRVX_2 Version = 2.01\r\n");
    g->pPageSetup = &page;
    ASSERT_EQ(LoadPageSetupFromDocument(), 0);
    PageSetup zero{};
    EXPECT_EQ(std::memcmp(&page, &zero, 64), 0);
}

TEST_F(DocumentRecords, TwoPageRecordsTheFirstIsReadAndReplaced)
{
    Load({"Pens", kConfig});
    AddRecord("TRVX_2 Version = 2.01\r\n\r\nTPRINT/\r\n00: 0102\r\n/TPRINT\r\n");  // second in the walk
    AddRecord("TRVX_2 Version = 2.01\r\n\r\nTPRINT/\r\n00: 0304\r\n/TPRINT\r\n");  // first in the walk
    PageSetup page{};
    g->pPageSetup = &page;
    ASSERT_EQ(LoadPageSetupFromDocument(), 0);
    EXPECT_EQ(reinterpret_cast<unsigned char*>(&page)[0], 3);
    page = CountingPage();
    ASSERT_EQ(SavePageSetupToDocument(), 0);
    std::vector<std::string> records = Records();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].rfind("TRVX_2 Version = 2.01\r\n\r\nTPRINT/\r\n00: 00010203", 0), 0u);
    EXPECT_NE(records[1].find("00: 0102\r\n"), std::string::npos);  // the other one stays
}

}  // namespace
