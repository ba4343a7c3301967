// Files the sender reads, written byte by byte after the settings file's layout: the
// version word at 0, the settings block from 2 with the host text at block offset 224 and
// the TCP port (int32, little-endian) at 352.
#pragma once

#include "tests/support/temp_home.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

inline std::string SenderSettingsFolder()
{
    std::string folder = TestHome() + "/Documents/Adobe/Illustrator";
    std::filesystem::create_directories(folder);
    return folder;
}

inline std::string ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void WriteFileBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

// A whole settings file of 17922 bytes with the given version word, host text and port.
inline std::string SettingsFileBytes(int16_t version, const std::string& host, int32_t port)
{
    std::string bytes(17922, '\0');
    bytes[0] = static_cast<char>(version & 0xFF);
    bytes[1] = static_cast<char>((version >> 8) & 0xFF);
    bytes.replace(2 + 224, host.size(), host);
    for (int i = 0; i < 4; ++i)
        bytes[2 + 352 + i] = static_cast<char>((static_cast<uint32_t>(port) >> (8 * i)) & 0xFF);
    return bytes;
}

inline std::string WriteSenderSettings(int16_t version, const std::string& host, int32_t port)
{
    std::string path = SenderSettingsFolder() + "/TRAVEX2K.INI";
    WriteFileBytes(path, SettingsFileBytes(version, host, port));
    return path;
}

// The job file and the plot data file in the settings folder.
inline void WriteJobFiles(const std::string& jobFile, const std::string& plotData)
{
    WriteFileBytes(SenderSettingsFolder() + "/TRAVEX-Pro.sdr", jobFile);
    WriteFileBytes(SenderSettingsFolder() + "/TRAVEX-Pro.tmp", plotData);
}

// The stream the server must receive for the two files: the job file, the plot data as
// lines of up to 40 bytes in upper-case hexadecimal with CR LF, the end line. Written
// from the format, independently of the sender's code.
inline std::string ExpectedStream(const std::string& jobFile, const std::string& plotData)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string stream = jobFile;
    for (size_t at = 0; at < plotData.size(); at += 40) {
        for (size_t i = at; i < at + 40 && i < plotData.size(); ++i) {
            auto byte = static_cast<unsigned char>(plotData[i]);
            stream += digits[byte >> 4];
            stream += digits[byte & 15];
        }
        stream += "\r\n";
    }
    return stream + "/E\r\n";
}
