// Helpers shared by the SVG tests: finding art by id, files in a test folder.
#pragma once

#include "host/document/document.h"
#include "tests/support/host_drawings.h"
#include "tests/support/temp_home.h"
#include "tests/support/test_files.h"

#include <fstream>
#include <sstream>
#include <string>

namespace svgtest {

using onhost::FindArt;
using onhost::FindIn;

inline std::string Example(const std::string& name)
{
    return std::string(TRAVEX_SOURCE_DIR) + "/examples/" + name;
}

using ::ReadBytes;
using ::WriteBytes;

// The listing without its first line, which names the file.
inline std::string ListingBody(const host::Document& doc)
{
    std::string listing = host::DocumentListing(doc);
    return listing.substr(listing.find('\n') + 1);
}

}  // namespace svgtest
