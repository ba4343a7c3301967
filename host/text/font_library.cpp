// Fonts through fontconfig and FreeType: lookup, cache, metrics and outlines.
#include "host/text/font_library.h"

#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <mutex>
#include <set>

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

namespace {

struct FontLibraryState {
    FT_Library library = nullptr;
    std::map<std::string, FT_Face> facesByFile;                 // "file#index"
    std::map<std::string, std::unique_ptr<FontFace>> facesByRequest;  // "family\nstyle"
    std::set<std::string> notedFamilies;
    const FontFace* fallback = nullptr;
    bool fFallbackTried = false;
    int iNotes = 0;
    std::map<char32_t, const FontFace*> facesByCharacter;          // fontconfig's face for a character
    std::map<std::string, std::unique_ptr<FontFace>> coverageFaces;  // by "file#index"
};

std::recursive_mutex gLock;
FontLibraryState gState;

std::string Lowered(const std::string& s)
{
    std::string out;
    for (char c : s) {
        if (c == ' ') continue;
        out += (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
    }
    return out;
}

// Generic CSS families are aliases that fontconfig always answers; they are never missing.
bool IsGenericFamily(const std::string& family)
{
    static const char* const generic[] = {"sans-serif", "serif", "monospace", "sans", "mono",
                                          "cursive", "fantasy", "system-ui"};
    std::string low = Lowered(family);
    for (const char* g : generic)
        if (low == g) return true;
    return false;
}

bool PatternNames(FcPattern* font, const char* object, const std::string& wanted)
{
    FcChar8* value = nullptr;
    for (int i = 0; FcPatternGetString(font, object, i, &value) == FcResultMatch; ++i)
        if (Lowered(reinterpret_cast<const char*>(value)) == Lowered(wanted)) return true;
    return false;
}

std::string PatternString(FcPattern* font, const char* object)
{
    FcChar8* value = nullptr;
    if (FcPatternGetString(font, object, 0, &value) == FcResultMatch)
        return reinterpret_cast<const char*>(value);
    return {};
}

struct MatchedFont {
    std::string szFile;
    int iIndex = 0;
    std::string szFamily;
    std::string szStyle;
    bool fFamilyMatches = false;
};

bool MatchFont(const std::string& family, const std::string& style, MatchedFont* out)
{
    if (!FcInit()) return false;
    FcPattern* pattern = FcPatternCreate();
    if (!pattern) return false;
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    if (!style.empty())
        FcPatternAddString(pattern, FC_STYLE, reinterpret_cast<const FcChar8*>(style.c_str()));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* font = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!font) return false;
    out->szFile = PatternString(font, FC_FILE);
    if (FcPatternGetInteger(font, FC_INDEX, 0, &out->iIndex) != FcResultMatch) out->iIndex = 0;
    out->szFamily = PatternString(font, FC_FAMILY);
    out->szStyle = PatternString(font, FC_STYLE);
    out->fFamilyMatches = IsGenericFamily(family) || PatternNames(font, FC_FAMILY, family) ||
                          PatternNames(font, FC_FULLNAME, family) ||
                          PatternNames(font, FC_POSTSCRIPT_NAME, family);
    FcPatternDestroy(font);
    return !out->szFile.empty();
}

FT_Face LoadFace(const std::string& file, int index)
{
    std::string key = file + "#" + std::to_string(index);
    auto it = gState.facesByFile.find(key);
    if (it != gState.facesByFile.end()) return it->second;
    if (!gState.library && FT_Init_FreeType(&gState.library) != 0) {
        gState.library = nullptr;
        return nullptr;
    }
    FT_Face face = nullptr;
    if (FT_New_Face(gState.library, file.c_str(), index, &face) != 0) return nullptr;
    if (!face->charmap) FT_Select_Charmap(face, FT_ENCODING_UNICODE);
    gState.facesByFile[key] = face;
    return face;
}

std::unique_ptr<FontFace> MakeFontFace(const MatchedFont& m, FT_Face ft)
{
    auto face = std::make_unique<FontFace>();
    face->szFamily = m.szFamily;
    face->szStyle = m.szStyle;
    face->szFile = m.szFile;
    face->iFaceIndex = m.iIndex;
    face->pFace = ft;
    face->iUnitsPerEm = ft->units_per_EM > 0 ? ft->units_per_EM : 1000;
    face->dAscender = double(ft->ascender) / face->iUnitsPerEm;
    face->dDescender = -double(ft->descender) / face->iUnitsPerEm;
    const char* ps = FT_Get_Postscript_Name(ft);
    face->szPostScriptName = ps ? ps : "";
    return face;
}

const FontFace* LockedFallback()
{
    if (gState.fFallbackTried) return gState.fallback;
    gState.fFallbackTried = true;
    MatchedFont m;
    if (!MatchFont(kFallbackFontFamily, "", &m)) return nullptr;
    FT_Face ft = LoadFace(m.szFile, m.iIndex);
    if (!ft) return nullptr;
    auto face = MakeFontFace(m, ft);
    face->szRequestedFamily = kFallbackFontFamily;
    face->fFallback = !m.fFamilyMatches;
    const FontFace* p = face.get();
    gState.facesByRequest[std::string(kFallbackFontFamily) + "\n#fallback"] = std::move(face);
    gState.fallback = p;
    return p;
}

void NoteMissingFamily(const std::string& family, const FontFace* used)
{
    if (!gState.notedFamilies.insert(Lowered(family)).second) return;
    ++gState.iNotes;
    std::fprintf(stderr, "font library: family \"%s\" is not installed, using %s\n", family.c_str(),
                 used ? used->szFamily.c_str() : "no font");
}

// The face fontconfig offers for a character (one that covers it), or null when no installed
// font has it. Answers are kept per character.
const FontFace* LockedFaceForCharacter(char32_t cp)
{
    auto known = gState.facesByCharacter.find(cp);
    if (known != gState.facesByCharacter.end()) return known->second;
    const FontFace* found = nullptr;
    FcPattern* pattern = FcInit() ? FcPatternCreate() : nullptr;
    FcCharSet* chars = pattern ? FcCharSetCreate() : nullptr;
    if (chars && FcCharSetAddChar(chars, cp)) {
        FcPatternAddCharSet(pattern, FC_CHARSET, chars);
        FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
        FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult result = FcResultNoMatch;
        FcPattern* font = FcFontMatch(nullptr, pattern, &result);
        MatchedFont m;
        if (font) {
            m.szFile = PatternString(font, FC_FILE);
            if (FcPatternGetInteger(font, FC_INDEX, 0, &m.iIndex) != FcResultMatch) m.iIndex = 0;
            m.szFamily = PatternString(font, FC_FAMILY);
            m.szStyle = PatternString(font, FC_STYLE);
            FcPatternDestroy(font);
        }
        FT_Face ft = m.szFile.empty() ? nullptr : LoadFace(m.szFile, m.iIndex);
        if (ft && FT_Get_Char_Index(ft, cp) != 0) {
            std::string key = m.szFile + "#" + std::to_string(m.iIndex);
            auto& face = gState.coverageFaces[key];
            if (!face) face = MakeFontFace(m, ft);
            found = face.get();
        }
    }
    if (chars) FcCharSetDestroy(chars);
    if (pattern) FcPatternDestroy(pattern);
    gState.facesByCharacter[cp] = found;
    return found;
}

bool TryFace(const FontFace* candidate, char32_t cp, FT_UInt* pGlyph, const FontFace** pUsed)
{
    if (!candidate || !candidate->pFace) return false;
    FT_UInt g = FT_Get_Char_Index(candidate->pFace, cp);
    if (g == 0) return false;
    *pGlyph = g;
    *pUsed = candidate;
    return true;
}

// Glyph of cp in face, else in the Japanese fallback face, else in the face fontconfig offers
// for that character; glyph 0 of face when none has it.
FT_Face ResolveGlyph(const FontFace* face, char32_t cp, FT_UInt* pGlyph, bool* pFound,
                     const FontFace** pUsed)
{
    *pGlyph = 0;
    *pUsed = face;
    *pFound = TryFace(face, cp, pGlyph, pUsed) || TryFace(LockedFallback(), cp, pGlyph, pUsed) ||
              (cp > 0x20 && TryFace(LockedFaceForCharacter(cp), cp, pGlyph, pUsed));
    if (!*pFound) *pUsed = face;
    return (*pUsed)->pFace;
}

// Outline collection for FT_Outline_Decompose, in font units.
struct OutlineBuilder {
    std::vector<GlyphContour> contours;
};

AIRealPoint Pt(const FT_Vector* v) { return AIRealPoint{double(v->x), double(v->y)}; }

AIRealPoint Lerp(AIRealPoint a, AIRealPoint b, double t)
{
    return AIRealPoint{a.h + (b.h - a.h) * t, a.v + (b.v - a.v) * t};
}

bool SamePoint(AIRealPoint a, AIRealPoint b) { return a.h == b.h && a.v == b.v; }

AIPathSegment CornerSegment(AIRealPoint p) { return AIPathSegment{p, p, p, true}; }

void FinishContour(OutlineBuilder* b)
{
    if (b->contours.empty()) return;
    std::vector<AIPathSegment>& s = b->contours.back().segments;
    // The decomposer returns to the start point; that last anchor is the first one again.
    if (s.size() > 1 && SamePoint(s.back().ptAnchor, s.front().ptAnchor)) {
        s.front().ptIn = s.back().ptIn;
        s.pop_back();
    }
    if (s.size() < 2) b->contours.pop_back();
}

int OnMoveTo(const FT_Vector* to, void* user)
{
    auto* b = static_cast<OutlineBuilder*>(user);
    FinishContour(b);
    b->contours.push_back(GlyphContour{{CornerSegment(Pt(to))}, true});
    return 0;
}

int OnLineTo(const FT_Vector* to, void* user)
{
    auto* b = static_cast<OutlineBuilder*>(user);
    if (b->contours.empty()) return 0;
    std::vector<AIPathSegment>& s = b->contours.back().segments;
    AIRealPoint p = Pt(to);
    if (SamePoint(s.back().ptAnchor, p)) return 0;  // zero-length line
    s.push_back(CornerSegment(p));
    return 0;
}

int OnConicTo(const FT_Vector* control, const FT_Vector* to, void* user)
{
    auto* b = static_cast<OutlineBuilder*>(user);
    if (b->contours.empty()) return 0;
    std::vector<AIPathSegment>& s = b->contours.back().segments;
    AIRealPoint from = s.back().ptAnchor, c = Pt(control), end = Pt(to);
    // A quadratic is the cubic with handles two thirds of the way to its control point.
    s.back().ptOut = Lerp(from, c, 2.0 / 3.0);
    s.push_back(AIPathSegment{end, Lerp(end, c, 2.0 / 3.0), end, true});
    return 0;
}

int OnCubicTo(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user)
{
    auto* b = static_cast<OutlineBuilder*>(user);
    if (b->contours.empty()) return 0;
    std::vector<AIPathSegment>& s = b->contours.back().segments;
    s.back().ptOut = Pt(c1);
    AIRealPoint end = Pt(to);
    s.push_back(AIPathSegment{end, Pt(c2), end, true});
    return 0;
}

// A segment is smooth when both handles stand out on one straight line through the anchor.
bool IsCorner(const AIPathSegment& s)
{
    double ix = s.ptIn.h - s.ptAnchor.h, iy = s.ptIn.v - s.ptAnchor.v;
    double ox = s.ptOut.h - s.ptAnchor.h, oy = s.ptOut.v - s.ptAnchor.v;
    double li = std::hypot(ix, iy), lo = std::hypot(ox, oy);
    if (li == 0 || lo == 0) return true;
    double cross = (ix * oy - iy * ox) / (li * lo);
    double dot = ix * ox + iy * oy;
    return !(std::fabs(cross) < 1e-3 && dot < 0);
}

size_t DecodeOneUtf8(const unsigned char* s, size_t n, char32_t* cp)
{
    if (n == 0) {
        *cp = 0;
        return 0;
    }
    unsigned char c = s[0];
    if (c < 0x80) {
        *cp = c;
        return 1;
    }
    size_t len = 0;
    char32_t v = 0, min = 0;
    if (c >= 0xC2 && c <= 0xDF) { len = 2; v = c & 0x1F; min = 0x80; }
    else if (c >= 0xE0 && c <= 0xEF) { len = 3; v = c & 0x0F; min = 0x800; }
    else if (c >= 0xF0 && c <= 0xF4) { len = 4; v = c & 0x07; min = 0x10000; }
    if (len == 0 || len > n) {
        *cp = 0xFFFD;
        return 1;
    }
    for (size_t i = 1; i < len; ++i) {
        if ((s[i] & 0xC0) != 0x80) {
            *cp = 0xFFFD;
            return 1;
        }
        v = (v << 6) | (s[i] & 0x3F);
    }
    if (v < min || v > 0x10FFFF || (v >= 0xD800 && v <= 0xDFFF)) {
        *cp = 0xFFFD;
        return 1;
    }
    *cp = v;
    return len;
}

}  // namespace

ASErr FindFontFace(const char* szFamily, const char* szStyle, const FontFace** ppFace)
{
    if (!szFamily || !ppFace) return kBadParameterErr;
    std::lock_guard<std::recursive_mutex> hold(gLock);
    std::string family = szFamily, style = szStyle ? szStyle : "";
    std::string key = family + "\n" + style;
    auto it = gState.facesByRequest.find(key);
    if (it != gState.facesByRequest.end()) {
        *ppFace = it->second.get();
        return kNoErr;
    }
    MatchedFont m;
    bool matched = !family.empty() && MatchFont(family, style, &m);
    FT_Face ft = matched ? LoadFace(m.szFile, m.iIndex) : nullptr;
    std::unique_ptr<FontFace> face;
    if (ft) {
        // fontconfig's choice for the family (its aliases: "Bitstream Vera Sans" is DejaVu
        // Sans); a family it knows by another name only is noted once.
        face = MakeFontFace(m, ft);
        if (!m.fFamilyMatches) {
            face->fFallback = true;
            NoteMissingFamily(family, face.get());
        }
    } else {
        const FontFace* fallback = LockedFallback();
        if (fallback) {
            face = std::make_unique<FontFace>(*fallback);
        } else if (matched && (ft = LoadFace(m.szFile, m.iIndex)) != nullptr) {
            face = MakeFontFace(m, ft);  // no Japanese font installed: fontconfig's choice
        }
        NoteMissingFamily(family, face.get());
        if (!face) return kSuiteUnavailableErr;
        face->fFallback = true;
    }
    face->szRequestedFamily = family;
    face->szRequestedStyle = style;
    *ppFace = face.get();
    gState.facesByRequest[key] = std::move(face);
    return kNoErr;
}

const FontFace* FallbackFontFace()
{
    std::lock_guard<std::recursive_mutex> hold(gLock);
    return LockedFallback();
}

void ShutdownFontLibrary()
{
    std::lock_guard<std::recursive_mutex> hold(gLock);
    gState.facesByRequest.clear();
    gState.facesByCharacter.clear();
    gState.coverageFaces.clear();
    for (auto& [key, face] : gState.facesByFile) FT_Done_Face(face);
    gState.facesByFile.clear();
    if (gState.library) FT_Done_FreeType(gState.library);
    gState.library = nullptr;
    gState.fallback = nullptr;
    gState.fFallbackTried = false;
}

int MissingFamilyNoteCount()
{
    std::lock_guard<std::recursive_mutex> hold(gLock);
    return gState.iNotes;
}

ASErr GetCharMetrics(const FontFace* face, char32_t cp, CharMetrics* pMetrics)
{
    if (!face || !face->pFace || !pMetrics) return kBadParameterErr;
    std::lock_guard<std::recursive_mutex> hold(gLock);
    FT_UInt glyph = 0;
    bool found = false;
    const FontFace* used = face;
    FT_Face ft = ResolveGlyph(face, cp, &glyph, &found, &used);
    if (FT_Load_Glyph(ft, glyph, FT_LOAD_NO_SCALE) != 0) return kBadParameterErr;
    double em = ft->units_per_EM > 0 ? ft->units_per_EM : 1000;
    const FT_Glyph_Metrics& gm = ft->glyph->metrics;
    *pMetrics = CharMetrics{};
    pMetrics->dAdvance = double(gm.horiAdvance) / em;
    pMetrics->dInkWidth = double(gm.width) / em;
    pMetrics->dInkHeight = double(gm.height) / em;
    pMetrics->dBodyHeight = used->dAscender + used->dDescender;
    pMetrics->fFound = found;
    return kNoErr;
}

ASErr GetFontMetrics(const FontFace* face, const char* szUtf8Char, int iMode, double* pFirst,
                     double* pSecond)
{
    if (!face || !szUtf8Char || !pFirst || !pSecond || (iMode != 1 && iMode != 2))
        return kBadParameterErr;
    *pFirst = *pSecond = 0;
    const auto* s = reinterpret_cast<const unsigned char*>(szUtf8Char);
    size_t n = 0;
    while (n < 4 && s[n] != 0) ++n;
    char32_t cp = 0;
    if (DecodeOneUtf8(s, n, &cp) == 0) return kNoErr;
    CharMetrics m;
    ASErr err = GetCharMetrics(face, cp, &m);
    if (err != kNoErr) return err;
    if (iMode == 1) {
        *pFirst = m.dAdvance;
        *pSecond = m.dInkHeight;
    } else {
        *pFirst = m.dInkWidth;
        *pSecond = m.dBodyHeight;
    }
    return kNoErr;
}

ASErr GetGlyphOutline(const FontFace* face, char32_t cp, double dFontSize, double dHScale,
                      double dVScale, const AIRealMatrix& placement, GlyphOutline* pOutline)
{
    if (!face || !face->pFace || !pOutline || !std::isfinite(dFontSize)) return kBadParameterErr;
    std::lock_guard<std::recursive_mutex> hold(gLock);
    *pOutline = GlyphOutline{};
    pOutline->cp = cp;
    FT_UInt glyph = 0;
    bool found = false;
    const FontFace* used = face;
    FT_Face ft = ResolveGlyph(face, cp, &glyph, &found, &used);
    if (FT_Load_Glyph(ft, glyph, FT_LOAD_NO_SCALE) != 0) return kBadParameterErr;
    if (ft->glyph->format != FT_GLYPH_FORMAT_OUTLINE) return kNoErr;
    FT_Outline_Funcs funcs{};
    funcs.move_to = OnMoveTo;
    funcs.line_to = OnLineTo;
    funcs.conic_to = OnConicTo;
    funcs.cubic_to = OnCubicTo;
    OutlineBuilder builder;
    if (FT_Outline_Decompose(&ft->glyph->outline, &funcs, &builder) != 0) return kBadParameterErr;
    FinishContour(&builder);
    double em = ft->units_per_EM > 0 ? ft->units_per_EM : 1000;
    double sx = dFontSize / em * dHScale, sy = dFontSize / em * dVScale;
    for (GlyphContour& c : builder.contours) {
        for (AIPathSegment& s : c.segments) {
            s.fCorner = IsCorner(s);
            for (AIRealPoint* p : {&s.ptAnchor, &s.ptIn, &s.ptOut})
                *p = TransformRealPoint(placement, AIRealPoint{p->h * sx, p->v * sy});
        }
    }
    pOutline->contours = std::move(builder.contours);
    return kNoErr;
}

std::u32string DecodeUtf8(const std::string& text)
{
    std::u32string out;
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    size_t n = text.size(), i = 0;
    while (i < n) {
        char32_t cp = 0;
        i += DecodeOneUtf8(s + i, n - i, &cp);
        out += cp;
    }
    return out;
}

std::u32string DecodeUtf16(const std::u16string& text)
{
    std::u32string out;
    for (size_t i = 0; i < text.size(); ++i) {
        char16_t u = text[i];
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            out += char32_t(0x10000 + ((u - 0xD800) << 10) + (text[i + 1] - 0xDC00));
            ++i;
        } else if (u >= 0xD800 && u <= 0xDFFF) {
            out += char32_t(0xFFFD);
        } else {
            out += char32_t(u);
        }
    }
    return out;
}

std::string EncodeUtf8(const std::u32string& text)
{
    std::string out;
    for (char32_t cp : text) {
        if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
        if (cp < 0x80) {
            out += char(cp);
        } else if (cp < 0x800) {
            out += char(0xC0 | (cp >> 6));
            out += char(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += char(0xE0 | (cp >> 12));
            out += char(0x80 | ((cp >> 6) & 0x3F));
            out += char(0x80 | (cp & 0x3F));
        } else {
            out += char(0xF0 | (cp >> 18));
            out += char(0x80 | ((cp >> 12) & 0x3F));
            out += char(0x80 | ((cp >> 6) & 0x3F));
            out += char(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

std::u16string EncodeUtf16(const std::u32string& text)
{
    std::u16string out;
    for (char32_t cp : text) {
        if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
        if (cp < 0x10000) {
            out += char16_t(cp);
        } else {
            cp -= 0x10000;
            out += char16_t(0xD800 + (cp >> 10));
            out += char16_t(0xDC00 + (cp & 0x3FF));
        }
    }
    return out;
}

AIRealPoint TransformRealPoint(const AIRealMatrix& m, AIRealPoint p)
{
    return AIRealPoint{p.h * m.a + p.v * m.c + m.tx, p.h * m.b + p.v * m.d + m.ty};
}
