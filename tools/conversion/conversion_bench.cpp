// Speed and memory of the page conversion on generated drawings: small circles (1024, 4096
// and 20 000), 4096 overlapping blobs and rings nested five deep, each in every sort mode for
// a pen layer and through the cutter order with and without the overlap union. Each run
// happens in a child process, so its peak memory is its own; every case runs three times and
// the table gives the median wall time, the median processor time and the largest peak.
//
// usage: conversion-bench [WORD...]   only the cases whose name holds one of the words
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tools/conversion/conversion_driver.h"

namespace {

std::string Folder() { return std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp"; }

void Head(std::ofstream& out, int width, int height)
{
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" "
           "xmlns:inkscape=\"http://www.inkscape.org/namespaces/inkscape\" "
        << "width=\"" << width << "mm\" height=\"" << height << "mm\" viewBox=\"0 0 " << width << " " << height
        << "\">\n<g inkscape:label=\"Shapes\" style=\"fill:none;stroke:#000\">\n";
}

// count small circles on a square grid, apart from each other, on one A4 page.
std::string GenerateCircles(int count)
{
    const std::string path = Folder() + "/circles-" + std::to_string(count) + ".svg";
    std::ofstream out(path);
    Head(out, 210, 297);
    const int side = static_cast<int>(std::ceil(std::sqrt(count)));
    const double step = std::min(190.0 / side, 3.0);
    char line[128];
    for (int i = 0; i < count; ++i) {
        std::snprintf(line, sizeof line, "<circle cx=\"%.3f\" cy=\"%.3f\" r=\"%.3f\"/>\n", 10 + (i % side) * step,
                      10 + (i / side) * step, step * 0.3);
        out << line;
    }
    out << "</g>\n</svg>\n";
    return path;
}

// 64 by 64 blobs of four cubic arcs each, 2.5 mm across their radius, 3 mm apart along
// x (so neighbours overlap) and 4.3 mm along y.
std::string GenerateBlobs()
{
    const std::string path = Folder() + "/blobs-4096.svg";
    std::ofstream out(path);
    Head(out, 210, 297);
    const double r = 2.5, k = 0.5523 * r;
    for (int row = 0; row < 64; ++row)
        for (int column = 0; column < 64; ++column) {
            const double cx = 10 + column * 3.0, cy = 10 + row * 4.3;
            char d[512];
            std::snprintf(d, sizeof d,
                          "M%.3f %.3f C%.3f %.3f %.3f %.3f %.3f %.3f C%.3f %.3f %.3f %.3f %.3f %.3f "
                          "C%.3f %.3f %.3f %.3f %.3f %.3f C%.3f %.3f %.3f %.3f %.3f %.3fZ",
                          cx + r, cy, cx + r, cy + k, cx + k, cy + r, cx, cy + r, cx - k, cy + r, cx - r,
                          cy + k, cx - r, cy, cx - r, cy - k, cx - k, cy - r, cx, cy - r, cx + k, cy - r,
                          cx + r, cy - k, cx + r, cy);
            out << "<path d=\"" << d << "\"/>\n";
        }
    out << "</g>\n</svg>\n";
    return path;
}

// 400 clusters of five circles inside each other, 9.5 mm apart.
std::string GenerateNested()
{
    const std::string path = Folder() + "/nested-5.svg";
    std::ofstream out(path);
    Head(out, 210, 297);
    char line[128];
    for (int c = 0; c < 400; ++c)
        for (int d = 0; d < 5; ++d) {
            std::snprintf(line, sizeof line, "<circle cx=\"%.3f\" cy=\"%.3f\" r=\"%.3f\"/>\n", 8 + (c % 20) * 9.5,
                          8 + (c / 20) * 9.5, 4.5 - d * 0.8);
            out << line;
        }
    out << "</g>\n</svg>\n";
    return path;
}

struct ChildReport {
    double seconds;
    double cpuSeconds;  // user and system time: a loaded machine stretches the wall time only
    long peakKiB;
    int status;
};

double CpuSeconds(const rusage& u)
{
    return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// One conversion in a child; its wall time and peak resident size come back through a pipe.
ChildReport ConvertInChild(const std::string& drawing, int16_t sortMode, int16_t tool, bool overlap)
{
    ChildReport report{0, 0, 0, 1};
    int fds[2];
    if (pipe(fds) != 0)
        return report;
    const pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        ConversionJob job;
        InitConversionJob(&job);
        job.drawing = drawing;
        job.settings.wSortMode = sortMode;
        job.settings.fOverlap = overlap ? 1 : 0;
        job.layers.emplace_back("Shapes", tool);
        std::string path, error;
        rusage before{};
        getrusage(RUSAGE_SELF, &before);
        const auto start = std::chrono::steady_clock::now();
        ChildReport mine{0, 0, 0, RunConversionJob(job, &path, &error)};
        mine.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        mine.cpuSeconds = CpuSeconds(usage) - CpuSeconds(before);
        mine.peakKiB = usage.ru_maxrss;
        if (write(fds[1], &mine, sizeof mine) != sizeof mine)
            _exit(1);
        _exit(0);
    }
    close(fds[1]);
    if (child > 0) {
        if (read(fds[0], &report, sizeof report) != sizeof report)
            report.status = 1;
        int status = 0;
        waitpid(child, &status, 0);
    }
    close(fds[0]);
    return report;
}

struct Mode {
    const char* name;
    int16_t sortMode;
    int16_t tool;  // slot 1 a pen, slot 8 the cutter
    bool overlap;
};

const Mode kModes[] = {
    {"pen unsorted", 0, 1, false},        {"pen origin distance", 1, 1, false},
    {"pen nearest neighbour", 2, 1, false}, {"cutter with union", 0, 8, true},
    {"cutter without union", 0, 8, false},
};

bool Wanted(const std::string& name, int argc, char** argv)
{
    if (argc < 2)
        return true;
    for (int i = 1; i < argc; ++i)
        if (name.find(argv[i]) != std::string::npos)
            return true;
    return false;
}

}  // namespace

// The runs write their plot data files into a folder of their own, not into the user's.
int main(int argc, char** argv)
{
    char folder[] = "/tmp/travex-bench-XXXXXX";
    if (!mkdtemp(folder))
        return 1;
    const std::string documents = std::string(folder) + "/Documents";
    mkdir(documents.c_str(), 0700);
    setenv("HOME", folder, 1);
    setenv("XDG_DOCUMENTS_DIR", documents.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (std::string(folder) + "/.config").c_str(), 1);
    setenv("TMPDIR", folder, 1);
    const std::pair<const char*, std::string> drawings[] = {
        {"circles 1024", GenerateCircles(1024)}, {"circles 4096", GenerateCircles(4096)},
        {"circles 20000", GenerateCircles(20000)}, {"blobs 4096", GenerateBlobs()},
        {"nested 5 x 400", GenerateNested()},
    };
    std::printf("%-16s %-24s %12s %12s %10s\n", "drawing", "mode", "median (s)", "cpu (s)", "peak (MB)");
    int failures = 0;
    for (const auto& [title, drawing] : drawings) {
        for (const Mode& mode : kModes) {
            const std::string name = std::string(title) + " " + mode.name;
            if (!Wanted(name, argc, argv))
                continue;
            std::vector<double> seconds;
            std::vector<double> cpu;
            long peak = 0;
            bool ok = true;
            for (int run = 0; run < 3 && ok; ++run) {
                const ChildReport r = ConvertInChild(drawing, mode.sortMode, mode.tool, mode.overlap);
                ok = r.status == 0;
                seconds.push_back(r.seconds);
                cpu.push_back(r.cpuSeconds);
                peak = std::max(peak, r.peakKiB);
            }
            if (!ok) {
                std::printf("%-16s %-24s %12s\n", title, mode.name, "failed");
                ++failures;
                continue;
            }
            std::sort(seconds.begin(), seconds.end());
            std::sort(cpu.begin(), cpu.end());
            std::printf("%-16s %-24s %12.3f %12.3f %10.1f\n", title, mode.name, seconds[1], cpu[1], peak / 1024.0);
            std::fflush(stdout);
        }
    }
    std::filesystem::remove_all(folder);
    return failures == 0 ? 0 : 1;
}
