#include "plugin/records/document_records.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "sdk/ai_art.h"
#include "sdk/ai_layer.h"
#include "sdk/ai_text_frame.h"
#include "sdk/ate_classes.h"
#include "plugin/entry/host_text.h"
#include "plugin/output/layer_table.h"
#include "plugin/entry/plugin_globals.h"
#include "plugin/entry/suite_table.h"
#include "plugin/hpgl/text_encodings.h"

namespace {

// The own layer titles as stored: a blank in front that becomes the length byte.
char gOwnTitles[3][40] = {
    " TRAVEX-Pro Configuration Layer",
    " TRAVEX-Pro Temporally Layer",
    " TRAVEX-Pro Plotting Layer",
};

const char* const kToolRecordKey = "TRVX_1";
const char* const kPageRecordKey = "TRVX_2";
const char* const kVersionText = "Version = 2.01";
const char* const kRuler = "=================================";
constexpr int32_t kRecordTextRoom = 16385;   // at most 16384 characters and a NUL
constexpr int32_t kTitleRoom = 256;
constexpr int32_t kTokenEnd = 32768;
constexpr int kPageBytes = 64;
constexpr AIRealPoint kRecordAnchor = {-3200, -3200};

// Creates the configuration layer at the bottom, leaving the current layer as it was.
ASErr CreateConfigurationLayer(AILayerHandle* layer)
{
    AILayerHandle current = nullptr;
    ASErr err = sAILayer->GetCurrentLayer(&current);
    if (err == kNoErr) err = sAILayer->InsertLayer(nullptr, kPlaceBelowAll, layer);
    if (err != kNoErr) return err;
    err = SetOwnLayerTitle(*layer, kConfigurationLayer);
    if (current != nullptr) sAILayer->SetCurrentLayer(current);
    return err;
}

// Reads a text art's contents into the zero-filled record buffer.
void ReadRecordText(AIArtHandle art, std::vector<char>& text)
{
    text.assign(kRecordTextRoom, '\0');
    ATE::TextRangeRef ref = nullptr;
    ATE::Check(sAITextFrame->GetATETextRange(art, &ref));
    ATE::ITextRange range(ref);
    range.GetContents(text.data(), kRecordTextRoom);
}

// The first text of the layer whose text starts with the key; its text when text is given.
AIArtHandle FindRecord(AILayerHandle layer, const char* key, std::vector<char>* text)
{
    AIArtHandle group = nullptr;
    if (layer == nullptr || sAIArt->GetFirstArtOfLayer(layer, &group) != kNoErr || group == nullptr) return nullptr;
    AIArtHandle child = nullptr;
    sAIArt->GetArtFirstChild(group, &child);
    std::vector<char> buffer;
    while (child != nullptr) {
        ASInt16 type = kArtTypeUnknown;
        if (sAIArt->GetArtType(child, &type) == kNoErr && type == kArtTypeTextFrame) {
            ReadRecordText(child, buffer);
            if (std::strncmp(buffer.data(), key, 6) == 0) {
                if (text) *text = buffer;
                return child;
            }
        }
        AIArtHandle next = nullptr;
        if (sAIArt->GetArtSibling(child, &next) != kNoErr) break;
        child = next;
    }
    return nullptr;
}

// Steps 1 to 3 of both writers: the layer found or made, shown and unlocked but not
// printed, and its first record of the key gone.
ASErr PrepareRecordLayer(const char* key, AILayerHandle* layer)
{
    ASErr err = FindOwnLayer(kConfigurationLayer, layer);
    if (err != kNoErr) return err;
    if (*layer == nullptr) {
        err = CreateConfigurationLayer(layer);
        if (err != kNoErr) return err;
    }
    sAILayer->SetLayerVisible(*layer, 1);
    sAILayer->SetLayerEditable(*layer, 1);
    sAILayer->SetLayerPreview(*layer, 1);
    sAILayer->SetLayerPrinted(*layer, 0);
    if (AIArtHandle old = FindRecord(*layer, key, nullptr)) sAIArt->DisposeArt(old);
    return kNoErr;
}

// A new invisible point text in the layer's group; null when the host gives none.
AIArtHandle NewRecordText(AILayerHandle layer)
{
    AIArtHandle group = nullptr;
    if (sAIArt->GetFirstArtOfLayer(layer, &group) != kNoErr) return nullptr;
    AIArtHandle text = nullptr;
    if (sAITextFrame->NewPointText(kPlaceInsideOnTop, group, kHorizontalTextOrientation, kRecordAnchor, &text) !=
        kNoErr)
        return nullptr;
    return text;
}

// Fill and stroke off, then the text.
void InsertRecordText(AIArtHandle art, const std::string& text)
{
    ATE::TextRangeRef ref = nullptr;
    ATE::Check(sAITextFrame->GetATETextRange(art, &ref));
    ATE::ITextRange range(ref);
    ATE::ICharFeatures features = range.GetCharFeatures();
    features.SetFill(0);
    features.SetStroke(0);
    range.SetLocalCharFeatures(features);
    InsertShiftJisText(range, text.c_str());
}

// Leading decimal digits, 0 when there are none.
int32_t ReadDecimal(const char* text)
{
    int32_t value = 0;
    for (const char* p = text; *p >= '0' && *p <= '9'; ++p) {
        value = value * 10 + (*p - '0');
        if (value > 100000000) break;
    }
    return value;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool ToolSlotUsable(int32_t tool)
{
    if (tool < 1 || tool > kToolSlotCount) return false;
    if (g->pPlotSettings == nullptr) return true;
    const int16_t type = g->pPlotSettings->aToolSlot[tool - 1].wType;
    return type != 0 && type < 12;
}

}  // namespace

const char* OwnLayerTitle(OwnLayer which)
{
    char* stored = gOwnTitles[which];
    stored[0] = static_cast<char>(std::strlen(stored + 1));
    return stored + 1;
}

bool IsOwnLayerTitle(const char* title)
{
    for (OwnLayer which : {kConfigurationLayer, kTemporallyLayer, kPlottingLayer})
        if (std::strcmp(title, OwnLayerTitle(which)) == 0) return true;
    return false;
}

ASErr FindOwnLayer(OwnLayer which, AILayerHandle* layer)
{
    *layer = nullptr;
    AIUnicodeStringRef title = nullptr;
    ASErr err = MakeHostString(OwnLayerTitle(which), kAIShiftJisCharacterEncoding, &title);
    if (err != kNoErr) return err;
    err = sAILayer->GetLayerByTitle(title, layer);
    DisposeHostString(title);
    return err;
}

ASErr SetOwnLayerTitle(AILayerHandle layer, OwnLayer which)
{
    AIUnicodeStringRef title = nullptr;
    ASErr err = MakeHostString(OwnLayerTitle(which), kAIShiftJisCharacterEncoding, &title);
    if (err != kNoErr) return err;
    err = sAILayer->SetLayerTitle(layer, title);
    DisposeHostString(title);
    return err;
}

int16_t NextToken(const char* text, char delimiter, int32_t* position, char token[256])
{
    int length = 0;
    token[0] = '\0';
    for (;;) {
        if (*position >= kTokenEnd || text[*position] == '\0') {
            token[length] = '\0';
            return 1;
        }
        const char c = text[(*position)++];
        if (c == delimiter || c == '\r') {
            token[length] = '\0';
            return 0;
        }
        if (c == ' ' || c == '\n') continue;
        if (length < 255) token[length++] = c;
    }
}

int32_t SaveLayerToolAssignments()
{
    AILayerHandle layer = nullptr;
    ASErr status = PrepareRecordLayer(kToolRecordKey, &layer);
    if (status != kNoErr) return status;

    if (AIArtHandle art = NewRecordText(layer)) {
        ASInt32 count = 0;
        sAILayer->CountLayers(&count);
        if (count > 100) count = 100;
        std::string text = std::string(kToolRecordKey) + " " + kVersionText + "\r\n" + kRuler + "\r\n";
        int16_t k = 0;
        for (ASInt32 i = 0; i < count; ++i) {
            AILayerHandle host = nullptr;
            status = sAILayer->GetNthLayer(i, &host);
            if (status != kNoErr) break;
            char title[kTitleRoom] = {};
            sAILayer->GetLayerTitle(host, title, kTitleRoom);
            if (IsOwnLayerTitle(title)) continue;
            int16_t fOutput = 0, wTool = 0;
            char name[64];
            GetLayerRow(k, &fOutput, name, &wTool);
            sAILayer->SetLayerPrinted(host, fOutput != 0);
            ++k;
            char line[64];
            std::snprintf(line, sizeof line, "  Layer = %5d, ToolID = %5d\r\n", k, wTool);
            text += line;
        }
        text += std::string(kRuler) + "\r\n";
        InsertRecordText(art, text);
    }
    sAILayer->SetLayerEditable(layer, 0);
    return status;
}

int32_t LoadLayerToolAssignments()
{
    AILayerHandle layer = nullptr;
    std::vector<char> record;
    bool found = false;
    if (FindOwnLayer(kConfigurationLayer, &layer) == kNoErr && layer != nullptr)
        found = FindRecord(layer, kToolRecordKey, &record) != nullptr;

    ASInt32 count = 0;
    ASErr status = sAILayer->CountLayers(&count);
    if (status != kNoErr) return status;
    int32_t ordinal = 0;
    for (ASInt32 n = 0; n < count; ++n) {
        AILayerHandle host = nullptr;
        status = sAILayer->GetNthLayer(n, &host);
        if (status != kNoErr) break;
        char title[kTitleRoom] = {};
        sAILayer->GetLayerTitle(host, title, kTitleRoom);
        if (IsOwnLayerTitle(title)) continue;
        ++ordinal;
        ASBoolean printed = 0;
        sAILayer->GetLayerPrinted(host, &printed);

        int32_t tool = 1;
        if (found) {
            int32_t position = 0;
            char token[256];
            for (;;) {
                int16_t end = NextToken(record.data(), '=', &position, token);
                if (!end && std::strcmp(token, "Layer") == 0) {
                    end = NextToken(record.data(), ',', &position, token);
                    if (!end && ReadDecimal(token) == ordinal) {
                        end = NextToken(record.data(), '=', &position, token);
                        if (!end && std::strcmp(token, "ToolID") == 0) {
                            end = NextToken(record.data(), ',', &position, token);
                            tool = ReadDecimal(token);
                        }
                    }
                }
                if (end) break;
            }
            if (!ToolSlotUsable(tool)) tool = 1;
        }
        AddLayerRow(printed ? 1 : 0, title, static_cast<int16_t>(tool));
    }
    return status;
}

int32_t SavePageSetupToDocument()
{
    AILayerHandle layer = nullptr;
    if (PrepareRecordLayer(kPageRecordKey, &layer) != kNoErr) return 0;
    if (AIArtHandle art = NewRecordText(layer)) {
        std::string text = std::string(kPageRecordKey) + " " + kVersionText + "\r\n";
        if (g->pPageSetup != nullptr) {
            text += "\r\nTPRINT/\r\n";
            const unsigned char* bytes = reinterpret_cast<const unsigned char*>(g->pPageSetup);
            char piece[8];
            for (int i = 0; i < kPageBytes; ++i) {
                if (i % 10 == 0) {
                    std::snprintf(piece, sizeof piece, "%02X: ", i / 10);
                    text += piece;
                }
                std::snprintf(piece, sizeof piece, "%02X", bytes[i]);
                text += piece;
                if (i % 10 == 9) text += "\r\n";
            }
            if (kPageBytes % 10 != 0) text += "\r\n";
            text += "/TPRINT\r\n";
        }
        InsertRecordText(art, text);
    }
    sAILayer->SetLayerEditable(layer, 0);
    return 0;
}

int32_t LoadPageSetupFromDocument()
{
    AILayerHandle layer = nullptr;
    std::vector<char> record;
    if (FindOwnLayer(kConfigurationLayer, &layer) != kNoErr || layer == nullptr) return 0;
    if (FindRecord(layer, kPageRecordKey, &record) == nullptr || g->pPageSetup == nullptr) return 0;

    unsigned char* bytes = reinterpret_cast<unsigned char*>(g->pPageSetup);
    std::memset(bytes, 0, kPageBytes);
    int stored = 0;
    bool inBlock = false;
    int32_t position = 0;
    char token[256];
    for (;;) {
        const int16_t end = NextToken(record.data(), '=', &position, token);
        if (std::strcmp(token, "TPRINT/") == 0) {
            inBlock = true;
        } else if (std::strcmp(token, "/TPRINT") == 0) {
            inBlock = false;
        } else if (inBlock && std::strlen(token) >= 3 && token[2] == ':') {
            const char* p = token + 3;
            for (int n = 0; n < 10; ++n, p += 2) {
                const int high = HexDigit(p[0]);
                const int low = high < 0 ? -1 : HexDigit(p[1]);
                if (high < 0 || low < 0) break;
                if (stored < kPageBytes) bytes[stored++] = static_cast<unsigned char>(high * 16 + low);
            }
        }
        if (end) break;
    }
    return 0;
}
