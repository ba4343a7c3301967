// The plug-in property list: how a library tells the host what it is before any message.
// A plug-in exports it as the data symbol "PLUGIN". Layout, little-endian:
//   int32 version (0), int32 byteCount (the whole list), int32 count,
//   then count properties: char vendor[4], char key[4], int32 id (0), int32 length,
//   length bytes of data, padded with zeros to a multiple of 4.
// Four-character codes are stored in reading order ("ADBE", "kind").
#pragma once

#include <cstdint>

#define kPropertyListSymbol "PLUGIN"

constexpr int32_t kPropertyListVersion = 0;
constexpr int32_t kPropertyListHeaderBytes = 12;
constexpr int32_t kPropertyHeaderBytes = 16;
constexpr int32_t kPropertyListMaxBytes = 4096;

#define kAdobeVendor "ADBE"
#define kInterfaceVersionProperty "ivrs"   // int32 interface version
#define kPlatformCodeProperty "wx86"       // empty: the library holds native code
#define kKindProperty "kind"               // four characters
#define kPluginNameProperty "pinm"         // NUL-terminated name

#define kSPEAKind "SPEA"
constexpr int32_t kPluginInterfaceVersion = 2;
