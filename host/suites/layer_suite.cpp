// The host's Layer suite over the session's document.
#include "host/suites/art_handles.h"
#include "host/suites/art_suites.h"
#include "platform/code_pages.h"
#include "host/session/host_session.h"
#include "host/suites/host_strings.h"

#include <algorithm>
#include <string>

namespace host {
namespace {

ASErr CountLayersFn(ASInt32* count)
{
    Document* doc = HostDocument();
    if (!doc || !count) return kBadParameterErr;
    *count = CountLayers(*doc);
    return kNoErr;
}

ASErr GetNthLayer(ASInt32 n, AILayerHandle* layer)
{
    if (layer) *layer = nullptr;
    Document* doc = HostDocument();
    if (!doc || !layer) return kBadParameterErr;
    Layer* found = NthLayer(*doc, n);
    if (!found) return kBadParameterErr;
    *layer = ToHandle(found);
    return kNoErr;
}

ASErr GetCurrentLayer(AILayerHandle* layer)
{
    if (layer) *layer = nullptr;
    Document* doc = HostDocument();
    if (!doc || !layer) return kBadParameterErr;
    Layer* current = LiveLayer(ToHandle(doc->currentLayer));
    if (!current && !doc->layers.empty()) current = doc->layers.front();
    *layer = ToHandle(current);
    return kNoErr;
}

ASErr SetCurrentLayer(AILayerHandle handle)
{
    Layer* layer = LiveLayer(handle);
    if (!layer) return kBadParameterErr;
    layer->doc->currentLayer = layer;
    return kNoErr;
}

ASErr GetFirstLayer(AILayerHandle* layer) { return GetNthLayer(0, layer); }

// The layer delta places away from this one, null past either end.
ASErr Neighbour(AILayerHandle handle, AILayerHandle* out, int delta)
{
    if (out) *out = nullptr;
    Layer* layer = LiveLayer(handle);
    if (!layer || !out) return kBadParameterErr;
    const auto& layers = layer->doc->layers;
    int index = static_cast<int>(std::find(layers.begin(), layers.end(), layer) - layers.begin());
    *out = ToHandle(NthLayer(*layer->doc, index + delta));
    return kNoErr;
}

ASErr GetNextLayer(AILayerHandle layer, AILayerHandle* next) { return Neighbour(layer, next, 1); }
ASErr GetPrevLayer(AILayerHandle layer, AILayerHandle* previous) { return Neighbour(layer, previous, -1); }

bool TitleText(AIUnicodeStringRef title, std::string& utf8)
{
    const HostString* string = FindHostString(title);
    if (!string) return false;
    utf8 = Utf16ToUtf8(string->utf16);
    return true;
}

ASErr GetLayerByTitle(AIUnicodeStringRef title, AILayerHandle* layer)
{
    if (layer) *layer = nullptr;
    Document* doc = HostDocument();
    std::string text;
    if (!doc || !layer || !TitleText(title, text)) return kBadParameterErr;
    *layer = ToHandle(FindLayerByTitle(*doc, text));
    return kNoErr;
}

ASErr InsertLayerFn(AILayerHandle reference, ASInt16 placement, AILayerHandle* layer)
{
    if (layer) *layer = nullptr;
    Document* doc = HostDocument();
    Placement where;
    if (!doc || !layer || !ToPlacement(placement, where)) return kBadParameterErr;
    Layer* ref = nullptr;
    if (reference) {
        ref = LiveLayer(reference);
        // layers hold no layers here
        if (!ref || where == Placement::InsideOnTop || where == Placement::InsideOnBottom) return kBadParameterErr;
    }
    Layer* made = nullptr;
    ASErr err = InsertLayer(*doc, ref, where, &made);
    if (err == kNoErr) *layer = ToHandle(made);
    return err;
}

ASErr DeleteLayer(AILayerHandle handle)
{
    Layer* layer = LiveLayer(handle);
    return layer ? DisposeLayer(layer) : kBadParameterErr;
}

bool IsShiftJisLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

ASErr GetLayerTitle(AILayerHandle handle, char* buffer, ASInt32 room)
{
    Layer* layer = LiveLayer(handle);
    if (!layer || !buffer || room < 1) return kBadParameterErr;
    std::string text = ToEightBit(Utf8ToUtf16(layer->title));
    size_t limit = static_cast<size_t>(room) - 1;
    size_t end = 0;
    while (end < text.size()) {
        size_t n = IsShiftJisLead(static_cast<unsigned char>(text[end])) && end + 1 < text.size() ? 2 : 1;
        if (end + n > limit) break;
        end += n;
    }
    text.copy(buffer, end);
    buffer[end] = '\0';
    return kNoErr;
}

ASErr SetLayerTitleFn(AILayerHandle handle, AIUnicodeStringRef title)
{
    Layer* layer = LiveLayer(handle);
    std::string text;
    if (!layer || !TitleText(title, text)) return kBadParameterErr;
    SetLayerTitle(layer, text);
    return kNoErr;
}

// The flag getters and setters share their checks.
ASErr GetFlag(AILayerHandle handle, ASBoolean* out, bool Layer::*flag)
{
    Layer* layer = LiveLayer(handle);
    if (!layer || !out) return kBadParameterErr;
    *out = layer->*flag;
    return kNoErr;
}

ASErr SetFlag(AILayerHandle handle, ASBoolean value, void (*set)(Layer*, bool))
{
    Layer* layer = LiveLayer(handle);
    if (!layer) return kBadParameterErr;
    set(layer, value != 0);
    return kNoErr;
}

ASErr GetLayerVisible(AILayerHandle l, ASBoolean* v) { return GetFlag(l, v, &Layer::fVisible); }
ASErr SetLayerVisibleFn(AILayerHandle l, ASBoolean v) { return SetFlag(l, v, SetLayerVisible); }
ASErr GetLayerEditable(AILayerHandle l, ASBoolean* v) { return GetFlag(l, v, &Layer::fEditable); }
ASErr SetLayerEditableFn(AILayerHandle l, ASBoolean v) { return SetFlag(l, v, SetLayerEditable); }
ASErr GetLayerPreview(AILayerHandle l, ASBoolean* v) { return GetFlag(l, v, &Layer::fPreview); }
ASErr SetLayerPreviewFn(AILayerHandle l, ASBoolean v) { return SetFlag(l, v, SetLayerPreview); }
ASErr GetLayerPrinted(AILayerHandle l, ASBoolean* v) { return GetFlag(l, v, &Layer::fPrinted); }
ASErr SetLayerPrintedFn(AILayerHandle l, ASBoolean v) { return SetFlag(l, v, SetLayerPrinted); }

void Deselect(Art* art)
{
    art->fSelected = false;
    for (Art* child : art->children) Deselect(child);
}

ASErr DeselectArtOnLayer(AILayerHandle handle)
{
    Layer* layer = LiveLayer(handle);
    if (!layer) return kBadParameterErr;
    if (layer->group) Deselect(layer->group);
    return kNoErr;
}

const AILayerSuite kSuite = {
    CountLayersFn,
    GetNthLayer,
    GetCurrentLayer,
    SetCurrentLayer,
    GetFirstLayer,
    GetNextLayer,
    GetPrevLayer,
    GetLayerByTitle,
    InsertLayerFn,
    DeleteLayer,
    GetLayerTitle,
    SetLayerTitleFn,
    GetLayerVisible,
    SetLayerVisibleFn,
    GetLayerEditable,
    SetLayerEditableFn,
    GetLayerPreview,
    SetLayerPreviewFn,
    GetLayerPrinted,
    SetLayerPrintedFn,
    {UnusedSelector, UnusedSelector, UnusedSelector, UnusedSelector, UnusedSelector, UnusedSelector, UnusedSelector},
    DeselectArtOnLayer,
};

}  // namespace

const AILayerSuite* HostLayerSuite() { return &kSuite; }

}  // namespace host
