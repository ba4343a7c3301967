#include "plugin/records/prefs_file.h"

#include "plugin/entry/plugin_globals.h"
#include "plugin/settings/settings_folder.h"
#include "platform/whole_file.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr size_t kLongestLine = 255;
constexpr size_t kLongestExtraField = 31;
constexpr int kFieldCount = 5;
constexpr size_t kProductNameLength = 63;
constexpr size_t kLargestPrefsFile = 16 * 1024 * 1024;   // beyond this, no memory is taken

enum class FileRead { kRead, kMissing, kUnreadable };

// The preferences file's path, with its "Prefs" folder created; false without a folder.
bool PrefsFilePath(std::string& path)
{
    char folder[kPluginPrefsFolderLimit + 1];
    if (GetPrefsFolder(folder, sizeof folder) != 0)
        return false;
    std::string prefs = std::string(folder) + "/Prefs";
    mkdir(prefs.c_str(), 0777);
    path = prefs + "/TRAVEX-Pro.ini";
    return true;
}

// Splits one line by the file's rules into key, value and up to three more fields;
// false for a comment, a blank line or a line without key or value.
bool ParsePrefsLine(const char* line, size_t length, std::string fields[kFieldCount])
{
    std::string kept;
    bool quoted = false;
    for (size_t i = 0; i < length && kept.size() < kLongestLine; ++i) {
        char c = line[i];
        if (c == '\r' || c == '\t' || (c == ' ' && !quoted))
            continue;
        if (c == '"')
            quoted = !quoted;
        kept += c;
    }
    if (kept.empty() || kept[0] == '\'')
        return false;

    int field = 0;
    quoted = false;
    for (char c : kept) {
        if (c == '"') {
            quoted = !quoted;
            continue;
        }
        if (!quoted && (c == '=' || c == ',')) {
            if (++field >= kFieldCount)
                break;
            continue;
        }
        size_t room = field < 2 ? kLongestLine : kLongestExtraField;
        if (fields[field].size() < room)
            fields[field] += c;
    }
    return !fields[0].empty() && !fields[1].empty();
}

void ApplyPrefsLine(const std::string fields[kFieldCount])
{
    const std::string& key = fields[0];
    const std::string& value = fields[1];
    if (key == "language") {
        g->iLanguage = value == "ENGLISH" ? 1 : (value == "KOREAN" ? 2 : 0);
    } else if (key == "product") {
        size_t n = value.size() < kProductNameLength ? value.size() : kProductNameLength;
        std::memcpy(g->szProductName, value.data(), n);
        g->szProductName[n] = '\0';
    }
}

// Every byte of the file.
FileRead ReadPrefsBytes(const std::string& path, std::string& bytes)
{
    if (int error = ReadWholeFile(path, kLargestPrefsFile, &bytes))
        return error == ENOENT ? FileRead::kMissing : FileRead::kUnreadable;
    return FileRead::kRead;
}

// The text the reader reads ends at the file's first NUL.
size_t TextEnd(const std::string& bytes)
{
    const size_t nul = bytes.find('\0');
    return nul == std::string::npos ? bytes.size() : nul;
}

// Calls body(line, length) for every line of the text.
template <typename Body>
void ForEachLine(const std::string& text, Body body)
{
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        body(text.data() + start, end - start);
        start = end + 1;
    }
}

} // namespace

void ReadPrefsIni()
{
    std::string path;
    std::string bytes;
    if (!PrefsFilePath(path) || ReadPrefsBytes(path, bytes) != FileRead::kRead)
        return;
    ForEachLine(bytes.substr(0, TextEnd(bytes)), [](const char* line, size_t length) {
        std::string fields[kFieldCount];
        if (ParsePrefsLine(line, length, fields))
            ApplyPrefsLine(fields);
    });
}

void WritePrefsIni()
{
    std::string path;
    if (!PrefsFilePath(path))
        return;
    // Lines of other keys (the product name) stay; the language line is replaced.
    std::string old;
    std::string text;
    FileRead read = ReadPrefsBytes(path, old);
    // A file that is there but cannot be read is not replaced: its lines would be lost.
    if (read == FileRead::kUnreadable)
        return;
    // The reader stops at a NUL: what follows it is kept byte for byte after the language
    // line, which stays where the reader finds it.
    const size_t end = TextEnd(old);
    const std::string unread = old.substr(end);
    old.resize(end);
    if (read == FileRead::kRead) {
        ForEachLine(old, [&text](const char* line, size_t length) {
            std::string fields[kFieldCount];
            if (ParsePrefsLine(line, length, fields) && fields[0] == "language")
                return;
            text.append(line, length);
            text += '\n';
        });
    }
    text += "language = ";
    switch (g->iLanguage) {
    case 0: text += "JAPANESE\r\n"; break;
    case 1: text += "ENGLISH\r\n"; break;
    case 2: text += "KOREAN\r\n"; break;
    default: break;
    }
    text += unread;

    ReplaceWholeFile(path, text, 0666);
}
