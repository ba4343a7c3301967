// The text engine's object registry and the feature values its objects carry.
#include "host/suites/text_engine.h"

#include "host/suites/art_suites.h"

#include "platform/code_pages.h"

#include <mutex>
#include <unordered_map>

namespace host {
namespace {

std::unordered_map<const void*, std::unique_ptr<EngineObject>>& Registry()
{
    static std::unordered_map<const void*, std::unique_ptr<EngineObject>> objects;
    return objects;
}

template <typename T>
void Keep(std::optional<T>& value, const std::optional<T>& other)
{
    if (value && (!other || !(*value == *other))) value.reset();
}

bool SameColor(const Color& a, const Color& b) { return a.red == b.red && a.green == b.green && a.blue == b.blue; }

}  // namespace

EngineObject* RegisterEngineObject(EngineObject* object)
{
    Registry()[object] = std::unique_ptr<EngineObject>(object);
    return object;
}

EngineObject* FindEngineObject(const void* ref, EngineKind kind)
{
    if (!ref) return nullptr;
    auto it = Registry().find(ref);
    if (it == Registry().end() || it->second->kind != kind) return nullptr;
    return it->second.get();
}

ATE::ATEErr AddEngineRef(const void* ref, EngineKind kind)
{
    EngineObject* object = FindEngineObject(ref, kind);
    if (!object) return kBadParameterErr;
    ++object->refs;
    return kNoErr;
}

ATE::ATEErr ReleaseEngineRef(const void* ref, EngineKind kind)
{
    EngineObject* object = FindEngineObject(ref, kind);
    if (!object) return kBadParameterErr;
    if (--object->refs <= 0) Registry().erase(ref);
    return kNoErr;
}

int LiveEngineObjects() { return static_cast<int>(Registry().size()); }

CharValues AllChars(const CharFeatures& c)
{
    CharValues v;
    v.font = FontValue{c.fontFamily, c.fontStyle};
    v.fontSize = c.fontSize;
    v.horizontalScale = c.horizontalScale;
    v.verticalScale = c.verticalScale;
    v.baselineShift = c.baselineShift;
    v.lineWidth = c.strokeWidth;
    v.tracking = static_cast<int32_t>(c.tracking);
    v.fill = c.fFillOn;
    v.stroke = c.fStrokeOn;
    v.fillColor = ToStyleColor(c.fillColor);
    v.strokeColor = ToStyleColor(c.strokeColor);
    v.dashArray = c.dashArray;
    return v;
}

ParaValues AllParas(const ParaFeatures& p)
{
    ParaValues v;
    v.justification = p.justification;
    v.leading = p.leading;
    v.kinsoku = p.kinsoku;
    v.mojikumi = p.mojikumi;
    return v;
}

void IntersectChars(CharValues& v, const CharValues& o)
{
    Keep(v.font, o.font);
    Keep(v.fontSize, o.fontSize);
    Keep(v.horizontalScale, o.horizontalScale);
    Keep(v.verticalScale, o.verticalScale);
    Keep(v.baselineShift, o.baselineShift);
    Keep(v.lineWidth, o.lineWidth);
    Keep(v.tracking, o.tracking);
    Keep(v.fill, o.fill);
    Keep(v.stroke, o.stroke);
    Keep(v.fillColor, o.fillColor);
    Keep(v.strokeColor, o.strokeColor);
    Keep(v.dashArray, o.dashArray);
}

void IntersectParas(ParaValues& v, const ParaValues& o)
{
    Keep(v.justification, o.justification);
    Keep(v.leading, o.leading);
    Keep(v.kinsoku, o.kinsoku);
    Keep(v.mojikumi, o.mojikumi);
}

void ApplyChars(const CharValues& v, CharFeatures& c)
{
    if (v.font) c.fontFamily = v.font->family, c.fontStyle = v.font->style;
    if (v.fontSize) c.fontSize = *v.fontSize;
    if (v.horizontalScale) c.horizontalScale = *v.horizontalScale;
    if (v.verticalScale) c.verticalScale = *v.verticalScale;
    if (v.baselineShift) c.baselineShift = *v.baselineShift;
    if (v.lineWidth) c.strokeWidth = *v.lineWidth;
    if (v.tracking) c.tracking = *v.tracking;
    if (v.fill) c.fFillOn = *v.fill;
    if (v.stroke) c.fStrokeOn = *v.stroke;
    if (v.fillColor) c.fillColor = ToColor(*v.fillColor);
    if (v.strokeColor) c.strokeColor = ToColor(*v.strokeColor);
    if (v.dashArray) c.dashArray = *v.dashArray;
}

void ApplyParas(const ParaValues& v, ParaFeatures& p)
{
    if (v.justification) p.justification = *v.justification;
    if (v.leading) p.leading = *v.leading;
    if (v.kinsoku) p.kinsoku = *v.kinsoku;
    if (v.mojikumi) p.mojikumi = *v.mojikumi;
}

bool SameChars(const CharFeatures& a, const CharFeatures& b)
{
    return a.fontFamily == b.fontFamily && a.fontStyle == b.fontStyle && a.fontSize == b.fontSize &&
           a.fFillOn == b.fFillOn && SameColor(a.fillColor, b.fillColor) && a.fStrokeOn == b.fStrokeOn &&
           SameColor(a.strokeColor, b.strokeColor) && a.strokeWidth == b.strokeWidth && a.tracking == b.tracking &&
           a.horizontalScale == b.horizontalScale && a.verticalScale == b.verticalScale &&
           a.baselineShift == b.baselineShift && a.dashArray == b.dashArray;
}

bool SameParas(const ParaFeatures& a, const ParaFeatures& b)
{
    return a.justification == b.justification && a.leading == b.leading && a.kinsoku == b.kinsoku &&
           a.mojikumi == b.mojikumi;
}

int32_t CopyEightBit(const std::string& text, char* buffer, int32_t room)
{
    if (!buffer || room < 1) return 0;
    size_t limit = static_cast<size_t>(room) - 1;
    size_t end = 0;
    while (end < text.size()) {
        unsigned char c = static_cast<unsigned char>(text[end]);
        bool lead = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
        size_t n = lead && end + 1 < text.size() ? 2 : 1;
        if (end + n > limit) break;
        end += n;
    }
    text.copy(buffer, end);
    buffer[end] = '\0';
    return static_cast<int32_t>(end);
}

const char* const kKinsokuSetNames[2] = {"Hard", "Soft"};
const char* const kMojiKumiSetNames[2] = {"Tight", "Loose"};

}  // namespace host
