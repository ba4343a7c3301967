// CSS declarations as style attributes and style sheets write them.
#include "host/svg/svg_source.h"

namespace host {

std::string TrimCssSpace(const std::string& text)
{
    size_t b = text.find_first_not_of(" \t\r\n");
    if (b == std::string::npos) return "";
    size_t e = text.find_last_not_of(" \t\r\n");
    return text.substr(b, e - b + 1);
}

CssDeclarations ReadCssDeclarations(const char* text)
{
    CssDeclarations out;
    std::string s = text ? text : "";
    size_t pos = 0;
    while (pos < s.size()) {
        size_t end = s.find(';', pos);
        if (end == std::string::npos) end = s.size();
        std::string decl = s.substr(pos, end - pos);
        size_t colon = decl.find(':');
        if (colon != std::string::npos) {
            std::string key = TrimCssSpace(decl.substr(0, colon));
            if (!key.empty()) out.emplace_back(key, TrimCssSpace(decl.substr(colon + 1)));
        }
        pos = end + 1;
    }
    return out;
}

}  // namespace host
