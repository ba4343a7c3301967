// The settings folder: the personal documents folder, then "Adobe", then "Illustrator",
// both levels created when missing. The settings file, the job files, the preferences
// folder and the two programs the plug-in starts live there.
#pragma once

constexpr int kPluginPrefsFolderLimit = 200;   // longest folder path the plug-in takes
constexpr int kProgramPrefsFolderLimit = 254;  // and the two programs
constexpr int kSettingsPathTooLong = 206;

extern const char kSettingsFileName[];          // "TRAVEX2K.INI"

// Builds the folder path into buffer (length bytes) and returns 0. A path longer than
// the program's limit (200 characters in the plug-in, 254 in the programs) or than
// length - 1 is
// refused with kSettingsPathTooLong and an empty buffer: cutting it would put the files
// into another folder. Nothing is created then.
int GetPrefsFolder(char* buffer, int length);

// The same into a caller's buffer of length bytes; 0 or the refusal of GetPrefsFolder.
int CopyPrefsFolder(char* buffer, int length);

// The folder, one "/" and "TRAVEX2K.INI"; 0 or the folder's refusal.
int GetSettingsFilePath(char* buffer, int length);
