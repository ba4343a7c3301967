// Stories of the document's text frames as UTF-16 cells, and frames laid out into lines and
// glyph runs for the text engine.
#include "host/suites/text_engine.h"

#include "host/suites/host_strings.h"

#include <algorithm>
#include <cmath>

namespace host {

std::vector<StoryCell> ExplodeStory(const Art* art)
{
    std::vector<StoryCell> cells;
    if (!art) return cells;
    for (const TextRun& run : art->text.runs) {
        for (char16_t unit : Utf8ToUtf16(run.text)) cells.push_back(StoryCell{unit, run.chars, run.paras});
    }
    return cells;
}

void ImplodeStory(Art* art, const std::vector<StoryCell>& cells)
{
    // Positions name characters by their index: they hold only while the text is the same.
    std::u16string before, after;
    for (const TextRun& run : art->text.runs) before += Utf8ToUtf16(run.text);
    for (const StoryCell& cell : cells) after += cell.unit;
    if (before != after) art->text.positions.clear();
    std::vector<TextRun> runs;
    std::u16string units;
    for (size_t i = 0; i < cells.size(); ++i) {
        units += cells[i].unit;
        bool last = i + 1 == cells.size();
        if (last || !SameChars(cells[i].chars, cells[i + 1].chars) || !SameParas(cells[i].paras, cells[i + 1].paras)) {
            TextRun run;
            run.text = Utf16ToUtf8(units);
            run.chars = cells[i].chars;
            run.paras = cells[i].paras;
            runs.push_back(run);
            units.clear();
        }
    }
    // An emptied text keeps the features of its first run for what comes next.
    if (runs.empty() && !art->text.runs.empty()) {
        TextRun run = art->text.runs.front();
        run.text.clear();
        runs.push_back(run);
    }
    art->text.runs = runs;
    MarkArtChanged(art);
}

void FeaturesAt(const Art* art, const std::vector<StoryCell>& cells, int32_t position, CharFeatures& chars,
                ParaFeatures& paras)
{
    if (position > 0 && static_cast<size_t>(position) <= cells.size()) {
        chars = cells[position - 1].chars;
        paras = cells[position - 1].paras;
    } else if (!cells.empty()) {
        chars = cells.front().chars;
        paras = cells.front().paras;
    } else if (art && !art->text.runs.empty()) {
        chars = art->text.runs.front().chars;
        paras = art->text.runs.front().paras;
    } else {
        chars = CharFeatures{};
        paras = ParaFeatures{};
    }
}

namespace {

// The paragraph's justification code (0 left, 1 right, 2 centre) as the layout's alignment.
int AlignOfJustification(int justification)
{
    if (justification == 1) return kTextAlignRight;
    if (justification == 2) return kTextAlignCenter;
    return kTextAlignLeft;
}

TextStyle StyleOf(const StoryCell& cell)
{
    TextStyle style;
    style.szFamily = cell.chars.fontFamily;
    style.szStyle = cell.chars.fontStyle == "Regular" ? "" : cell.chars.fontStyle;
    style.dFontSize = cell.chars.fontSize;
    style.dHorizontalScale = cell.chars.horizontalScale;
    style.dVerticalScale = cell.chars.verticalScale;
    style.dLeading = cell.paras.leading;
    style.dTracking = cell.chars.tracking;
    style.iAlign = AlignOfJustification(cell.paras.justification);
    return style;
}

std::vector<TextSpan> SpansOf(const std::vector<StoryCell>& cells)
{
    std::vector<TextSpan> spans;
    std::u16string units;
    for (size_t i = 0; i < cells.size(); ++i) {
        units += cells[i].unit;
        if (i + 1 == cells.size() || !(StyleOf(cells[i]) == StyleOf(cells[i + 1]))) {
            TextSpan span;
            span.szText = Utf16ToUtf8(units);
            span.style = StyleOf(cells[i]);
            spans.push_back(span);
            units.clear();
        }
    }
    return spans;
}

// Arc length of a path up to a segment position (whole pieces, then the fraction of the next).
double LengthAtPosition(const Art* path, double position)
{
    if (!path || position <= 0 || path->segments.size() < 2) return 0;
    size_t whole = static_cast<size_t>(std::floor(position));
    std::vector<AIPathSegment> head(path->segments.begin(),
                                    path->segments.begin() + std::min(whole + 1, path->segments.size()));
    double length = PathArcLength(head, false);
    if (whole + 1 < path->segments.size()) {
        std::vector<AIPathSegment> piece{path->segments[whole], path->segments[whole + 1]};
        length += PathArcLength(piece, false) * (position - static_cast<double>(whole));
    }
    return length;
}

// The anchor of text in a path: its first baseline one font size below the path's top left.
AIRealPoint InPathAnchor(const Art* art)
{
    AIRealRect bounds{0, 0, 0, 0};
    if (art->text.path) ArtBounds(art->text.path, bounds);
    double size = art->text.runs.empty() ? 12 : art->text.runs.front().chars.fontSize;
    return AIRealPoint{bounds.left, bounds.top - size};
}

// Characters of a text on a path that did not fit stay in the line as runs without origins.
void KeepOversetCharacters(LaidOutFrame& frame)
{
    const std::vector<StoryCell>& cells = frame.cells;
    std::vector<bool> placed(cells.size(), false);
    for (const TextLine& line : frame.layout.lines)
        for (const GlyphRun& run : line.runs) {
            size_t at = static_cast<size_t>(std::max(run.iFirstUnit16, 0));
            for (char32_t cp : run.text) {
                size_t units = cp >= 0x10000 ? 2 : 1;
                for (size_t u = 0; u < units && at + u < placed.size(); ++u) placed[at + u] = true;
                at += units;
            }
        }
    std::vector<GlyphRun> overset;
    for (size_t i = 0; i < cells.size(); ++i) {
        char16_t unit = cells[i].unit;
        if (placed[i] || unit == u'\r' || unit == u'\n' || unit == 0x2028 || unit == 0x2029 || unit == 3) continue;
        bool pair = unit >= 0xD800 && unit < 0xDC00 && i + 1 < cells.size();
        char32_t cp = pair ? 0x10000 + ((unit - 0xD800) << 10) + (cells[i + 1].unit - 0xDC00) : unit;
        if (overset.empty() || !(StyleOf(cells[overset.back().iFirstUnit16]) == StyleOf(cells[i])) ||
            (i > 0 && placed[i - 1])) {
            GlyphRun run;
            run.style = StyleOf(cells[i]);
            run.iFirstUnit16 = static_cast<int>(i);
            overset.push_back(run);
        }
        overset.back().text += cp;
        if (pair) ++i;
    }
    if (overset.empty()) return;
    if (frame.layout.lines.empty()) frame.layout.lines.emplace_back();
    for (GlyphRun& run : overset) frame.layout.lines.back().runs.push_back(run);
}

}  // namespace

AIRealMatrix FrameMatrix(const Art* art)
{
    const TextFrame& t = art->text;
    if (t.kind == TextKind::OnPath) return AIRealMatrix{1, 0, 0, 1, 0, 0};
    AIRealPoint anchor = t.kind == TextKind::InPath ? InPathAnchor(art) : t.anchor;
    const AIRealMatrix& m = t.kind == TextKind::InPath ? AIRealMatrix{1, 0, 0, 1, 0, 0} : t.matrix;
    // Both spaces have y downward: the artwork matrix with its y axis turned over.
    return AIRealMatrix{m.a, -m.b, -m.c, m.d, anchor.h, -anchor.v};
}

ASErr LayOutFrame(Art* art, std::shared_ptr<LaidOutFrame>& out)
{
    auto frame = std::make_shared<LaidOutFrame>();
    frame->art = art;
    frame->cells = ExplodeStory(art);
    frame->matrix = FrameMatrix(art);
    std::vector<TextSpan> spans = SpansOf(frame->cells);
    ASErr err = kNoErr;
    if (!spans.empty()) {
        TextLayoutOptions options;
        if (art->text.kind == TextKind::OnPath && art->text.path) {
            options.dPathStart = LengthAtPosition(art->text.path, art->text.startT);
            err = LayoutPathText(spans, art->text.path->segments, art->text.path->fClosed, options, &frame->layout);
        } else {
            options.iAlign = AlignOfJustification(frame->cells.front().paras.justification);
            for (const TextPosition& p : art->text.positions)
                options.positions.push_back(TextCharPosition{p.iUnit, p.fHasX, p.fHasY, p.x, p.y, p.dx, p.dy});
            err = LayoutPointText(spans, options, &frame->layout);
        }
    }
    if (err != kNoErr) return err;
    if (art->text.kind == TextKind::OnPath && !frame->cells.empty()) KeepOversetCharacters(*frame);
    // Origins into the frame's space, y downward.
    for (TextLine& line : frame->layout.lines)
        for (GlyphRun& run : line.runs)
            for (AIRealPoint& p : run.origins) p.v = -p.v;
    out = frame;
    return kNoErr;
}

namespace {

bool TextBounds(const Art* art, AIRealRect& bounds)
{
    std::shared_ptr<LaidOutFrame> frame;
    if (LayOutFrame(const_cast<Art*>(art), frame) != kNoErr || frame->layout.lines.empty()) return false;
    const AIRealRect& r = frame->layout.rBounds;
    // The layout's box is y upward; through the frame space and the internal space to artwork.
    AIRealPoint corners[4] = {{r.left, r.top}, {r.right, r.top}, {r.left, r.bottom}, {r.right, r.bottom}};
    for (int i = 0; i < 4; ++i) {
        AIRealPoint p{corners[i].h, -corners[i].v};
        p = TransformPoint(frame->matrix, p);
        p.v = -p.v;
        if (i == 0) {
            bounds = AIRealRect{p.h, p.v, p.h, p.v};
        } else {
            bounds.left = std::min(bounds.left, p.h);
            bounds.right = std::max(bounds.right, p.h);
            bounds.top = std::max(bounds.top, p.v);
            bounds.bottom = std::min(bounds.bottom, p.v);
        }
    }
    return true;
}

}  // namespace

void InstallTextEngine() { SetTextBoundsFunction(TextBounds); }

}  // namespace host
