// Whole files for tests: read as they are (empty when missing), written with their folder.
#pragma once

#include <string>

std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);
