// Every test binary runs in a temporary home of its own: HOME, the configuration folder
// (registry store) and the documents folder (settings folder) point into it, never into
// the user's.
#pragma once

#include <string>

// The temporary home of this test process, created before the first test runs.
const std::string& TestHome();

// A fresh empty folder under the temporary home, for one test.
std::string MakeTestFolder(const std::string& name);

// Removes everything under the documents and configuration folders of the home, so a
// test starts with no settings file and no registry store.
void ResetTestHome();
