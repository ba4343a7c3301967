#include "plugin/hpgl/text_label_emitter.h"

#include <cfloat>
#include <cstdio>
#include <cstring>
#include <vector>

#include "sdk/ai_hard_soft.h"
#include "sdk/ai_real_math.h"
#include "sdk/ai_text_frame.h"
#include "sdk/ate_classes.h"
#include "plugin/hpgl/pen_writer.h"
#include "plugin/entry/plugin_globals.h"
#include "plugin/entry/suite_table.h"
#include "plugin/hpgl/text_encodings.h"

namespace {

// A line without a pen position yet.
constexpr double kNoPosition = DBL_MAX;

bool IsShiftJisLead(unsigned c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// Bytes of the UTF-8 character from its lead byte, as the label walk steps.
int Utf8Step(unsigned char lead)
{
    if (lead >= 0xC0 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    return 1;
}

// The label text in UTF-8; the language picks the code page. Each byte of the eight-bit text
// gives at most three bytes of UTF-8 (a half-width katakana byte gives three), so 3n + 1
// bytes with the terminator always hold it.
std::vector<char> ToUtf8(const char* text)
{
    const size_t n = std::strlen(text);
    std::vector<char> utf8(3 * n + 1, '\0');
    if (g->iLanguage == 0 || g->iLanguage == 1)
        ConvertShiftJisToUtf8(text, utf8.data(), static_cast<int32_t>(utf8.size()));
    else
        ConvertKoreanToUtf8(text, utf8.data(), static_cast<int32_t>(utf8.size()));
    utf8.back() = '\0';
    return utf8;
}

void Metrics(AIFontKey font, const char* utf8, int mode, double* first, double* second)
{
    *first = 0;
    *second = 0;
    sAIFont->GetCharacterMetrics(font, utf8, mode, first, second);
}

void WriteSize(double width, double height, const char* spacing)
{
    const ConversionState& c = g->conversion;
    if (c.dScaleY != 0) height *= c.dScaleY;
    if (c.dScaleX != 0) width *= c.dScaleX;
    char command[256];
    std::snprintf(command, sizeof command, "SI%g,%g;ES%s,%s;", width, height, spacing, spacing);
    WritePlotString(command);
}

// One glyph run's characters from the line's pen position.
void EmitRunText(const char* text, AIFontKey font, double s, double hs, double vs, const AIRealMatrix& m,
                 RealPoint& pen, int mode)
{
    const size_t n = std::strlen(text);
    std::vector<char> utf8 = ToUtf8(text);
    size_t u = 0;
    size_t k = 0;
    char command[256];
    while (utf8[u] != '\0' && k < n) {
        double w = 0, unused = 0, h = 0;
        Metrics(font, &utf8[u], 1, &w, &unused);
        Metrics(font, &utf8[u], 2, &unused, &h);
        // Never step past the terminator, also for a sequence cut short.
        for (int step = Utf8Step(static_cast<unsigned char>(utf8[u])); step > 0 && utf8[u] != '\0'; --step)
            ++u;

        const unsigned c = static_cast<unsigned char>(text[k]);
        if (c > 0x20) {
            EmitLabelOrigin(pen, command);
            WritePlotString(command);
        }
        const double advance = w * s * hs;
        pen.h = pen.h + advance * m.a;
        pen.v = pen.v - advance * m.b;

        if (IsShiftJisLead(c)) {
            WriteSize(advance * kMmPerInch / kPointsPerInch / 10 * 0.9,
                      h * s * vs * kMmPerInch / kPointsPerInch / 10 * 0.9, "-0.233");
            const unsigned trail = k + 1 < n ? static_cast<unsigned char>(text[k + 1]) : 0;
            const uint16_t code = static_cast<uint16_t>(c * 256 + trail);
            if (mode == 1) {
                std::snprintf(command, sizeof command, "JK%d;", ConvertShiftJisToKuten(code));
                WritePlotString(command);
            } else if (mode == 2) {
                const uint16_t jis = ConvertShiftJisToJis(code);
                const char bytes[] = {'L', 'B', 0x0E, static_cast<char>(jis >> 8), static_cast<char>(jis & 0xFF),
                                      0x0F, 0x03, '\0'};
                WritePlotString(bytes);
            }
            ++k;
        } else if (c > 0x20) {
            WriteSize(advance * kMmPerInch / kPointsPerInch / 10 * 0.72,
                      h * s * vs * kMmPerInch / kPointsPerInch / 10 * 0.72, "-0.053");
            if (mode == 2) {
                WritePlotString(c >= 0x80 ? "CS8;" : "CS6;");
                const char bytes[] = {'L', 'B', static_cast<char>(c & 0x7F), 0x03, '\0'};
                WritePlotString(bytes);
            } else {
                const char bytes[] = {'L', 'B', static_cast<char>(c), 0x03, '\0'};
                WritePlotString(bytes);
            }
        }
        ++k;
    }
}

}  // namespace

int32_t EmitTextFrame(AIArtHandle art)
{
    ATE::TextFrameRef frameRef = nullptr;
    ATE::Check(sAITextFrame->GetATETextFrame(art, &frameRef));
    ATE::ITextFrame frame(frameRef);
    const AIRealMatrix m = frame.GetMatrix();

    int32_t dx = static_cast<int32_t>(1000 * m.a);
    int32_t dy = static_cast<int32_t>(-1000 * m.b);
    if (g->fRotate) {
        const int32_t x = dx;
        dx = -dy;
        dy = x;
    }
    PlotPoint direction = {dx, dy};
    RotatePlotterPoint(&direction);

    const int mode = (g->conversion.wKanjiMode == 1 || g->conversion.wKanjiMode == 2) ? g->conversion.wKanjiMode : 0;
    char command[256];
    for (ATE::ITextLinesIterator lines = frame.GetTextLinesIterator(); lines.IsNotDone(); lines.Next()) {
        ATE::ITextLine line = lines.Item();
        RealPoint pen = {kNoPosition, kNoPosition};
        if (mode == 2) WritePlotString("CS6;CA101;");
        std::snprintf(command, sizeof command, "LO1;DI%d,%d;", direction.x, direction.y);
        WritePlotString(command);

        for (ATE::IGlyphRunsIterator runs = line.GetGlyphRunsIterator(); runs.IsNotDone(); runs.Next()) {
            ATE::IGlyphRun run = runs.Item();
            ATE::ICharFeatures features = run.GetCharFeatures();
            ATE::IFont font = features.GetFont();
            const double s = features.GetFontSize();
            const double hs = features.GetHorizontalScale();
            const double vs = features.GetVerticalScale();
            AIFontKey key = nullptr;
            ATE::Check(sAIFont->FontKeyFromFont(font.GetRef(), &key));

            if (pen.h == kNoPosition) {
                ATE::IArrayRealPoint origins = run.GetOrigins();
                if (!origins.IsNull() && origins.GetSize() > 0) {
                    AIRealPoint first = origins.Item(0);
                    AIRealPoint placed = first;
                    sAIRealMath->AIRealMatrixXformPoint(&m, &first, &placed);
                    sAIHardSoft->AIRealPointSoften(&placed);
                    pen = {placed.h, placed.v};
                }
            }
            if (pen.h == kNoPosition) continue;

            char text[1024];
            const int32_t length = run.GetContents(text, sizeof text);
            text[length < 0 ? 0 : (length > 1023 ? 1023 : length)] = '\0';
            EmitRunText(text, key, s, hs, vs, m, pen, mode);
        }
    }
    return 0;
}

void EmitLabelOrigin(RealPoint position, char* command)
{
    RealPoint p = position;
    TransformPoint(&p);
    PlotPoint point = {PointsToPlotterUnits(p.h), PointsToPlotterUnits(p.v)};
    RotatePlotterPoint(&point);
    g->emitter.ptLastPen = {kNoLastPen, kNoLastPen};
    const OriginOffset& o = g->conversion.originOffset;
    OffsetPlotterPoint(&point, o.iDx, o.iDy);
    std::snprintf(command, 256, "PU%d,%d;", point.x, point.y);

    if (g->pPlotSettings == nullptr || !g->pPlotSettings->fDebugMode || g->hPlotGroup == nullptr) return;
    const double units = g->conversion.wUnitsPerMm;
    if (units <= 0) return;
    const double x = -(static_cast<double>(point.y) - o.iDy) / units * kPointsPerInch / kMmPerInch;
    const double y = (static_cast<double>(point.x) - o.iDx) / units * kPointsPerInch / kMmPerInch;
    DrawTraceStroke({x + 5, y + 5}, {x - 5, y - 5});
    DrawTraceStroke({x - 5, y + 5}, {x + 5, y - 5});
}

double MeasureStringWidth(AIFontKey font, const char* text)
{
    if (text == nullptr) return 0;
    std::vector<char> utf8 = ToUtf8(text);
    double sum = 0;
    size_t u = 0;
    while (utf8[u] != '\0') {
        double w = 0, unused = 0;
        Metrics(font, &utf8[u], 1, &w, &unused);
        sum += w;
        for (int step = Utf8Step(static_cast<unsigned char>(utf8[u])); step > 0 && utf8[u] != '\0'; --step)
            ++u;
    }
    return sum;
}
