// Test helpers: the settings file as raw bytes, built by hand from the file format.
#pragma once

#include "tests/support/temp_home.h"
#include "tests/support/test_files.h"

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>

inline std::string TestSettingsFolder()
{
    return TestHome() + "/Documents/Adobe/Illustrator";
}

inline std::string TestSettingsFile()
{
    return TestSettingsFolder() + "/TRAVEX2K.INI";
}

inline bool FileExists(const std::string& path)
{
    return std::filesystem::exists(path);
}

inline void Put16(std::string& b, size_t offset, int16_t v)
{
    b[offset] = static_cast<char>(v & 0xFF);
    b[offset + 1] = static_cast<char>((v >> 8) & 0xFF);
}

inline void Put32(std::string& b, size_t offset, int32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[offset + i] = static_cast<char>((static_cast<uint32_t>(v) >> (8 * i)) & 0xFF);
}

inline void PutText(std::string& b, size_t offset, const char* text)
{
    std::memcpy(&b[offset], text, std::strlen(text));
}

inline int16_t Get16(const std::string& b, size_t offset)
{
    return static_cast<int16_t>(static_cast<uint8_t>(b[offset]) | (static_cast<uint8_t>(b[offset + 1]) << 8));
}

// The file a program creates, written out field by field at its absolute offsets.
inline std::string ExpectedDefaultFile(int16_t blockVersion)
{
    std::string b(17922, '\0');
    Put16(b, 0, 302);
    const size_t p = 2;   // the settings record
    Put16(b, p + 0, blockVersion);
    for (int i = 0; i < 4; ++i) {
        Put32(b, p + 4 + 4 * i, 15);     // sheet margins
        Put32(b, p + 20 + 4 * i, 15);    // roll margins
        Put32(b, p + 180 + 4 * i, 5);    // frame-cut margins
    }
    Put16(b, p + 36, 1);    // sort mode
    Put16(b, p + 38, 1);    // overlap
    Put16(b, p + 42, 2);    // kanji mode
    Put16(b, p + 46, 40);
    struct Slot {
        int16_t type, thickness, red, green, blue, color;
    } slots[10] = {
        {3, 0, 10000, 0, 0, 1}, {3, 0, 0, 10000, 0, 1}, {3, 0, 0, 0, 10000, 1}, {3, 0, 0, 0, 0, 1},
        {5, 50, 0, 0, 0, 0}, {5, 30, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0}, {9, 0, 0, 0, 0, 0},
        {0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0}};
    for (int i = 0; i < 10; ++i) {
        size_t s = p + 56 + 12 * i;
        Put16(b, s, slots[i].type);
        Put16(b, s + 2, slots[i].thickness);
        Put16(b, s + 4, slots[i].red);
        Put16(b, s + 6, slots[i].green);
        Put16(b, s + 8, slots[i].blue);
        Put16(b, s + 10, slots[i].color);
    }
    Put16(b, p + 178, 8);     // frame-cut tool
    Put16(b, p + 196, 3000);  // roll page length
    Put16(b, p + 200, 8);     // perforating tool
    Put16(b, p + 202, 50);
    Put16(b, p + 204, 20);
    Put16(b, p + 206, 150);
    Put16(b, p + 208, 30);
    Put16(b, p + 214, 4);     // 9600 bps
    Put16(b, p + 216, 1);     // 8 data bits
    Put16(b, p + 222, 1);     // XON/XOFF
    PutText(b, p + 224, "192.168.0.100");
    Put32(b, p + 352, 1024);
    Put32(b, p + 356, 40);
    Put32(b, p + 360, 2);
    PutText(b, p + 500, "PG;");

    const size_t list = 1538;
    Put16(b, list, 10);
    struct Row {
        const char* name;
        int16_t width, height, roll;
    } rows[] = {
        {"A0", 841, 1190, 0}, {"A1", 594, 841, 0}, {"A1(\x89\xA1)", 841, 594, 0},
        {"A2", 420, 594, 0}, {"A2(\x89\xA1)", 594, 420, 0}, {"A3", 297, 420, 0},
        {"A3(\x89\xA1)", 420, 297, 0}, {"Roll(1020)", 1020, 3000, 1},
        {"Roll(1000)", 1000, 3000, 1}, {"Roll(950)", 950, 3000, 1},
        {"Roll(920)", 920, 3000, 1},   // beyond the count
    };
    for (size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i) {
        size_t r = list + 2 + 70 * i;
        PutText(b, r, rows[i].name);
        Put16(b, r + 64, rows[i].width);
        Put16(b, r + 66, rows[i].height);
        Put16(b, r + 68, rows[i].roll);
    }
    return b;
}

// The first offset where two byte strings differ, for readable failures.
inline std::string FirstDifference(const std::string& actual, const std::string& expected)
{
    if (actual.size() != expected.size())
        return "size " + std::to_string(actual.size()) + " instead of " + std::to_string(expected.size());
    for (size_t i = 0; i < actual.size(); ++i)
        if (actual[i] != expected[i])
            return "first difference at offset " + std::to_string(i);
    return "equal";
}
