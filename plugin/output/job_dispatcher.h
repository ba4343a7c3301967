// The output job: once the user has pressed "Output Plotter" in the output dialog, the
// send machine is reset and driven until the plot data file is complete (and, on a port
// route, sent); on the routes that open no port the plot data is then handed on
// (job_routes.h).
#pragma once

#include <cstdint>

// Runs the whole job for the settings, layer table and flags of the current run.
// 0 when the job went out; otherwise the status of its first failure (a port error shown
// by the send machine, a plot data file whose writing failed, a route that failed), so
// that a failed job never passes as a finished one.
int32_t RunPlotJob();
