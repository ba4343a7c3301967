// A message for the user with an OK button, on the dialog runner (the UI robot answers it
// with "press 1").
#pragma once

#include <string>

struct DialogWindow;

constexpr int kMessageBoxTemplate = 120;
constexpr int kMessageBoxText = 101;

// Shows the text modally over owner (or alone when owner is null) until it is closed; the
// text also goes to standard error, for logs.
void ShowConfigMessage(DialogWindow* owner, const std::string& text);
