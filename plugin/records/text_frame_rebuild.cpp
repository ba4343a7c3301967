#include "plugin/records/text_frame_rebuild.h"

#include <cstring>
#include <string>
#include <vector>

#include "sdk/ai_art.h"
#include "sdk/ai_ate_paint.h"
#include "sdk/ai_font.h"
#include "sdk/ai_path.h"
#include "sdk/ai_path_style.h"
#include "sdk/ai_real_math.h"
#include "sdk/ai_text_frame.h"
#include "sdk/ate_classes.h"
#include "plugin/entry/suite_table.h"
#include "plugin/hpgl/text_encodings.h"

namespace {

constexpr int kNameRoom = 64;
constexpr int kMaxDashes = 12;

// Every character feature the engine reads, compared byte for byte: cleared whole first.
struct CharStyle {
    char szFontName[kNameRoom];
    AIFontKey font;
    uint8_t fFont, fSize, fHScale, fVScale, fTracking, fShift, fFillSet, fStrokeSet, fFillColor, fStrokeColor,
        fLineWidth, fDash;
    double dSize, dHScale, dVScale, dShift, dLineWidth;
    int32_t iTracking;
    ASBoolean fFill, fStroke;
    AIStyleColor fillColor, strokeColor;
    int16_t wDashCount;
    double aDash[kMaxDashes];
};

struct ParaStyle {
    uint8_t fJustification, fLeading, fKinsoku, fMojiKumi;
    int32_t iJustification;
    double dLeading;
    char szKinsoku[kNameRoom];
    char szMojiKumi[kNameRoom];
};

struct RunRecord {
    int16_t wCharStyle;
    int16_t wParaStyle;
    int16_t aReserved[3];   // further per-character values; not filled, so they never split a join
    char szText[5];
};

void ReadCharStyle(const ATE::ICharFeatures& f, CharStyle& s)
{
    std::memset(&s, 0, sizeof s);
    bool is = false;
    ATE::IFont font = f.GetFont(&is);
    if (is && !font.IsNull()) {
        ATE::Check(sAIFont->FontKeyFromFont(font.GetRef(), &s.font));
        ATE::Check(sAIFont->GetFullFontName(s.font, s.szFontName, kNameRoom));
        s.fFont = 1;
    }
    s.dSize = f.GetFontSize(&is), s.fSize = is;
    s.dHScale = f.GetHorizontalScale(&is), s.fHScale = is;
    s.dVScale = f.GetVerticalScale(&is), s.fVScale = is;
    s.iTracking = f.GetTracking(&is), s.fTracking = is;
    s.dShift = f.GetBaselineShift(&is), s.fShift = is;
    s.fFill = f.GetFill(&is), s.fFillSet = is;
    s.fStroke = f.GetStroke(&is), s.fStrokeSet = is;
    s.dLineWidth = f.GetLineWidth(&is), s.fLineWidth = is;
    // The paints matter only while they are painted.
    if (s.fFill) {
        ATE::IApplicationPaint paint = f.GetFillColor(&is);
        if (is && !paint.IsNull()) s.fFillColor = sAIATEPaint->GetAIColor(paint.GetRef(), &s.fillColor) == kNoErr;
    }
    if (s.fStroke) {
        ATE::IApplicationPaint paint = f.GetStrokeColor(&is);
        if (is && !paint.IsNull())
            s.fStrokeColor = sAIATEPaint->GetAIColor(paint.GetRef(), &s.strokeColor) == kNoErr;
    }
    ATE::IArrayReal dash = f.GetLineDashArray(&is);
    if (is && !dash.IsNull()) {
        ASInt32 count = 0;
        ATE::Check(sAIATEPaint->GetDashArray(dash.GetRef(), s.aDash, kMaxDashes, &count));
        s.wDashCount = static_cast<int16_t>(count < kMaxDashes ? count : kMaxDashes);
        s.fDash = 1;
    }
}

void ReadParaStyle(const ATE::IParaFeatures& f, ParaStyle& s)
{
    std::memset(&s, 0, sizeof s);
    bool is = false;
    s.iJustification = f.GetJustification(&is), s.fJustification = is;
    s.dLeading = f.GetLeading(&is), s.fLeading = is;
    ATE::IKinsoku kinsoku = f.GetKinsoku(&is);
    s.fKinsoku = is;
    if (is && !kinsoku.IsNull()) kinsoku.GetName(s.szKinsoku, kNameRoom);
    ATE::IMojiKumi mojikumi = f.GetMojiKumi(&is);
    s.fMojiKumi = is;
    if (is && !mojikumi.IsNull()) mojikumi.GetName(s.szMojiKumi, kNameRoom);
}

template <typename Style>
int16_t IndexOf(std::vector<Style>& table, const Style& style)
{
    for (size_t i = 0; i < table.size(); ++i)
        if (std::memcmp(&table[i], &style, sizeof style) == 0) return static_cast<int16_t>(i);
    table.push_back(style);
    return static_cast<int16_t>(table.size() - 1);
}

ATE::ICharFeatures MakeCharFeatures(const CharStyle& s)
{
    ATE::ICharFeatures f = ATE::ICharFeatures::New();
    if (s.fFont) {
        ATE::FontRef font = nullptr;
        ATE::Check(sAIFont->FontFromFontKey(s.font, &font));
        f.SetFont(ATE::IFont(font));
    }
    if (s.fSize) f.SetFontSize(s.dSize);
    if (s.fHScale) f.SetHorizontalScale(s.dHScale);
    if (s.fVScale) f.SetVerticalScale(s.dVScale);
    if (s.fTracking) f.SetTracking(s.iTracking);
    if (s.fShift) f.SetBaselineShift(s.dShift);
    if (s.fFillSet) f.SetFill(s.fFill);
    if (s.fStrokeSet) f.SetStroke(s.fStroke);
    if (s.fLineWidth) f.SetLineWidth(s.dLineWidth);
    if (s.fFillColor) {
        ATE::ApplicationPaintRef paint = nullptr;
        ATE::Check(sAIATEPaint->CreateATEApplicationPaint(&s.fillColor, &paint));
        f.SetFillColor(ATE::IApplicationPaint(paint));
    }
    if (s.fStrokeColor) {
        ATE::ApplicationPaintRef paint = nullptr;
        ATE::Check(sAIATEPaint->CreateATEApplicationPaint(&s.strokeColor, &paint));
        f.SetStrokeColor(ATE::IApplicationPaint(paint));
    }
    if (s.fDash) {
        ATE::ArrayRealRef dash = nullptr;
        ATE::Check(sAIATEPaint->CreateDashArray(s.aDash, s.wDashCount, &dash));
        f.SetLineDashArray(ATE::IArrayReal(dash));
    }
    return f;
}

// The document's set of that name (the first), or a new default set for an empty name.
ATE::IKinsoku FindKinsoku(const char* name)
{
    ATE::KinsokuRef set = nullptr;
    if (name[0] == '\0') {
        ATE::Check(sATEDocumentTextResources->NewKinsokuSet(&set));
        return ATE::IKinsoku(set);
    }
    ASInt32 count = 0;
    ATE::Check(sATEDocumentTextResources->CountKinsokuSets(&count));
    for (ASInt32 i = 0; i < count; ++i) {
        ATE::Check(sATEDocumentTextResources->GetKinsokuSet(i, &set));
        ATE::IKinsoku candidate(set);
        char found[kNameRoom] = {};
        candidate.GetName(found, kNameRoom);
        if (std::strcmp(found, name) == 0) return candidate;
    }
    return ATE::IKinsoku();
}

ATE::IMojiKumi FindMojiKumi(const char* name)
{
    ATE::MojiKumiRef set = nullptr;
    if (name[0] == '\0') {
        ATE::Check(sATEDocumentTextResources->NewMojiKumiSet(&set));
        return ATE::IMojiKumi(set);
    }
    ASInt32 count = 0;
    ATE::Check(sATEDocumentTextResources->CountMojiKumiSets(&count));
    for (ASInt32 i = 0; i < count; ++i) {
        ATE::Check(sATEDocumentTextResources->GetMojiKumiSet(i, &set));
        ATE::IMojiKumi candidate(set);
        char found[kNameRoom] = {};
        candidate.GetName(found, kNameRoom);
        if (std::strcmp(found, name) == 0) return candidate;
    }
    return ATE::IMojiKumi();
}

ATE::IParaFeatures MakeParaFeatures(const ParaStyle& s)
{
    ATE::IParaFeatures f = ATE::IParaFeatures::New();
    if (s.fJustification) f.SetJustification(s.iJustification);
    if (s.fLeading) f.SetLeading(s.dLeading);
    if (s.fKinsoku) {
        ATE::IKinsoku set = FindKinsoku(s.szKinsoku);
        if (!set.IsNull()) f.SetKinsoku(set);
    }
    if (s.fMojiKumi) {
        ATE::IMojiKumi set = FindMojiKumi(s.szMojiKumi);
        if (!set.IsNull()) f.SetMojiKumi(set);
    }
    return f;
}

// A copy of the old frame's path placed above the old art: style, segments, closed flag.
AIArtHandle CopyFramePath(AIArtHandle art, AIArtHandle oldPath, AIPathStyle* style)
{
    AIArtHandle path = nullptr;
    if (sAIArt->NewArt(kArtTypePath, kPlaceAbove, art, &path) != kNoErr) return nullptr;
    ASInt16 count = 0;
    sAIPath->GetPathSegmentCount(oldPath, &count);
    std::vector<AIPathSegment> segments(count > 0 ? count : 0);
    if (count > 0) {
        sAIPath->GetPathSegments(oldPath, 0, count, segments.data());
        sAIPath->SetPathSegments(path, 0, count, segments.data());
    }
    ASBoolean closed = 0;
    sAIPath->GetPathClosed(oldPath, &closed);
    sAIPath->SetPathClosed(path, closed);
    if (sAIPathStyle->GetPathStyle(oldPath, style) == kNoErr) sAIPathStyle->SetPathStyle(path, style);
    return path;
}

}  // namespace

AIArtHandle RebuildTextFrame(AIArtHandle art)
{
    return RebuildTextFrameCounted(art, nullptr);
}

AIArtHandle RebuildTextFrameCounted(AIArtHandle art, RebuildCounts* counts)
{
    if (counts) *counts = RebuildCounts{};
    ATE::TextRangeRef rangeRef = nullptr;
    ATE::Check(sAITextFrame->GetATETextRange(art, &rangeRef));
    ATE::ITextRange range(rangeRef);
    ATE::TextFrameRef frameRef = nullptr;
    ATE::Check(sAITextFrame->GetATETextFrame(art, &frameRef));
    ATE::ITextFrame frame(frameRef);
    AIRealMatrix matrix = frame.GetMatrix();
    matrix.tx = 0;
    matrix.ty = 0;
    const AIReal angle = sAIRealMath->AIRealMatrixGetRotate(&matrix);
    (void)angle;  // the new frame starts unrotated: nothing to turn back

    std::vector<CharStyle> charStyles;
    std::vector<ParaStyle> paraStyles;
    std::vector<RunRecord> runs;
    const ASInt32 size = range.GetSize();
    for (ASInt32 k = 0; k <= size; ++k) {
        range.SetRange(k, k + 1);
        RunRecord run;
        std::memset(&run, 0, sizeof run);
        range.GetContents(run.szText, sizeof run.szText);
        CharStyle c;
        ReadCharStyle(range.GetCharFeatures(), c);
        ParaStyle p;
        ReadParaStyle(range.GetParaFeatures(), p);
        run.wCharStyle = IndexOf(charStyles, c);
        run.wParaStyle = IndexOf(paraStyles, p);
        if (run.szText[0] != '\0') runs.push_back(run);
    }
    if (counts) {
        counts->iCharStyles = static_cast<int32_t>(charStyles.size());
        counts->iParaStyles = static_cast<int32_t>(paraStyles.size());
        counts->iRuns = static_cast<int32_t>(runs.size());
    }
    if (runs.empty()) return art;

    ASInt16 kind = kPointTextType, orientation = kHorizontalTextOrientation;
    ATE::Check(sAITextFrame->GetType(art, &kind));
    sAITextFrame->GetOrientation(art, &orientation);
    AIArtHandle created = nullptr;
    AIArtHandle newPath = nullptr;
    AIPathStyle pathStyle{};
    ASErr err = kNoErr;
    if (kind == kPointTextType) {
        AIRealPoint anchor{0, 0};
        ATE::Check(sAITextFrame->GetPointTextAnchor(art, &anchor));
        err = sAITextFrame->NewPointText(kPlaceAbove, art, orientation, anchor, &created);
    } else {
        AIArtHandle oldPath = nullptr;
        ATE::Check(sAITextFrame->GetPathObject(art, &oldPath));
        newPath = CopyFramePath(art, oldPath, &pathStyle);
        if (newPath == nullptr) return art;
        if (kind == kInPathTextType) {
            err = sAITextFrame->NewInPathText(kPlaceAbove, art, orientation, newPath, &created);
        } else {
            AIReal start = 0, end = 0;
            ATE::Check(sAITextFrame->GetOnPathTextTRange(art, &start, &end));
            err = sAITextFrame->NewOnPathText(kPlaceAbove, art, orientation, newPath, start, end, &created);
        }
        AIArtHandle framePath = nullptr;
        if (err == kNoErr && created != nullptr && sAITextFrame->GetPathObject(created, &framePath) == kNoErr)
            sAIPathStyle->SetPathStyle(framePath, &pathStyle);
    }
    if (err != kNoErr || created == nullptr) {
        // Leave nothing behind of a rebuild that could not be made.
        ASBoolean valid = 0;
        if (newPath != nullptr && sAIArt->ValidArt(newPath, &valid) == kNoErr && valid) sAIArt->DisposeArt(newPath);
        return art;
    }

    ATE::TextRangeRef newRangeRef = nullptr;
    ATE::Check(sAITextFrame->GetATETextRange(created, &newRangeRef));
    ATE::ITextRange target(newRangeRef);
    if (static_cast<unsigned char>(runs.back().szText[0]) < 0x20) runs.pop_back();
    for (size_t i = 0; i < runs.size();) {
        const RunRecord& first = runs[i];
        target.SetLocalCharFeatures(MakeCharFeatures(charStyles[first.wCharStyle]));
        target.SetLocalParaFeatures(MakeParaFeatures(paraStyles[first.wParaStyle]));
        std::string joined = first.szText;
        size_t j = i + 1;
        while (j < runs.size() && runs[j].wCharStyle == first.wCharStyle && runs[j].wParaStyle == first.wParaStyle &&
               runs[j].aReserved[0] == 0 && runs[j].aReserved[1] == 0 && runs[j].aReserved[2] == first.aReserved[2]) {
            joined += runs[j].szText;
            ++j;
        }
        InsertShiftJisText(target, joined.c_str());
        target.CollapseToEnd();
        if (counts) counts->iInsertions++;
        i = j;
    }

    AIRealRect oldBounds{}, newBounds{};
    if (sAIArt->GetArtBounds(art, &oldBounds) == kNoErr && sAIArt->GetArtBounds(created, &newBounds) == kNoErr) {
        AIRealMatrix move;
        sAIRealMath->AIRealMatrixSetTranslate(&move, ((oldBounds.left + oldBounds.right) - (newBounds.left + newBounds.right)) / 2,
                                              ((oldBounds.top + oldBounds.bottom) - (newBounds.top + newBounds.bottom)) / 2);
        sAIArt->TransformArt(created, &move, 1);
    }
    return created;
}
