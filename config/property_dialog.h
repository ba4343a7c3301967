// The property dialog (template 109): five tabbed pages over the settings in memory, saved
// by the pages' savers when the user presses OK.
#pragma once

#include "config/page_shell.h"

// Results besides kDialogOk (1) and kDialogCancel (2).
constexpr int kPropertyClosed = 0;       // the close box
constexpr int kPropertyNoDialog = -1;    // the dialog could not be created
constexpr int kPropertyNotSaved = 3;     // OK, but a setting could not be written

// Runs the dialog modally: 1 OK (every saver wrote), 2 Cancel, 0 closed, 3 when a saver's
// write failed (the user has been told), -1 when it could not be created.
int RunPropertyDialog();

intptr_t PropertyDialogProc(DialogWindow* dialog, const DialogEvent& event, void* user);

// The running property dialog; null when none is open.
DialogWindow* PropertyDialog();
