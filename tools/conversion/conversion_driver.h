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
    // Called with the plot data file's path just before the conversion writes it (the job
    // files held); null for none.
    void (*onPlotDataStart)(const char* plotDataPath);
};

// The statuses of RunConversionJob besides 0.
constexpr int kConversionFailed = 1;
constexpr int kConversionRefused = 2;      // the job does not fit the drawing; nothing converted
constexpr int kConversionCancelled = 130;  // the cancel check answered yes; no plot data left

// Defaults of the settings file and an A4 portrait page, pages 1 to 1.
void InitConversionJob(ConversionJob* job);

// The first reason the job cannot be converted whatever the drawing holds (no layer, a
// layer on an empty tool slot, a print range outside 1 to 32767 or reversed, a sort mode
// past 2); empty when it can.
std::string CheckConversionJob(const ConversionJob& job);

// Runs the conversion while it holds the job files' lock; 0 with the plot data file's path,
// else the reason and kConversionFailed (another output run holding the lock among them:
// nothing is converted then), kConversionRefused (a layer title the drawing lacks) or
// kConversionCancelled (the plot data file removed, so that no part of it is taken for a
// whole job).
int RunConversionJob(const ConversionJob& job, std::string* plotDataPath, std::string* error);
