// The host's Path Style suite over the session's document.
#include "host/suites/art_handles.h"
#include "host/suites/art_suites.h"

#include <algorithm>
#include <cmath>

namespace host {
namespace {

Art* LiveStyled(AIArtHandle handle)
{
    Art* art = LiveArt(handle);
    return art && (art->type == ArtType::Path || art->type == ArtType::CompoundPath) ? art : nullptr;
}

bool Unit(double x) { return std::isfinite(x) && x >= 0 && x <= 1; }

bool FromStyleColor(const AIStyleColor& c, Color& out)
{
    if (c.kind == kStyleColorGray) {
        if (!Unit(c.gray)) return false;
        out.red = out.green = out.blue = 1 - c.gray;
        return true;
    }
    if (c.kind == kStyleColorRgb) {
        if (!Unit(c.red) || !Unit(c.green) || !Unit(c.blue)) return false;
        out = Color{c.red, c.green, c.blue};
        return true;
    }
    return false;
}

ASErr GetPathStyle(AIArtHandle handle, AIPathStyle* style)
{
    Art* art = LiveStyled(handle);
    if (!art || !style) return kBadParameterErr;
    const PathStyle& s = art->style;
    AIPathStyle out{};
    out.fFillPaint = s.fFillPaint;
    out.fillColor = ToStyleColor(s.fillColor);
    out.fFillOverprint = s.fFillOverprint;
    out.fStrokePaint = s.fStrokePaint;
    out.strokeColor = ToStyleColor(s.strokeColor);
    out.fStrokeOverprint = s.fStrokeOverprint;
    out.strokeWidth = s.strokeWidth;
    // a longer pattern of the drawing is answered by its first lengths (an even number)
    size_t dashes = std::min(s.dashArray.size(), static_cast<size_t>(kPathStyleMaxDashes));
    out.dashCount = static_cast<ASInt16>(dashes);
    std::copy_n(s.dashArray.begin(), dashes, out.dashValues);
    out.dashOffset = s.dashOffset;
    out.lineCap = static_cast<ASInt16>(s.lineCap);
    out.lineJoin = static_cast<ASInt16>(s.lineJoin);
    out.miterLimit = s.miterLimit;
    out.fEvenOdd = s.fEvenOdd;
    *style = out;
    return kNoErr;
}

ASErr SetPathStyleFn(AIArtHandle handle, const AIPathStyle* style)
{
    Art* art = LiveStyled(handle);
    if (!art || !style) return kBadParameterErr;
    const AIPathStyle& in = *style;
    PathStyle s = art->style;  // what the record does not carry (opacity) stays
    if (!FromStyleColor(in.fillColor, s.fillColor) || !FromStyleColor(in.strokeColor, s.strokeColor))
        return kBadParameterErr;
    if (!std::isfinite(in.strokeWidth) || in.strokeWidth < 0) return kBadParameterErr;
    if (in.dashCount < 0 || in.dashCount > kPathStyleMaxDashes || !std::isfinite(in.dashOffset))
        return kBadParameterErr;
    if (in.lineCap < 0 || in.lineCap > 2 || in.lineJoin < 0 || in.lineJoin > 2) return kBadParameterErr;
    if (!std::isfinite(in.miterLimit) || in.miterLimit < 0) return kBadParameterErr;
    s.dashArray.clear();
    for (int i = 0; i < in.dashCount; ++i) {
        if (!std::isfinite(in.dashValues[i]) || in.dashValues[i] < 0) return kBadParameterErr;
        s.dashArray.push_back(in.dashValues[i]);
    }
    s.fFillPaint = in.fFillPaint != 0;
    s.fFillOverprint = in.fFillOverprint != 0;
    s.fStrokePaint = in.fStrokePaint != 0;
    s.fStrokeOverprint = in.fStrokeOverprint != 0;
    s.strokeWidth = in.strokeWidth;
    s.dashOffset = in.dashOffset;
    s.lineCap = in.lineCap;
    s.lineJoin = in.lineJoin;
    s.miterLimit = in.miterLimit;
    s.fEvenOdd = in.fEvenOdd != 0;
    SetPathStyle(art, s);
    // the members of a compound path are drawn with its style
    for (Art* member : art->children)
        if (member->type == ArtType::Path) SetPathStyle(member, s);
    return kNoErr;
}

const AIPathStyleSuite kSuite = {
    GetPathStyle,
    SetPathStyleFn,
};

}  // namespace

Color ToColor(const AIStyleColor& color)
{
    if (color.kind == kStyleColorGray) return Color{1 - color.gray, 1 - color.gray, 1 - color.gray};
    return Color{color.red, color.green, color.blue};
}

AIStyleColor ToStyleColor(const Color& color)
{
    AIStyleColor out{};
    out.kind = kStyleColorRgb;
    out.red = color.red;
    out.green = color.green;
    out.blue = color.blue;
    return out;
}

const AIPathStyleSuite* HostPathStyleSuite() { return &kSuite; }

}  // namespace host
