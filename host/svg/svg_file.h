// SVG drawings as documents: a file read into the document model, and the document written
// back over its file. Errors name the file and the reason (with the parser's line when it
// has one).
#pragma once

#include "host/document/document.h"

#include <string>

namespace host {

bool LoadSvgDocument(const std::string& path, Document& doc, std::string& error);
bool SaveSvgDocument(Document& doc, const std::string& path, std::string& error);

}  // namespace host
