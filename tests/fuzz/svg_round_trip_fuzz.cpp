// Fuzz target: load, save, load. A drawing saved unchanged comes back byte for byte; saved
// with every art and layer marked changed (each element written anew), it reads back as the
// same layers and art.
#include "tests/fuzz/svg_fuzz_common.h"

namespace {

void MarkEverythingChanged(host::Document& doc)
{
    doc.fChanged = true;
    // Content outside any layer group stays where it is; marking its layer would give it a
    // group of its own, which is how a change of its title or flags is written.
    for (host::Layer* layer : doc.layers)
        layer->fChanged = !layer->fRootContent;
    std::vector<host::Art*> arts;
    fuzz::ForEachArt(doc, [&](const host::Art& art) { arts.push_back(const_cast<host::Art*>(&art)); });
    for (host::Art* art : arts)
        if (art->layer != nullptr && art->type != host::ArtType::Group)
            host::MarkArtChanged(art);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string path = fuzz::ScratchPath("round-trip.svg");
    fuzz::WriteFile(path, bytes);
    std::string error;
    host::Document doc;
    if (!host::LoadSvgDocument(path, doc, error))
        return 0;
    const std::string listing = fuzz::ListingBody(doc);

    FUZZ_CHECK(host::SaveSvgDocument(doc, path, error), "an unchanged save refused: " + error);
    FUZZ_CHECK(fuzz::ReadFile(path) == bytes, "an unchanged save changed the file");

    MarkEverythingChanged(doc);
    FUZZ_CHECK(host::SaveSvgDocument(doc, path, error), "a changed save refused: " + error);
    const std::string saved = fuzz::ReadFile(path);
    host::Document again;
    FUZZ_CHECK(host::LoadSvgDocument(path, again, error), "the saved file does not read: " + error + "\n" + saved);
    std::string difference = fuzz::ListingDifference(listing, fuzz::ListingBody(again));
    FUZZ_CHECK(difference.empty(), "the saved file reads as another drawing, " + difference + "\nsaved:\n" + saved);
    return 0;
}
