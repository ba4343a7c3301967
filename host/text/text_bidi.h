// The order in which a line's characters stand and the forms they are drawn in: the Unicode
// bidirectional algorithm (Hebrew and Arabic run right to left inside left-to-right text, as
// SVG text runs by default) and Arabic joining, through FriBidi.
#pragma once

#include <string>
#include <vector>

struct BidiLine {
    std::vector<int> visual;  // for each place from the left, the index of its character
    std::u32string shaped;    // for each character, the form to draw (Arabic presentation forms)
};

// A line of text in stored (logical) order; text without right-to-left characters stays as
// it is.
BidiLine ResolveBidiLine(const std::u32string& text);
