// Bidirectional order and Arabic joining of a line with FriBidi.
#include "host/text/text_bidi.h"

#include <fribidi.h>

#include <numeric>

namespace {

bool HasRightToLeft(const std::vector<FriBidiCharType>& types)
{
    for (FriBidiCharType t : types)
        if (FRIBIDI_IS_RTL(t) || FRIBIDI_IS_ARABIC(t)) return true;
    return false;
}

}  // namespace

BidiLine ResolveBidiLine(const std::u32string& text)
{
    BidiLine line;
    line.shaped = text;
    line.visual.resize(text.size());
    std::iota(line.visual.begin(), line.visual.end(), 0);
    const auto n = static_cast<FriBidiStrIndex>(text.size());
    if (n == 0 || text.size() > 1000000) return line;
    std::vector<FriBidiChar> chars(text.begin(), text.end());
    std::vector<FriBidiCharType> types(text.size());
    fribidi_get_bidi_types(chars.data(), n, types.data());
    if (!HasRightToLeft(types)) return line;
    std::vector<FriBidiBracketType> brackets(text.size());
    fribidi_get_bracket_types(chars.data(), n, types.data(), brackets.data());
    std::vector<FriBidiLevel> levels(text.size());
    FriBidiParType base = FRIBIDI_PAR_LTR;
    if (fribidi_get_par_embedding_levels_ex(types.data(), brackets.data(), n, &base, levels.data()) == 0)
        return line;
    // Joining forms and mirrored brackets; ligatures would merge two characters into one.
    std::vector<FriBidiArabicProp> joining(text.size());
    fribidi_get_joining_types(chars.data(), n, joining.data());
    fribidi_join_arabic(types.data(), n, levels.data(), joining.data());
    fribidi_shape(FRIBIDI_FLAG_SHAPE_MIRRORING | FRIBIDI_FLAG_SHAPE_ARAB_PRES, levels.data(), n, joining.data(),
                  chars.data());
    std::vector<FriBidiStrIndex> map(text.size());
    std::iota(map.begin(), map.end(), 0);
    if (fribidi_reorder_line(FRIBIDI_FLAGS_DEFAULT, types.data(), n, 0, base, levels.data(), nullptr, map.data()) == 0)
        return line;
    line.shaped.assign(chars.begin(), chars.end());
    line.visual.assign(map.begin(), map.end());
    return line;
}
