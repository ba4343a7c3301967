// The routes that open no port: after the send machine has converted the pages into the
// plot data file, the job file "TRAVEX-Pro.sdr" is written and the plot data goes into a
// ".plt" file the user names, to an FTP server (the internet functions or the ftp program
// with its script), or to the job sender.
#pragma once

#include <cstdint>

// Writes the job file and runs the route chosen by the output-kind flags of the send
// machine and wPort. 0 when the plot data went out (or the user cancelled the save
// dialog); otherwise the status of the failure, after its reason was shown as the
// progress text.
int32_t RunJobRoute();
