// Registry values of the current user, kept in one store file in the text form of a
// registry export ($XDG_CONFIG_HOME/travex/registry.reg). Every call reads the store
// afresh under a shared lock; every change re-reads it under an exclusive lock and
// replaces it whole, so programs running at once never lose each other's values.
// Results are the system's registry error codes.
#pragma once

#include <cstdint>
#include <string>

constexpr int32_t kRegistrySuccess = 0;
constexpr int32_t kRegistryFileNotFound = 2;      // no such key or value
constexpr int32_t kRegistryInvalidHandle = 6;
constexpr int32_t kRegistryInvalidParameter = 87;
constexpr int32_t kRegistryMoreData = 234;        // the value is larger than the room given
constexpr int32_t kRegistryIoFailed = 1016;       // the store could not be written

constexpr uint32_t kRegNone = 0;
constexpr uint32_t kRegSz = 1;
constexpr uint32_t kRegBinary = 3;
constexpr uint32_t kRegDword = 4;

struct RegistryKeyRecord;
typedef RegistryKeyRecord* RegistryKey;

// The predefined key HKEY_CURRENT_USER; closing it is allowed and does nothing.
extern const RegistryKey kRegistryCurrentUser;

// Opens an existing key below parent; subKey is a backslash-separated path (empty or
// null opens parent again). Missing key: kRegistryFileNotFound.
int32_t OpenRegistryKey(RegistryKey parent, const char* subKey, RegistryKey* result);
// Opens the key, creating it and every missing level above it.
int32_t CreateRegistryKey(RegistryKey parent, const char* subKey, RegistryKey* result);
int32_t CloseRegistryKey(RegistryKey key);

// As the system's value query: type and size are filled in; data may be null to learn the
// size; too little room gives kRegistryMoreData with size set to what is needed.
int32_t QueryRegistryValue(RegistryKey key, const char* name, uint32_t* type, void* data,
    uint32_t* size);
// A four-byte value read into value; a larger value gives kRegistryMoreData, a smaller
// one kRegistryInvalidParameter (value untouched either way).
int32_t QueryRegistryDword(RegistryKey key, const char* name, uint32_t* value);

int32_t SetRegistryValue(RegistryKey key, const char* name, uint32_t type, const void* data,
    uint32_t size);
int32_t SetRegistryDword(RegistryKey key, const char* name, uint32_t value);

// The store file's path (for tests and for the user's information).
std::string RegistryStorePath();
