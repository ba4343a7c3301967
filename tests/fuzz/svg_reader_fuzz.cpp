// Fuzz target: reading an SVG file. The reader either refuses the file with a reason or
// gives a document whose every point and matrix is finite and that lists; it never
// changes the file it reads.
#include "tests/fuzz/svg_fuzz_common.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string path = fuzz::ScratchPath("drawing.svg");
    fuzz::WriteFile(path, bytes);
    std::string error;
    {
        host::Document doc;
        if (host::LoadSvgDocument(path, doc, error)) {
            fuzz::ForEachArt(doc, [](const host::Art& art) {
                for (const AIPathSegment& seg : art.segments)
                    FUZZ_CHECK(fuzz::FinitePoint(seg.ptAnchor) && fuzz::FinitePoint(seg.ptIn) &&
                                   fuzz::FinitePoint(seg.ptOut),
                               "a point that is not finite in art " + art.name);
                FUZZ_CHECK(fuzz::FiniteMatrix(art.matrix) && fuzz::FiniteMatrix(art.contentMatrix) &&
                               fuzz::FiniteMatrix(art.text.matrix),
                           "a matrix that is not finite in art " + art.name);
                FUZZ_CHECK(std::isfinite(art.style.strokeWidth), "a stroke width that is not finite in " + art.name);
                AIRealRect bounds;
                if (host::ArtBounds(&art, bounds))
                    FUZZ_CHECK(std::isfinite(bounds.left) && std::isfinite(bounds.top) &&
                                   std::isfinite(bounds.right) && std::isfinite(bounds.bottom),
                               "bounds that are not finite of art " + art.name);
            });
            FUZZ_CHECK(std::isfinite(doc.width) && std::isfinite(doc.height) && fuzz::FiniteMatrix(doc.userToArtwork),
                       "a canvas that is not finite");
            FUZZ_CHECK(!host::DocumentListing(doc).empty(), "no listing");
        } else {
            FUZZ_CHECK(!error.empty(), "a refusal without a reason");
        }
    }
    FUZZ_CHECK(fuzz::ReadFile(path) == bytes, "the file read was changed");
    return 0;
}
