#include "platform/registry_store.h"

#include "platform/documents_folder.h"
#include "platform/whole_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

struct RegistryKeyRecord {
    std::string path;
    bool predefined;
};

namespace {

RegistryKeyRecord g_currentUser{"HKEY_CURRENT_USER", true};

const char kStoreHeader[] = "Windows Registry Editor Version 5.00";
constexpr size_t kLargestStore = 64 * 1024 * 1024;

struct StoreEntry {
    std::string raw;     // a line kept as it stood: written back unchanged
    bool isValue = false;
    bool hasName = false;
    std::string name;
    uint32_t type = kRegNone;
    std::vector<uint8_t> data;
};

struct StoreSection {
    std::string path;
    std::vector<StoreEntry> entries;
};

struct Store {
    bool garbled = false;
    std::vector<std::string> preamble;
    std::vector<StoreSection> sections;
};

// ---- names and paths --------------------------------------------------------------

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    return true;
}

bool IsBelow(const std::string& path, const std::string& ancestor)
{
    return path.size() > ancestor.size() + 1 && path[ancestor.size()] == '\\' &&
        SameName(path.substr(0, ancestor.size()), ancestor);
}

bool HasControlCharacter(const std::string& s)
{
    for (char c : s)
        if (static_cast<unsigned char>(c) < 0x20)
            return true;
    return false;
}

// The full path of subKey below parent, or false for a name the store cannot hold.
bool JoinKeyPath(const std::string& parent, const char* subKey, std::string& path,
    std::vector<std::string>& levels)
{
    path = parent;
    levels.clear();
    if (subKey == nullptr)
        return true;
    std::string part;
    for (const char* p = subKey;; ++p) {
        if (*p == '\\' || *p == '\0') {
            if (!part.empty()) {
                if (HasControlCharacter(part) || part.size() > 255)
                    return false;
                path += '\\';
                path += part;
                levels.push_back(path);
                part.clear();
            }
            if (*p == '\0')
                break;
        } else {
            part += *p;
        }
    }
    return true;
}

// ---- the store file ---------------------------------------------------------------

std::string StoreFolder()
{
    std::string config = GetConfigFolder();
    return config.empty() ? std::string() : config + "/travex";
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = Lower(c);
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// Reads a quoted name or string starting at text[pos] == '"'; pos ends after the quote.
bool ParseQuoted(const std::string& text, size_t& pos, std::string& out)
{
    if (pos >= text.size() || text[pos] != '"')
        return false;
    out.clear();
    for (++pos; pos < text.size(); ++pos) {
        char c = text[pos];
        if (c == '"') {
            ++pos;
            return true;
        }
        if (c == '\\') {
            if (++pos >= text.size())
                return false;
            c = text[pos];
            if (c != '\\' && c != '"')
                return false;
        }
        out += c;
    }
    return false;
}

bool ParseHexBytes(const std::string& text, std::vector<uint8_t>& data)
{
    data.clear();
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\\'))
            ++i;
        if (i >= text.size())
            break;
        if (i + 1 >= text.size() || HexDigit(text[i]) < 0 || HexDigit(text[i + 1]) < 0)
            return false;
        data.push_back(static_cast<uint8_t>(HexDigit(text[i]) * 16 + HexDigit(text[i + 1])));
        i += 2;
        while (i < text.size() && text[i] == ' ')
            ++i;
        if (i < text.size()) {
            if (text[i] != ',')
                return false;
            ++i;
        }
    }
    return true;
}

bool ParseValueData(const std::string& text, StoreEntry& entry)
{
    if (text.rfind("dword:", 0) == 0) {
        std::string digits = text.substr(6);
        if (digits.empty() || digits.size() > 8)
            return false;
        uint32_t value = 0;
        for (char c : digits) {
            int d = HexDigit(c);
            if (d < 0)
                return false;
            value = value * 16 + static_cast<uint32_t>(d);
        }
        entry.type = kRegDword;
        entry.data.resize(4);
        std::memcpy(entry.data.data(), &value, 4);
        return true;
    }
    if (text.rfind("hex:", 0) == 0) {
        entry.type = kRegBinary;
        return ParseHexBytes(text.substr(4), entry.data);
    }
    if (text.rfind("hex(", 0) == 0) {
        size_t close = text.find("):", 4);
        if (close == std::string::npos || close == 4 || close > 12)
            return false;
        uint32_t type = 0;
        for (size_t i = 4; i < close; ++i) {
            int d = HexDigit(text[i]);
            if (d < 0)
                return false;
            type = type * 16 + static_cast<uint32_t>(d);
        }
        entry.type = type;
        return ParseHexBytes(text.substr(close + 2), entry.data);
    }
    if (!text.empty() && text[0] == '"') {
        size_t pos = 0;
        std::string s;
        if (!ParseQuoted(text, pos, s) || pos != text.size())
            return false;
        entry.type = kRegSz;
        entry.data.assign(s.begin(), s.end());
        entry.data.push_back(0);
        return true;
    }
    return false;
}

StoreEntry ParseValueLine(const std::string& line)
{
    StoreEntry entry;
    entry.raw = line;
    size_t pos = 0;
    if (line[0] == '@') {
        pos = 1;
    } else if (!ParseQuoted(line, pos, entry.name)) {
        return entry;
    }
    if (pos >= line.size() || line[pos] != '=')
        return entry;
    entry.hasName = true;
    entry.isValue = ParseValueData(line.substr(pos + 1), entry);
    if (!entry.isValue) {
        entry.type = kRegNone;
        entry.data.clear();
    }
    return entry;
}

void ParseStoreText(const std::string& text, Store& store)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    if (!lines.empty() && lines[0].rfind("\xEF\xBB\xBF", 0) == 0)
        lines[0].erase(0, 3);
    while (!lines.empty() && !lines[0].empty() && lines[0].back() == ' ')
        lines[0].pop_back();
    if (lines.empty() || lines[0] != kStoreHeader) {
        store.garbled = !text.empty();
        return;
    }

    StoreSection* section = nullptr;
    for (size_t i = 1; i < lines.size(); ++i) {
        std::string line = lines[i];
        if (line.empty())
            continue;
        if (line.front() == '[' && line.back() == ']') {
            store.sections.push_back({line.substr(1, line.size() - 2), {}});
            section = &store.sections.back();
            continue;
        }
        if (line[0] == '"' || line[0] == '@') {
            // Long hexadecimal values go on over lines ending in a backslash.
            while (line.back() == '\\' && line.find("=hex") != std::string::npos &&
                i + 1 < lines.size()) {
                line.pop_back();
                std::string next = lines[++i];
                size_t first = next.find_first_not_of(' ');
                line += first == std::string::npos ? std::string() : next.substr(first);
            }
            // A continuation mark on the file's last line continues nothing; kept, it would
            // take in the first line written after it.
            if (line.back() == '\\' && line.find("=hex") != std::string::npos && i + 1 == lines.size())
                line.pop_back();
            StoreEntry entry = ParseValueLine(line);
            if (section != nullptr)
                section->entries.push_back(entry);
            else
                store.preamble.push_back(line);
            continue;
        }
        StoreEntry entry;
        entry.raw = line;
        if (section != nullptr)
            section->entries.push_back(entry);
        else
            store.preamble.push_back(line);
    }
}

// Reads the store; a missing file is an empty store, an unreadable one garbled.
void ReadStoreFile(const std::string& path, Store& store)
{
    store = Store{};
    std::string text;
    if (int error = ReadWholeFile(path, kLargestStore, &text)) {
        store.garbled = error != ENOENT;
        return;
    }
    if (text.find('\0') != std::string::npos) {
        store.garbled = true;
        return;
    }
    ParseStoreText(text, store);
}

std::string EscapeQuoted(const std::string& s)
{
    std::string out = "\"";
    for (char c : s) {
        if (c == '\\' || c == '"')
            out += '\\';
        out += c;
    }
    return out + '"';
}

std::string HexList(const std::vector<uint8_t>& data)
{
    std::string out;
    char buf[4];
    for (size_t i = 0; i < data.size(); ++i) {
        std::snprintf(buf, sizeof buf, i == 0 ? "%02x" : ",%02x", data[i]);
        out += buf;
    }
    return out;
}

bool IsPlainString(const std::vector<uint8_t>& data)
{
    if (data.empty() || data.back() != 0)
        return false;
    for (size_t i = 0; i + 1 < data.size(); ++i)
        if (data[i] < 0x20)
            return false;
    return true;
}

std::string ValueLine(const StoreEntry& entry)
{
    std::string line = entry.name.empty() ? "@" : EscapeQuoted(entry.name);
    line += '=';
    char buf[32];
    if (entry.type == kRegDword && entry.data.size() == 4) {
        uint32_t value;
        std::memcpy(&value, entry.data.data(), 4);
        std::snprintf(buf, sizeof buf, "dword:%08x", value);
        line += buf;
    } else if (entry.type == kRegSz && IsPlainString(entry.data)) {
        line += EscapeQuoted(std::string(entry.data.begin(), entry.data.end() - 1));
    } else if (entry.type == kRegBinary) {
        line += "hex:" + HexList(entry.data);
    } else {
        std::snprintf(buf, sizeof buf, "hex(%x):", entry.type);
        line += buf + HexList(entry.data);
    }
    return line;
}

// A line kept as it stood, ended so that reading it again gives it back: reading takes one
// CR off before each LF, so a line that ends in CR is ended with CR LF.
std::string KeptLine(const std::string& line)
{
    return line + (!line.empty() && line.back() == '\r' ? "\r\n" : "\n");
}

std::string StoreText(const Store& store)
{
    std::string text = std::string(kStoreHeader) + "\n";
    for (const std::string& line : store.preamble)
        text += KeptLine(line);
    for (const StoreSection& section : store.sections) {
        text += "\n[" + section.path + "]\n";
        for (const StoreEntry& entry : section.entries)
            text += entry.isValue ? ValueLine(entry) + "\n" : KeptLine(entry.raw);
    }
    return text;
}

// Writes the store beside the old one and renames it over it; a garbled old store is kept
// as registry.reg.bad so nothing the user wrote there is lost unseen.
bool ReplaceStoreFile(const std::string& folder, const Store& store, bool oldGarbled)
{
    std::string path = folder + "/registry.reg";
    std::string fresh;
    if (WriteFileBeside(path, StoreText(store), 0600, &fresh) != 0)
        return false;
    if (oldGarbled)
        rename(path.c_str(), (path + ".bad").c_str());
    return RenameFileOver(fresh, path) == 0;
}

class StoreLock {
public:
    StoreLock(const std::string& folder, int operation)
    {
        if (folder.empty())
            return;
        fd_ = open((folder + "/registry.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (fd_ < 0)
            return;
        while (flock(fd_, operation) != 0) {
            if (errno != EINTR) {
                close(fd_);
                fd_ = -1;
                return;
            }
        }
    }
    ~StoreLock()
    {
        if (fd_ >= 0)
            close(fd_);
    }
    StoreLock(const StoreLock&) = delete;
    StoreLock& operator=(const StoreLock&) = delete;
    bool Held() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

void LoadStore(Store& store)
{
    std::string folder = StoreFolder();
    if (folder.empty()) {
        store = Store{};
        return;
    }
    StoreLock lock(folder, LOCK_SH);
    ReadStoreFile(folder + "/registry.reg", store);
}

bool MakeFolders(const std::string& folder)
{
    for (size_t pos = 1; pos <= folder.size(); ++pos) {
        if (pos == folder.size() || folder[pos] == '/') {
            std::string level = folder.substr(0, pos);
            if (mkdir(level.c_str(), 0700) != 0 && errno != EEXIST)
                return false;
        }
    }
    return true;
}

// Re-reads the store under the exclusive lock, lets change alter it (change returns
// whether anything changed) and replaces the file.
template <typename Change>
int32_t ModifyStore(Change change)
{
    std::string folder = StoreFolder();
    if (folder.empty() || !MakeFolders(folder))
        return kRegistryIoFailed;
    StoreLock lock(folder, LOCK_EX);
    if (!lock.Held())
        return kRegistryIoFailed;
    Store store;
    ReadStoreFile(folder + "/registry.reg", store);
    bool garbled = store.garbled;
    if (garbled)
        store = Store{};
    if (!change(store) && !garbled)
        return kRegistrySuccess;
    return ReplaceStoreFile(folder, store, garbled) ? kRegistrySuccess : kRegistryIoFailed;
}

bool KeyExists(const Store& store, const std::string& path)
{
    if (SameName(path, g_currentUser.path))
        return true;
    for (const StoreSection& section : store.sections)
        if (SameName(section.path, path) || IsBelow(section.path, path))
            return true;
    return false;
}

const StoreEntry* FindValue(const Store& store, const std::string& path, const std::string& name)
{
    const StoreEntry* found = nullptr;
    for (const StoreSection& section : store.sections) {
        if (!SameName(section.path, path))
            continue;
        for (const StoreEntry& entry : section.entries)
            if (entry.isValue && SameName(entry.name, name))
                found = &entry;
    }
    return found;
}

bool AddMissingSections(Store& store, const std::vector<std::string>& levels)
{
    bool changed = false;
    for (const std::string& level : levels) {
        bool present = false;
        for (const StoreSection& section : store.sections)
            present = present || SameName(section.path, level);
        if (!present) {
            store.sections.push_back({level, {}});
            changed = true;
        }
    }
    return changed;
}

// Every level of a key below the root gets its own section, as an export lists them.
std::vector<std::string> LevelsOf(const std::string& path)
{
    std::vector<std::string> levels;
    for (size_t pos = g_currentUser.path.size() + 1; pos <= path.size(); ++pos)
        if (pos == path.size() || path[pos] == '\\')
            levels.push_back(path.substr(0, pos));
    return levels;
}

RegistryKey NewKey(const std::string& path)
{
    return new RegistryKeyRecord{path, false};
}

int32_t OpenOrCreate(RegistryKey parent, const char* subKey, RegistryKey* result, bool create)
{
    if (result == nullptr)
        return kRegistryInvalidParameter;
    *result = nullptr;
    if (parent == nullptr)
        return kRegistryInvalidHandle;
    std::string path;
    std::vector<std::string> levels;
    if (!JoinKeyPath(parent->path, subKey, path, levels))
        return kRegistryInvalidParameter;
    if (create) {
        std::vector<std::string> all = LevelsOf(path);
        int32_t status = ModifyStore([&](Store& store) { return AddMissingSections(store, all); });
        if (status != kRegistrySuccess)
            return status;
    } else {
        Store store;
        LoadStore(store);
        if (!KeyExists(store, path))
            return kRegistryFileNotFound;
    }
    *result = NewKey(path);
    return kRegistrySuccess;
}

} // namespace

const RegistryKey kRegistryCurrentUser = &g_currentUser;

int32_t OpenRegistryKey(RegistryKey parent, const char* subKey, RegistryKey* result)
{
    return OpenOrCreate(parent, subKey, result, false);
}

int32_t CreateRegistryKey(RegistryKey parent, const char* subKey, RegistryKey* result)
{
    return OpenOrCreate(parent, subKey, result, true);
}

int32_t CloseRegistryKey(RegistryKey key)
{
    if (key == nullptr)
        return kRegistryInvalidHandle;
    if (!key->predefined)
        delete key;
    return kRegistrySuccess;
}

int32_t QueryRegistryValue(RegistryKey key, const char* name, uint32_t* type, void* data,
    uint32_t* size)
{
    if (key == nullptr)
        return kRegistryInvalidHandle;
    if (data != nullptr && size == nullptr)
        return kRegistryInvalidParameter;
    Store store;
    LoadStore(store);
    const StoreEntry* entry = FindValue(store, key->path, name ? name : "");
    if (entry == nullptr)
        return kRegistryFileNotFound;
    if (type != nullptr)
        *type = entry->type;
    uint32_t needed = static_cast<uint32_t>(entry->data.size());
    if (size == nullptr)
        return kRegistrySuccess;
    uint32_t room = *size;
    *size = needed;
    if (data == nullptr)
        return kRegistrySuccess;
    if (room < needed)
        return kRegistryMoreData;
    if (needed > 0)
        std::memcpy(data, entry->data.data(), needed);
    return kRegistrySuccess;
}

int32_t QueryRegistryDword(RegistryKey key, const char* name, uint32_t* value)
{
    if (value == nullptr)
        return kRegistryInvalidParameter;
    uint32_t type = kRegDword;
    uint32_t size = 4;
    uint32_t read = 0;
    int32_t status = QueryRegistryValue(key, name, &type, &read, &size);
    if (status == kRegistrySuccess) {
        if (size != 4)
            return kRegistryInvalidParameter;
        *value = read;
    }
    return status;
}

int32_t SetRegistryValue(RegistryKey key, const char* name, uint32_t type, const void* data,
    uint32_t size)
{
    if (key == nullptr)
        return kRegistryInvalidHandle;
    std::string valueName = name ? name : "";
    if (HasControlCharacter(valueName) || (size > 0 && data == nullptr) ||
        (type == kRegDword && size != 4))
        return kRegistryInvalidParameter;
    StoreEntry entry;
    entry.isValue = true;
    entry.hasName = true;
    entry.name = valueName;
    entry.type = type;
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    entry.data.assign(bytes, bytes + size);
    const std::string& path = key->path;
    std::vector<std::string> levels = LevelsOf(path);
    if (levels.empty())
        levels.push_back(path);
    return ModifyStore([&](Store& store) {
        AddMissingSections(store, levels);
        bool placed = false;
        for (StoreSection& section : store.sections) {
            if (!SameName(section.path, path))
                continue;
            std::vector<StoreEntry> kept;
            for (StoreEntry& old : section.entries) {
                if (old.hasName && SameName(old.name, valueName)) {
                    if (!placed)
                        kept.push_back(entry);
                    placed = true;
                } else {
                    kept.push_back(old);
                }
            }
            if (!placed) {
                kept.push_back(entry);
                placed = true;
            }
            section.entries = kept;
        }
        return true;
    });
}

int32_t SetRegistryDword(RegistryKey key, const char* name, uint32_t value)
{
    return SetRegistryValue(key, name, kRegDword, &value, 4);
}

std::string RegistryStorePath()
{
    std::string folder = StoreFolder();
    return folder.empty() ? std::string() : folder + "/registry.reg";
}
