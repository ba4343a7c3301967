// Fuzz target: the preferences file. Whatever the file holds, reading it leaves a language
// of 0, 1 or 2 and a terminated product name; writing the language back and reading the
// file again gives the same language and product name, and the file's other lines stay.
#include "plugin/entry/plugin_globals.h"
#include "plugin/records/prefs_file.h"
#include "plugin/settings/settings_folder.h"
#include "tests/fuzz/fuzz_support.h"

#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

namespace {

struct State {
    int16_t language;
    std::string product;
};

State Read(int16_t startLanguage)
{
    g->iLanguage = startLanguage;
    std::strcpy(g->szProductName, "before");
    ReadPrefsIni();
    FUZZ_CHECK(std::memchr(g->szProductName, 0, sizeof g->szProductName) != nullptr, "an unterminated product name");
    return {g->iLanguage, g->szProductName};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto globals = std::make_unique<PluginGlobals>();
    g = globals.get();
    char folder[kPluginPrefsFolderLimit + 1];
    FUZZ_CHECK(GetPrefsFolder(folder, sizeof folder) == 0, "no settings folder");
    std::filesystem::create_directories(std::string(folder) + "/Prefs");
    const std::string path = std::string(folder) + "/Prefs/TRAVEX-Pro.ini";
    const std::string text(reinterpret_cast<const char*>(data), size);
    fuzz::WriteFile(path, text);

    State first = Read(1);
    FUZZ_CHECK(first.language >= 0 && first.language <= 2, "language " + std::to_string(first.language));
    WritePrefsIni();
    const std::string written = fuzz::ReadFile(path);
    State second = Read(first.language == 2 ? 1 : 2);
    FUZZ_CHECK(second.language == first.language, "the language written back reads as " +
                                                      std::to_string(second.language) + ", not " +
                                                      std::to_string(first.language) + "\n" + written);
    FUZZ_CHECK(second.product == first.product,
               "the product name \"" + first.product + "\" came back as \"" + second.product + "\"");
    // Every line up to the text's end (its first NUL) that does not start with the language
    // key is still in the file.
    const std::string read(text.c_str());
    size_t start = 0;
    while (start < read.size()) {
        size_t end = read.find('\n', start);
        if (end == std::string::npos)
            end = read.size();
        std::string line = read.substr(start, end - start);
        start = end + 1;
        // (Blanks, tabs, CRs and quotes are dropped before a key is read, so "lan guage" and
        // l""anguage are the key.)
        std::string squeezed;
        for (char c : line)
            if (c != ' ' && c != '\t' && c != '\r' && c != '"')
                squeezed += c;
        if (squeezed.find("language") == std::string::npos)
            FUZZ_CHECK(written.find(line + "\n") != std::string::npos, "the line \"" + line + "\" was lost");
    }
    g = nullptr;
    return 0;
}
