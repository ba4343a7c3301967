// The user's personal documents folder and configuration folder, as the shell would report
// them: $XDG_DOCUMENTS_DIR else $HOME/Documents, $XDG_CONFIG_HOME else $HOME/.config.
#pragma once

#include <cstddef>
#include <string>

constexpr int kFolderSuccess = 0;
constexpr int kFolderNotFound = 2;       // no home to build the folder from
constexpr int kFolderPathTooLong = 206;  // the buffer cannot hold the whole path

// Copies the documents folder path, NUL-terminated, into the buffer; a path that does
// not fit is refused (empty buffer), never cut.
int GetDocumentsFolder(char* buffer, size_t size);

// The configuration folder path; empty when there is no home.
std::string GetConfigFolder();
