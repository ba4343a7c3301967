// Point text, text on a path and text outlines over the font library.
#include "host/text/text_layout.h"

#include "host/text/text_bidi.h"

#include <algorithm>
#include <cmath>

namespace {

bool IsLineBreak(char32_t cp)
{
    return cp == U'\n' || cp == U'\r' || cp == 0x2028 || cp == 0x2029 || cp == 0x0003;
}

bool ValidStyle(const TextStyle& s)
{
    auto positive = [](double x) { return std::isfinite(x) && x > 0; };
    return positive(s.dFontSize) && positive(s.dHorizontalScale) && positive(s.dVerticalScale) &&
           std::isfinite(s.dLeading) && std::isfinite(s.dTracking);
}

double LeadingOf(const TextStyle& s) { return s.dLeading > 0 ? s.dLeading : 1.2 * s.dFontSize; }

// One character of the text with the span that gives its style.
struct Item {
    char32_t cp;
    size_t iSpan;
    int iChar;
    int iUnit16;
    char32_t glyph = 0;  // the form drawn; set by ShapeLines
};

struct LogicalLine {
    std::vector<Item> items;
    size_t iOpeningSpan = 0;
};

// Splits the spans into lines of characters; breaks themselves are dropped.
std::vector<LogicalLine> SplitLines(const std::vector<TextSpan>& spans, bool fBreaks)
{
    std::vector<LogicalLine> lines(1);
    int iChar = 0, iUnit16 = 0;
    for (size_t i = 0; i < spans.size(); ++i) {
        if (i == 0) lines.back().iOpeningSpan = 0;
        if (fBreaks && spans[i].fStartsLine && !lines.back().items.empty()) {
            lines.emplace_back();
            lines.back().iOpeningSpan = i;
        }
        std::u32string text = DecodeUtf8(spans[i].szText);
        for (size_t k = 0; k < text.size(); ++k) {
            char32_t cp = text[k];
            int units = cp >= 0x10000 ? 2 : 1;
            if (IsLineBreak(cp)) {
                if (fBreaks && !(cp == U'\n' && k > 0 && text[k - 1] == U'\r')) {
                    lines.emplace_back();
                    lines.back().iOpeningSpan = i;
                }
            } else {
                lines.back().items.push_back(Item{cp, i, iChar, iUnit16});
            }
            ++iChar;
            iUnit16 += units;
        }
    }
    if (lines.back().items.empty()) lines.pop_back();
    return lines;
}

// The form each character is drawn in: Arabic letters join with their neighbours on the line.
void ShapeLines(std::vector<LogicalLine>* lines)
{
    for (LogicalLine& line : *lines) {
        std::u32string text;
        for (const Item& item : line.items) text += item.cp;
        const BidiLine bidi = ResolveBidiLine(text);
        for (size_t i = 0; i < line.items.size(); ++i) line.items[i].glyph = bidi.shaped[i];
    }
}

struct Faces {
    std::vector<const FontFace*> bySpan;
};

ASErr FindFaces(const std::vector<TextSpan>& spans, Faces* faces)
{
    faces->bySpan.assign(spans.size(), nullptr);
    for (size_t i = 0; i < spans.size(); ++i) {
        if (!ValidStyle(spans[i].style)) return kBadParameterErr;
        ASErr err = FindFontFace(spans[i].style.szFamily.c_str(), spans[i].style.szStyle.c_str(),
                                 &faces->bySpan[i]);
        if (err != kNoErr) return err;
    }
    return kNoErr;
}

// Groups a line's characters into runs of equal style, with their advances.
ASErr BuildRuns(const LogicalLine& line, const std::vector<TextSpan>& spans, const Faces& faces,
                std::vector<GlyphRun>* pRuns)
{
    for (const Item& item : line.items) {
        const TextStyle& style = spans[item.iSpan].style;
        if (pRuns->empty() || !(pRuns->back().style == style)) {
            GlyphRun run;
            run.style = style;
            run.pFace = faces.bySpan[item.iSpan];
            run.iFirstChar = item.iChar;
            run.iFirstUnit16 = item.iUnit16;
            pRuns->push_back(std::move(run));
        }
        GlyphRun& run = pRuns->back();
        const char32_t glyph = item.glyph != 0 ? item.glyph : item.cp;
        CharMetrics m;
        ASErr err = GetCharMetrics(run.pFace, glyph, &m);
        if (err != kNoErr) return err;
        double advance = (m.dAdvance * style.dHorizontalScale + style.dTracking / 1000.0) *
                         style.dFontSize;
        run.text += item.cp;
        run.glyphs += glyph;
        run.advances.push_back(advance);
        run.origins.push_back(AIRealPoint{0, 0});
        run.angles.push_back(0);
    }
    return kNoErr;
}

void AddBodyBox(const GlyphRun& run, size_t k, bool* pAny, AIRealRect* r)
{
    double up = run.pFace->dAscender * run.style.dFontSize * run.style.dVerticalScale;
    double down = run.pFace->dDescender * run.style.dFontSize * run.style.dVerticalScale;
    double c = std::cos(run.angles[k]), s = std::sin(run.angles[k]);
    AIRealPoint o = run.origins[k];
    const double corners[4][2] = {{0, -down}, {run.advances[k], -down}, {0, up},
                                  {run.advances[k], up}};
    for (const auto& q : corners) {
        double h = o.h + q[0] * c - q[1] * s, v = o.v + q[0] * s + q[1] * c;
        if (!*pAny) {
            *r = AIRealRect{h, v, h, v};
            *pAny = true;
        }
        r->left = std::min(r->left, h);
        r->right = std::max(r->right, h);
        r->top = std::max(r->top, v);
        r->bottom = std::min(r->bottom, v);
    }
}

void ComputeBounds(TextLayout* layout)
{
    bool any = false;
    layout->rBounds = AIRealRect{0, 0, 0, 0};
    for (const TextLine& line : layout->lines)
        for (const GlyphRun& run : line.runs)
            for (size_t k = 0; k < run.text.size(); ++k) AddBodyBox(run, k, &any, &layout->rBounds);
}

// A path flattened into a polyline with the arc length at every vertex.
struct Polyline {
    std::vector<AIRealPoint> points;
    std::vector<double> lengths;
};

AIRealPoint CubicAt(AIRealPoint p0, AIRealPoint p1, AIRealPoint p2, AIRealPoint p3, double t)
{
    double u = 1 - t;
    double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
    return AIRealPoint{a * p0.h + b * p1.h + c * p2.h + d * p3.h,
                       a * p0.v + b * p1.v + c * p2.v + d * p3.v};
}

// Enough steps that the chords stay within a hundredth of a point of the curve.
int CubicSteps(AIRealPoint p0, AIRealPoint p1, AIRealPoint p2, AIRealPoint p3)
{
    double ax = p0.h - 2 * p1.h + p2.h, ay = p0.v - 2 * p1.v + p2.v;
    double bx = p1.h - 2 * p2.h + p3.h, by = p1.v - 2 * p2.v + p3.v;
    double m = std::max(std::hypot(ax, ay), std::hypot(bx, by));
    if (!(m > 0)) return 1;
    double n = std::ceil(std::sqrt(0.75 * m / 0.01));
    return int(std::clamp(n, 1.0, 1024.0));
}

Polyline Flatten(const std::vector<AIPathSegment>& path, bool fClosed)
{
    Polyline line;
    if (path.empty()) return line;
    line.points.push_back(path[0].ptAnchor);
    size_t pieces = fClosed ? path.size() : path.size() - 1;
    for (size_t i = 0; i < pieces; ++i) {
        const AIPathSegment& s1 = path[i];
        const AIPathSegment& s2 = path[(i + 1) % path.size()];
        int steps = CubicSteps(s1.ptAnchor, s1.ptOut, s2.ptIn, s2.ptAnchor);
        for (int k = 1; k <= steps; ++k)
            line.points.push_back(
                CubicAt(s1.ptAnchor, s1.ptOut, s2.ptIn, s2.ptAnchor, double(k) / steps));
    }
    line.lengths.assign(line.points.size(), 0);
    for (size_t i = 1; i < line.points.size(); ++i)
        line.lengths[i] = line.lengths[i - 1] + std::hypot(line.points[i].h - line.points[i - 1].h,
                                                           line.points[i].v - line.points[i - 1].v);
    return line;
}

bool PolylineAt(const Polyline& line, double s, AIRealPoint* p, double* angle)
{
    if (line.points.size() < 2 || !(line.lengths.back() > 0)) return false;
    s = std::clamp(s, 0.0, line.lengths.back());
    size_t i = size_t(std::upper_bound(line.lengths.begin(), line.lengths.end(), s) -
                      line.lengths.begin());
    i = std::clamp<size_t>(i, 1, line.points.size() - 1);
    // Skip zero-length pieces so that the direction is always defined.
    size_t j = i;
    while (j < line.points.size() - 1 && line.lengths[j] == line.lengths[j - 1]) ++j;
    while (j > 1 && line.lengths[j] == line.lengths[j - 1]) --j;
    AIRealPoint a = line.points[j - 1], b = line.points[j];
    double len = line.lengths[j] - line.lengths[j - 1];
    double t = len > 0 ? std::clamp((s - line.lengths[j - 1]) / len, 0.0, 1.0) : 0;
    *p = AIRealPoint{a.h + (b.h - a.h) * t, a.v + (b.v - a.v) * t};
    *angle = std::atan2(b.v - a.v, b.h - a.h);
    return true;
}

AIRealMatrix Multiply(const AIRealMatrix& first, const AIRealMatrix& then)
{
    // The point goes through first, then through then.
    return AIRealMatrix{first.a * then.a + first.b * then.c,
                        first.a * then.b + first.b * then.d,
                        first.c * then.a + first.d * then.c,
                        first.c * then.b + first.d * then.d,
                        first.tx * then.a + first.ty * then.c + then.tx,
                        first.tx * then.b + first.ty * then.d + then.ty};
}

// Walks the positions in step with the characters, which come in ascending order.
struct PositionCursor {
    const std::vector<TextCharPosition>& positions;
    size_t next = 0;
    const TextCharPosition* At(int unit)
    {
        while (next < positions.size() && positions[next].iUnit16 < unit) ++next;
        return next < positions.size() && positions[next].iUnit16 == unit ? &positions[next] : nullptr;
    }
};

// The characters of a chunk moved so that the chunk stands against its start as aligned.
void AlignChunk(const std::vector<AIRealPoint*>& chunk, double start, double end, int align)
{
    double shift = 0;
    if (align == kTextAlignCenter) shift = -(end - start) / 2;
    if (align == kTextAlignRight) shift = -(end - start);
    for (AIRealPoint* p : chunk) p->h += shift;
}

// One character of a line: its run, its place in the run and its UTF-16 index.
struct LineCharacter {
    GlyphRun* run;
    size_t k;
    int unit;
};

std::vector<LineCharacter> LineCharacters(TextLine* line)
{
    std::vector<LineCharacter> chars;
    for (GlyphRun& run : line->runs) {
        int unit = run.iFirstUnit16;
        for (size_t k = 0; k < run.text.size(); ++k) {
            chars.push_back(LineCharacter{&run, k, unit});
            unit += run.text[k] >= 0x10000 ? 2 : 1;
        }
    }
    return chars;
}

// The origins of a line's characters from h 0 on its baseline, each moved where the drawing
// places it: a character given h or v opens a chunk; inside a chunk the characters stand in
// visual order (right-to-left text reversed), and the chunk is aligned by the alignment of
// the style that opens it.
void PlaceLine(TextLine* line, int defaultAlign, PositionCursor* cursor)
{
    const std::vector<LineCharacter> chars = LineCharacters(line);
    std::vector<const TextCharPosition*> placed(chars.size(), nullptr);
    for (size_t i = 0; i < chars.size(); ++i) placed[i] = cursor->At(chars[i].unit);
    double h = 0, v = line->dBaseline;
    size_t i = 0;
    while (i < chars.size()) {
        size_t end = i + 1;
        while (end < chars.size() && !(placed[end] && (placed[end]->fHasX || placed[end]->fHasY))) ++end;
        if (placed[i] && placed[i]->fHasX) h = placed[i]->dX;
        if (placed[i] && placed[i]->fHasY) v = placed[i]->dY;
        if (i == 0) line->dBaseline = v + (placed[0] ? placed[0]->dDy : 0);
        const double start = h;
        const GlyphRun* opener = chars[i].run;
        const int align = opener->style.iAlign >= 0 ? opener->style.iAlign : defaultAlign;
        std::u32string text;
        for (size_t c = i; c < end; ++c) text += chars[c].run->text[chars[c].k];
        std::vector<AIRealPoint*> chunk;
        for (int index : ResolveBidiLine(text).visual) {
            const LineCharacter& c = chars[i + static_cast<size_t>(index)];
            if (const TextCharPosition* p = placed[i + static_cast<size_t>(index)]) {
                h += p->dDx;
                v += p->dDy;
            }
            c.run->origins[c.k] = AIRealPoint{h, v};
            chunk.push_back(&c.run->origins[c.k]);
            h += c.run->advances[c.k];
        }
        AlignChunk(chunk, start, h, align);
        i = end;
    }
}

}  // namespace

TextSpan MakeTextSpanUtf16(const std::u16string& text, const TextStyle& style, bool fStartsLine)
{
    return TextSpan{EncodeUtf8(DecodeUtf16(text)), style, fStartsLine};
}

ASErr LayoutPointText(const std::vector<TextSpan>& spans, const TextLayoutOptions& options,
                      TextLayout* pLayout)
{
    if (!pLayout) return kBadParameterErr;
    *pLayout = TextLayout{};
    Faces faces;
    ASErr err = FindFaces(spans, &faces);
    if (err != kNoErr) return err;
    double baseline = 0;
    PositionCursor cursor{options.positions};
    std::vector<LogicalLine> logical = SplitLines(spans, true);
    ShapeLines(&logical);
    for (size_t n = 0; n < logical.size(); ++n) {
        TextLine line;
        err = BuildRuns(logical[n], spans, faces, &line.runs);
        if (err != kNoErr) return err;
        line.dLeading = LeadingOf(spans[logical[n].iOpeningSpan].style);
        if (!line.runs.empty()) {
            line.dLeading = 0;
            for (const GlyphRun& run : line.runs)
                line.dLeading = std::max(line.dLeading, LeadingOf(run.style));
        }
        const double previous = baseline;
        if (n > 0) baseline -= line.dLeading;
        line.dBaseline = baseline;
        for (const GlyphRun& run : line.runs)
            for (double a : run.advances) line.dWidth += a;
        PlaceLine(&line, options.iAlign, &cursor);
        if (n > 0) line.dLeading = previous - line.dBaseline;
        baseline = line.dBaseline;
        pLayout->lines.push_back(std::move(line));
    }
    ComputeBounds(pLayout);
    return kNoErr;
}

ASErr LayoutPathText(const std::vector<TextSpan>& spans, const std::vector<AIPathSegment>& path,
                     bool fClosed, const TextLayoutOptions& options, TextLayout* pLayout)
{
    if (!pLayout || !std::isfinite(options.dPathStart)) return kBadParameterErr;
    *pLayout = TextLayout{};
    Faces faces;
    ASErr err = FindFaces(spans, &faces);
    if (err != kNoErr) return err;
    std::vector<LogicalLine> logical = SplitLines(spans, false);
    if (logical.empty()) return kNoErr;
    ShapeLines(&logical);
    TextLine all;
    err = BuildRuns(logical[0], spans, faces, &all.runs);
    if (err != kNoErr) return err;
    Polyline line = Flatten(path, fClosed);
    double total = line.lengths.empty() ? 0 : line.lengths.back();

    // Along the path in visual order (right-to-left text reversed), from the start on.
    struct Spot {
        bool fPlaced = false;
        AIRealPoint origin{0, 0};
        double angle = 0;
    };
    std::vector<std::pair<size_t, size_t>> refs;
    std::u32string text;
    for (size_t r = 0; r < all.runs.size(); ++r)
        for (size_t k = 0; k < all.runs[r].text.size(); ++k) {
            refs.emplace_back(r, k);
            text += all.runs[r].text[k];
        }
    std::vector<Spot> spots(refs.size());
    double s = options.dPathStart;
    for (int index : ResolveBidiLine(text).visual) {
        const auto [r, k] = refs[static_cast<size_t>(index)];
        const double advance = all.runs[r].advances[k];
        double mid = s + advance / 2;
        s += advance;
        AIRealPoint p{0, 0};
        double angle = 0;
        if (mid < 0 || mid > total || !PolylineAt(line, mid, &p, &angle)) {
            ++pLayout->iOversetChars;
            continue;
        }
        Spot& spot = spots[static_cast<size_t>(index)];
        spot.fPlaced = true;
        spot.origin = AIRealPoint{p.h - advance / 2 * std::cos(angle), p.v - advance / 2 * std::sin(angle)};
        spot.angle = angle;
    }

    // The characters that found a place, in stored order, in runs of their style.
    TextLine placed;
    size_t index = 0;
    for (GlyphRun& run : all.runs) {
        GlyphRun kept = run;
        kept.text.clear();
        kept.glyphs.clear();
        kept.origins.clear();
        kept.advances.clear();
        kept.angles.clear();
        int unit = run.iFirstUnit16;
        for (size_t k = 0; k < run.text.size(); ++k, ++index) {
            const int units = run.text[k] >= 0x10000 ? 2 : 1;
            const Spot& spot = spots[index];
            if (spot.fPlaced) {
                if (kept.text.empty()) {
                    kept.iFirstChar = run.iFirstChar + int(k);
                    kept.iFirstUnit16 = unit;
                }
                kept.text += run.text[k];
                kept.glyphs += run.glyphs[k];
                kept.origins.push_back(spot.origin);
                kept.advances.push_back(run.advances[k]);
                kept.angles.push_back(spot.angle);
            } else if (!kept.text.empty()) {
                // A gap: what follows is a run of its own, so its first index stays right.
                for (double a : kept.advances) placed.dWidth += a;
                placed.runs.push_back(std::move(kept));
                kept = run;
                kept.text.clear();
                kept.glyphs.clear();
                kept.origins.clear();
                kept.advances.clear();
                kept.angles.clear();
            }
            unit += units;
        }
        if (!kept.text.empty()) {
            for (double a : kept.advances) placed.dWidth += a;
            placed.runs.push_back(std::move(kept));
        }
    }
    placed.dLeading = all.runs.empty() ? 0 : LeadingOf(all.runs.front().style);
    if (!placed.runs.empty()) pLayout->lines.push_back(std::move(placed));
    ComputeBounds(pLayout);
    return kNoErr;
}

ASErr OutlineTextLayout(const TextLayout& layout, const AIRealMatrix& matrix,
                        std::vector<GlyphOutline>* pGlyphs)
{
    if (!pGlyphs) return kBadParameterErr;
    pGlyphs->clear();
    for (const TextLine& line : layout.lines) {
        for (const GlyphRun& run : line.runs) {
            // Characters that did not fit on a path stay in the text without a place: they
            // are not drawn.
            size_t placed = std::min({run.text.size(), run.origins.size(), run.angles.size()});
            for (size_t k = 0; k < placed; ++k) {
                double c = std::cos(run.angles[k]), s = std::sin(run.angles[k]);
                AIRealMatrix place{c, s, -s, c, run.origins[k].h, run.origins[k].v};
                const char32_t glyph = k < run.glyphs.size() ? run.glyphs[k] : run.text[k];
                GlyphOutline outline;
                ASErr err = GetGlyphOutline(run.pFace, glyph, run.style.dFontSize,
                                            run.style.dHorizontalScale, run.style.dVerticalScale,
                                            Multiply(place, matrix), &outline);
                if (err != kNoErr) return err;
                if (!outline.contours.empty()) pGlyphs->push_back(std::move(outline));
            }
        }
    }
    return kNoErr;
}

bool PointAtArcLength(const std::vector<AIPathSegment>& path, bool fClosed, double dLength,
                      AIRealPoint* pPoint, double* pAngle)
{
    if (!pPoint || !pAngle) return false;
    return PolylineAt(Flatten(path, fClosed), dLength, pPoint, pAngle);
}

double PathArcLength(const std::vector<AIPathSegment>& path, bool fClosed)
{
    Polyline line = Flatten(path, fClosed);
    return line.lengths.empty() ? 0 : line.lengths.back();
}
