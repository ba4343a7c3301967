// Text frames to outlines: the frame's layout, its glyph outlines, a group of compound paths.
#include "host/suites/text_outline.h"

#include "host/suites/art_handles.h"
#include "host/suites/text_engine.h"

namespace host {

ASErr CreateTextOutline(AIArtHandle text, AIArtHandle* outline)
{
    if (outline) *outline = nullptr;
    Art* art = LiveArt(text);
    if (!art || art->type != ArtType::TextFrame || !outline) return kBadParameterErr;
    std::shared_ptr<LaidOutFrame> frame;
    ASErr err = LayOutFrame(art, frame);
    if (err != kNoErr) return err;
    // The laid-out frame has y downward: back to the layout's own space and to artwork.
    TextLayout layout = frame->layout;
    for (TextLine& line : layout.lines)
        for (GlyphRun& run : line.runs)
            for (AIRealPoint& p : run.origins) p.v = -p.v;
    const AIRealMatrix& m = frame->matrix;
    AIRealMatrix toArtwork{m.a, -m.b, -m.c, m.d, m.tx, -m.ty};
    std::vector<GlyphOutline> glyphs;
    err = OutlineTextLayout(layout, toArtwork, &glyphs);
    if (err != kNoErr) return err;

    PathStyle style;
    style.fFillPaint = true;
    if (!art->text.runs.empty()) style.fillColor = art->text.runs.front().chars.fillColor;
    style.fStrokePaint = false;
    Art* group = nullptr;
    err = NewArt(*art->doc, ArtType::Group, Placement::Above, art, &group);
    if (err != kNoErr) return err;
    Art* previousGlyph = nullptr;
    for (const GlyphOutline& glyph : glyphs) {
        if (glyph.contours.empty()) continue;
        Art* compound = nullptr;
        err = previousGlyph ? NewArt(*art->doc, ArtType::CompoundPath, Placement::Below, previousGlyph, &compound)
                            : NewArt(*art->doc, ArtType::CompoundPath, Placement::InsideOnTop, group, &compound);
        if (err != kNoErr) break;
        SetPathStyle(compound, style);
        Art* previous = nullptr;
        for (const GlyphContour& contour : glyph.contours) {
            Art* path = nullptr;
            err = previous ? NewArt(*art->doc, ArtType::Path, Placement::Below, previous, &path)
                           : NewArt(*art->doc, ArtType::Path, Placement::InsideOnTop, compound, &path);
            if (err != kNoErr) break;
            SetPathSegments(path, contour.segments);
            SetPathClosed(path, contour.fClosed);
            SetPathStyle(path, style);
            previous = path;
        }
        if (err != kNoErr) break;
        previousGlyph = compound;
    }
    if (err != kNoErr) {
        DisposeArt(group);
        return err;
    }
    *outline = ToHandle(group);
    return kNoErr;
}

}  // namespace host
