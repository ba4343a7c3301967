// A conversion run outside an output run: a drawing read from SVG into the stand-in host,
// the plug-in's core bound to the host's suites, layers assigned to tool slots, then the
// page conversion into the plot data file of the settings folder.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "plugin/settings/settings_records.h"

struct ConversionJob {
    std::string drawing;                                  // SVG file
    std::vector<std::pair<std::string, int16_t>> layers;  // title, tool slot 1 to 10
    PlotSettings settings;                                // defaults unless changed
    PageSetup page;                                       // A4 portrait at 100 % unless changed
};

// Defaults of the settings file and an A4 portrait page, pages 1 to 1.
void InitConversionJob(ConversionJob* job);

// Runs the conversion while it holds the job files' lock; 0 with the plot data file's path,
// else 1 with the reason (another output run holding the lock among them: nothing is
// converted then).
int RunConversionJob(const ConversionJob& job, std::string* plotDataPath, std::string* error);
