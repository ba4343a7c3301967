// What every fuzz target shares: a temporary home of its own (settings folder, registry
// store), whole files written and read back, and the check that stops the run at the first
// broken property with a message saying which.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The entry every target defines, called by libFuzzer or by the corpus runner.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace fuzz {

// The process's temporary home, made on first use: HOME, XDG_CONFIG_HOME and
// XDG_DOCUMENTS_DIR point into it; it is removed when the process exits.
const std::string& Home();

// A file path inside the home's scratch folder (created on first use).
std::string ScratchPath(const std::string& name);

// Whole files: read as they are (empty when missing; exists tells), written whole.
std::string ReadFile(const std::string& path, bool* exists = nullptr);
void WriteFile(const std::string& path, const std::string& bytes);
void RemoveFile(const std::string& path);

// Stops the run with the broken property and where it was checked; libFuzzer keeps the
// input that did it.
[[noreturn]] void Fail(const char* property, const char* file, int line, const std::string& detail);

}  // namespace fuzz

#define FUZZ_CHECK(condition, detail)                                       \
    do {                                                                    \
        if (!(condition))                                                   \
            ::fuzz::Fail(#condition, __FILE__, __LINE__, (detail));         \
    } while (0)
