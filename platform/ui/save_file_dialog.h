// The save-file dialog, on Qt's own (non-native) file dialog so the UI robot can answer it.
#pragma once

#include <string>

class QWidget;

enum SaveFileFlag : unsigned {
    kSavePromptOverwrite = 1u << 0,  // ask before replacing an existing file
};

// filter: "*.plt", or "Plot files|*.plt|All files|*" pairs; filterIndex is 1-based.
// defaultExtension ("plt", no dot) is added to a name without one; empty adds nothing.
// initialName may hold a folder; a bare name starts in the current folder.
// Returns 1 with the chosen path (UTF-8) in outPath, 0 when the user cancelled.
int RunSaveFileDialog(const std::string& title, const std::string& filter, int filterIndex,
                      const std::string& defaultExtension, const std::string& initialName,
                      unsigned flags, std::string* outPath, QWidget* owner = nullptr);
