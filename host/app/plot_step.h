// The host's "plot" step: "Output Plotter" chosen in whatever language the menu shows, and
// the output dialog answered as a user would through the UI robot:
//
//   plot [--layer TITLE=SLOT]... [--skip TITLE]... [--to-file [FILE.plt]]
//
// --layer ticks the layer's row and chooses tool slot SLOT (1 to 10) in its combo, --skip
// clears its tick, and rows named by neither keep what the drawing's record says. The
// "Output to file" box is ticked with --to-file and cleared without it; the save dialog of
// the ".plt" route is then given FILE (the drawing's name with ".plt" when none is named).
#pragma once

#include "host/document/document.h"
#include "host/session/host_session.h"

#include <string>
#include <vector>

namespace host {

// The options of a plot step (its words after "plot") checked against the drawing: every
// title names a row of the output dialog, every slot is 1 to 10. False with a message
// naming what is wrong.
bool CheckPlotStep(const Document& document, const std::vector<std::string>& words, std::string& error);

// Carries the step out. False with a message when the job failed (the reason the plug-in
// showed), was cancelled ("cancelled"), or the dialog could not be answered.
bool RunPlotStep(HostSession& session, const std::vector<std::string>& words, std::string& error);

// On the command line the options follow "plot" as arguments of their own: arguments[i]
// (and the value after it) are added to the step when they are options of it; false
// when arguments[i] is none of its options.
bool AppendPlotOption(std::string& step, const std::vector<std::string>& arguments, size_t& i);

}  // namespace host
