// The plug-in's preferences file "Prefs/TRAVEX-Pro.ini" under the settings folder: the
// language word and the product name, in "key = value" lines.
#pragma once

// Sets g->iLanguage (1 "ENGLISH", 2 "KOREAN", 0 any other value) and, when the file names
// one, g->szProductName. A missing or unreadable file changes nothing.
void ReadPrefsIni();

// Writes the language line from g->iLanguage; the file's other lines are kept, and the
// bytes from a NUL on (which the reader never reads) are kept unchanged after it.
void WritePrefsIni();
