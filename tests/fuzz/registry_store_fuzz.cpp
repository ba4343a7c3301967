// Fuzz target: the registry store. The input is the store file as found. Setting a value
// loses none of the values that could be read before (same type, same bytes), the new value
// reads back, and a store that could not be understood is kept byte for byte as
// registry.reg.bad beside the new one.
#include "platform/registry_store.h"
#include "tests/fuzz/fuzz_support.h"

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace {

const std::string kUser = "HKEY_CURRENT_USER";

struct Reading {
    int32_t status = 0;
    uint32_t type = 0;
    std::vector<uint8_t> data;
    bool operator==(const Reading&) const = default;
};

Reading Read(const std::string& subKey, const std::string& name)
{
    Reading reading;
    RegistryKey key = nullptr;
    reading.status = OpenRegistryKey(kRegistryCurrentUser, subKey.c_str(), &key);
    if (reading.status != kRegistrySuccess)
        return reading;
    uint32_t size = 0;
    reading.status = QueryRegistryValue(key, name.c_str(), &reading.type, nullptr, &size);
    if (reading.status == kRegistrySuccess) {
        reading.data.resize(size);
        uint32_t room = size;
        reading.status = QueryRegistryValue(key, name.c_str(), &reading.type, reading.data.data(), &room);
        FUZZ_CHECK(room == size, "the size asked for and the size read differ for " + name);
    }
    CloseRegistryKey(key);
    return reading;
}

// The value names the store text seems to hold, by section: what the check reads before
// and after. Names the store does not hold read as missing both times.
std::vector<std::pair<std::string, std::string>> NamesIn(const std::string& text)
{
    std::vector<std::pair<std::string, std::string>> names;
    std::string section;
    size_t start = 0;
    while (start < text.size() && names.size() < 64) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            section = line.substr(1, line.size() - 2);
            continue;
        }
        if (section.rfind(kUser + "\\", 0) != 0)
            continue;
        std::string subKey = section.substr(kUser.size() + 1);
        if (!line.empty() && line[0] == '@') {
            names.emplace_back(subKey, "");
        } else if (!line.empty() && line[0] == '"') {
            std::string name;
            for (size_t i = 1; i < line.size() && line[i] != '"'; ++i) {
                if (line[i] == '\\' && i + 1 < line.size())
                    ++i;
                name += line[i];
            }
            names.emplace_back(subKey, name);
        }
    }
    return names;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string path = RegistryStorePath();
    FUZZ_CHECK(!path.empty(), "no store path");
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    fuzz::RemoveFile(path + ".bad");
    fuzz::WriteFile(path, text);

    std::vector<std::pair<std::string, std::string>> names = NamesIn(text);
    // The probe goes into the first section named, when there is one, else a fresh key.
    std::string probeKey = names.empty() ? std::string("Software\\Fuzz Probe") : names[0].first;
    const std::string probeName = "fuzz probe value";
    std::vector<Reading> before;
    for (const auto& [subKey, name] : names)
        before.push_back(Read(subKey, name));

    RegistryKey key = nullptr;
    int32_t status = CreateRegistryKey(kRegistryCurrentUser, probeKey.c_str(), &key);
    if (status == kRegistryInvalidParameter)
        status = CreateRegistryKey(kRegistryCurrentUser, (probeKey = "Software\\Fuzz Probe").c_str(), &key);
    FUZZ_CHECK(status == kRegistrySuccess, "the probe's key not made: " + std::to_string(status));
    FUZZ_CHECK(SetRegistryDword(key, probeName.c_str(), 0x12345678) == kRegistrySuccess, "the probe not set");
    CloseRegistryKey(key);

    Reading probe = Read(probeKey, probeName);
    FUZZ_CHECK(probe.status == kRegistrySuccess && probe.type == kRegDword && probe.data.size() == 4,
               "the probe does not read back");
    for (size_t i = 0; i < names.size(); ++i) {
        if (names[i].second == probeName)
            continue;
        FUZZ_CHECK(Read(names[i].first, names[i].second) == before[i],
                   "value \"" + names[i].second + "\" of " + names[i].first + " changed or lost");
    }
    bool keptBad = false;
    std::string bad = fuzz::ReadFile(path + ".bad", &keptBad);
    if (keptBad)
        FUZZ_CHECK(bad == text, "the garbled store is not kept byte for byte");
    return 0;
}
