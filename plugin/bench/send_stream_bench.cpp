// The stream of the send machine into a pseudo-terminal whose plotter end reads at full
// speed: the wall-clock rate in bytes per second and the sending thread's CPU time per
// byte, for plot data files of 64 KB and 1 MB, with and without XON/XOFF on the line.
// A benchmark, not a test: run it by hand (build/bin/send-stream-bench).
#include "platform/serial_port.h"
#include "plugin/conversion/page_conversion.h"
#include "plugin/entry/plugin_globals.h"
#include "plugin/output/send_machine.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A home of its own, so the plot data file never lands in the user's settings folder.
void UseTemporaryHome()
{
    static std::string home;
    if (!home.empty())
        return;
    char pattern[] = "/tmp/send-stream-bench-XXXXXX";
    home = mkdtemp(pattern);
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_DOCUMENTS_DIR", (home + "/Documents").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home + "/.config").c_str(), 1);
    mkdir((home + "/Documents").c_str(), 0755);
}

// Plot data of about size bytes: pen moves of the usual length, one command each.
void WritePlotData(size_t size)
{
    char path[512];
    GetPlotDataFilePath(path, sizeof path);
    std::string data;
    for (int i = 0; data.size() < size; ++i)
        data += "PD" + std::to_string(10000 + i % 20000) + "," + std::to_string(-5000 - i % 9000) + ";";
    std::ofstream(path, std::ios::binary) << data;
}

double ThreadCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

// The plotter's end: drains the line as fast as it can until told to stop.
class FullSpeedReader {
public:
    explicit FullSpeedReader(int master) : master_(master), thread_([this] { Run(); }) {}
    ~FullSpeedReader()
    {
        stop_ = true;
        thread_.join();
    }
    size_t Received() const { return received_; }

private:
    void Run()
    {
        char buffer[65536];
        while (!stop_) {
            pollfd ready{master_, POLLIN, 0};
            if (poll(&ready, 1, 10) == 1) {
                ssize_t n = read(master_, buffer, sizeof buffer);
                if (n > 0)
                    received_ += size_t(n);
            }
        }
    }
    int master_;
    std::atomic<bool> stop_{false};
    std::atomic<size_t> received_{0};
    std::thread thread_;
};

void StreamIntoPty(benchmark::State& state)
{
    UseTemporaryHome();
    const size_t size = size_t(state.range(0));
    WritePlotData(size);
    int master = posix_openpt(O_RDWR | O_NOCTTY);
    grantpt(master);
    unlockpt(master);
    setenv("TRAVEX_COM1", ptsname(master), 1);
    FullSpeedReader reader(master);

    PluginGlobals globals{};
    PlotSettings settings{};
    settings.wPort = 0;
    settings.wBaudIndex = 8;
    settings.wDataBitsIndex = 1;
    settings.wFlowControl = int16_t(state.range(1));
    g = &globals;
    g->pPlotSettings = &settings;

    double cpu = 0;
    int64_t bytes = 0;
    for (auto _ : state) {
        g->sendMachine = SendMachine{};
        SendMachine& m = g->sendMachine;
        m.hPort = kInvalidPort;
        m.hSendFile = -1;
        OpenPlotterPort();
        m.wSendStep = 8;
        StepSendMachine();  // opens the plot data file
        m.wSendStep = kLastSendStep;
        const double start = ThreadCpuSeconds();
        while (m.fSendDone == 0)
            StepSendMachine();
        cpu += ThreadCpuSeconds() - start;
        bytes += m.iBytesSent;
        if (m.iFirstError != 0)
            state.SkipWithError("the stream failed");
        close(m.hSendFile);
        ClosePlotterPort();
    }
    state.SetBytesProcessed(bytes);
    state.counters["cpu_ns_per_byte"] = bytes > 0 ? cpu * 1e9 / double(bytes) : 0;
    g = nullptr;
    close(master);
}

}  // namespace

BENCHMARK(StreamIntoPty)
    ->ArgNames({"bytes", "flow"})
    ->Args({64 << 10, 0})
    ->Args({1 << 20, 0})
    ->Args({1 << 20, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

BENCHMARK_MAIN();
