// The "PLUGIN" property list the host reads before it sends the first message: interface
// version 2, native code, kind "SPEA", the name "TRAVEX-Pro".
#include "sdk/sp_property_list.h"

#define LE32(v) uint8_t((v) & 0xFF), uint8_t(((v) >> 8) & 0xFF), uint8_t(((v) >> 16) & 0xFF), uint8_t(((v) >> 24) & 0xFF)
#define CODE(s) uint8_t(s[0]), uint8_t(s[1]), uint8_t(s[2]), uint8_t(s[3])

extern "C" __attribute__((visibility("default"), used)) const uint8_t PLUGIN[] = {
    LE32(kPropertyListVersion), LE32(96), LE32(4),
    CODE(kAdobeVendor), CODE(kInterfaceVersionProperty), LE32(0), LE32(4), LE32(kPluginInterfaceVersion),
    CODE(kAdobeVendor), CODE(kPlatformCodeProperty), LE32(0), LE32(0),
    CODE(kAdobeVendor), CODE(kKindProperty), LE32(0), LE32(4), CODE(kSPEAKind),
    CODE(kAdobeVendor), CODE(kPluginNameProperty), LE32(0), LE32(11),
    'T', 'R', 'A', 'V', 'E', 'X', '-', 'P', 'r', 'o', 0, 0,
};

static_assert(sizeof PLUGIN == 96);
