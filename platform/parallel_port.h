// The parallel ports LPT1 and LPT2: /dev/lp0 and /dev/lp1 unless TRAVEX_LPT1 or
// TRAVEX_LPT2 names another device. They take no line settings; writing, reading and
// closing go through the serial port's calls, so a write waits for a printer that takes
// nothing no longer than a serial port's write does.
#pragma once

// Opens LPTn for reading and writing; the port or kInvalidPort with *error set.
int OpenParallelPort(const char* portName, int* error);
