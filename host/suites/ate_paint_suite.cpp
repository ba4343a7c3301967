// The host's ATE Paint suite: colours and dash arrays of the text engine.
#include "host/suites/text_engine.h"

#include <algorithm>

namespace host {
namespace {

ASErr GetAIColor(ATE::ApplicationPaintRef paint, AIStyleColor* color)
{
    auto* object = Find<PaintObject>(paint, EngineKind::Paint);
    if (!object || !color) return kBadParameterErr;
    *color = object->color;
    return kNoErr;
}

ASErr CreatePaint(const AIStyleColor* color, ATE::ApplicationPaintRef* paint)
{
    if (!color || !paint || (color->kind != kStyleColorGray && color->kind != kStyleColorRgb)) return kBadParameterErr;
    auto* object = new PaintObject;
    object->color = *color;
    *paint = NewRef<ATE::ApplicationPaintRef>(object);
    return kNoErr;
}

ASErr GetDashArray(ATE::ArrayRealRef array, AIReal* values, ASInt32 room, ASInt32* count)
{
    auto* object = Find<ArrayRealObject>(array, EngineKind::ArrayReal);
    if (!object || !count || room < 0 || (room > 0 && !values)) return kBadParameterErr;
    *count = static_cast<ASInt32>(object->values.size());
    size_t n = std::min(object->values.size(), static_cast<size_t>(room));
    std::copy(object->values.begin(), object->values.begin() + n, values);
    return kNoErr;
}

ASErr CreateDashArray(const AIReal* values, ASInt32 count, ATE::ArrayRealRef* array)
{
    if (!array || count < 0 || (count > 0 && !values)) return kBadParameterErr;
    auto* object = new ArrayRealObject;
    object->values.assign(values, values + count);
    *array = NewRef<ATE::ArrayRealRef>(object);
    return kNoErr;
}

const AIATEPaintSuite kPaintSuite = {GetAIColor, CreatePaint, GetDashArray, CreateDashArray};

}  // namespace

const AIATEPaintSuite* HostATEPaintSuite() { return &kPaintSuite; }

}  // namespace host
