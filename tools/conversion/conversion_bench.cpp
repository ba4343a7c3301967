// Speed and memory of the page conversion on generated drawings: 4096 curved closed paths on
// one A4 page, each sort mode for a pen layer and the cutter class with the overlap union;
// and 20 000 small circles on one layer, each sort mode and the cutter order. Each run
// happens in a child process, so its peak memory is its own.
#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "tools/conversion/conversion_driver.h"

namespace {

// 64 by 64 blobs of four cubic arcs each, 2.5 mm across their radius, 3 mm apart along
// x (so neighbours overlap) and 4.3 mm along y.
std::string GenerateDrawing()
{
    const std::string path = std::string(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") +
                             "/travex-bench-" + std::to_string(getpid()) + ".svg";
    std::ofstream out(path);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" "
           "xmlns:inkscape=\"http://www.inkscape.org/namespaces/inkscape\" "
           "width=\"210mm\" height=\"297mm\" viewBox=\"0 0 210 297\">\n"
           "<g inkscape:label=\"Blobs\" style=\"fill:none;stroke:#000\">\n";
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

// 200 by 100 circles of 0.3 mm radius, 1 mm apart, on one layer.
std::string GenerateCircles()
{
    const std::string path = std::string(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") +
                             "/travex-bench-circles-" + std::to_string(getpid()) + ".svg";
    std::ofstream out(path);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" "
           "xmlns:inkscape=\"http://www.inkscape.org/namespaces/inkscape\" "
           "width=\"210mm\" height=\"110mm\" viewBox=\"0 0 210 110\">\n"
           "<g inkscape:label=\"Circles\" style=\"fill:none;stroke:#000\">\n";
    for (int i = 0; i < 20000; ++i)
        out << "<circle cx=\"" << 5 + i % 200 << "\" cy=\"" << 5 + i / 200 << "\" r=\"0.3\"/>\n";
    out << "</g>\n</svg>\n";
    return path;
}

const std::string& Drawing(bool circles)
{
    static const std::string blobs = GenerateDrawing();
    static const std::string many = GenerateCircles();
    return circles ? many : blobs;
}

struct ChildReport {
    double seconds;
    long peakKiB;
    int status;
};

// One conversion in a child; its wall time and peak resident size come back through a pipe.
ChildReport ConvertInChild(int16_t sortMode, bool cutter, bool circles)
{
    ChildReport report{0, 0, 1};
    int fds[2];
    if (pipe(fds) != 0)
        return report;
    const pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        ConversionJob job;
        InitConversionJob(&job);
        job.drawing = Drawing(circles);
        job.settings.wSortMode = sortMode;
        job.settings.fOverlap = cutter ? 1 : 0;
        job.layers.emplace_back(circles ? "Circles" : "Blobs", cutter ? 8 : 1);
        if (circles) {
            job.page.rPage = PageRect{0, 0, 210, 110};
            job.page.rPaper = job.page.rPage;
        }
        std::string path, error;
        const auto start = std::chrono::steady_clock::now();
        ChildReport mine{0, 0, RunConversionJob(job, &path, &error)};
        mine.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
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

void Convert(benchmark::State& state, int16_t sortMode, bool cutter, bool circles = false)
{
    for (auto _ : state) {
        const ChildReport report = ConvertInChild(sortMode, cutter, circles);
        if (report.status != 0) {
            state.SkipWithError("the conversion failed");
            break;
        }
        state.SetIterationTime(report.seconds);
        state.counters["peak_MiB"] = static_cast<double>(report.peakKiB) / 1024.0;
    }
}

}  // namespace

BENCHMARK_CAPTURE(Convert, pens_unsorted, 0, false)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Convert, pens_origin_distance, 1, false)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Convert, pens_nearest_neighbour, 2, false)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Convert, cutter_united, 0, true)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Convert, circles_unsorted, 0, false, true)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Convert, circles_origin_distance, 1, false, true)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Convert, circles_nearest_neighbour, 2, false, true)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
// The cutter order groups overlapping objects pair by pair: a slow run, once.
BENCHMARK_CAPTURE(Convert, circles_cutter_order, 0, true, true)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

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
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(folder);
    return 0;
}
