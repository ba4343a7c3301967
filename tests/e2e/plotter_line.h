// The plotter's end of a serial line for the end-to-end runs: the master of a
// pseudo-terminal pair whose slave the run opens as its port. A thread reads at full speed
// while reading is on; the test can stop reading, send the plotter's flow characters, or
// close the line.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

class PlotterLine {
public:
    PlotterLine()
    {
        master_ = posix_openpt(O_RDWR | O_NOCTTY);
        // the runs started meanwhile must not hold the plotter's end open
        if (master_ >= 0)
            fcntl(master_, F_SETFD, FD_CLOEXEC);
        if (master_ >= 0 && grantpt(master_) == 0 && unlockpt(master_) == 0)
            path_ = ptsname(master_);
        // raw until the run sets its own line: nothing is echoed back or translated
        termios raw{};
        if (master_ >= 0 && tcgetattr(master_, &raw) == 0) {
            cfmakeraw(&raw);
            tcsetattr(master_, TCSANOW, &raw);
        }
        thread_ = std::thread([this] { ReadLoop(); });
    }
    ~PlotterLine()
    {
        stop_ = true;
        thread_.join();
        Close();
    }
    PlotterLine(const PlotterLine&) = delete;
    PlotterLine& operator=(const PlotterLine&) = delete;

    bool Ok() const { return master_ >= 0 && !path_.empty(); }
    const std::string& SlavePath() const { return path_; }
    int Fd() const { return master_; }

    // The plotter takes bytes (the default) or stops taking them.
    void SetReading(bool reading) { reading_ = reading; }

    std::string Received()
    {
        std::lock_guard<std::mutex> hold(mutex_);
        return received_;
    }

    // Waits until the received bytes end with or contain text; false when the guard ran out
    // first (a run that hangs fails the test instead of hanging it).
    bool WaitFor(const std::string& text, int guardMs = 30000)
    {
        return WaitUntil([&] { return Received().find(text) != std::string::npos; }, guardMs);
    }
    bool WaitForBytes(size_t count, int guardMs = 30000)
    {
        return WaitUntil([&] { return Received().size() >= count; }, guardMs);
    }
    // Waits until no byte arrived for quietMs.
    void WaitUntilQuiet(int quietMs)
    {
        size_t seen = Received().size();
        auto last = std::chrono::steady_clock::now();
        while (std::chrono::steady_clock::now() - last < std::chrono::milliseconds(quietMs)) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            size_t now = Received().size();
            if (now != seen) {
                seen = now;
                last = std::chrono::steady_clock::now();
            }
        }
    }

    bool Send(const std::string& bytes)
    {
        return master_ >= 0 && write(master_, bytes.data(), bytes.size()) == ssize_t(bytes.size());
    }

    // The plotter goes away: the run's next write finds the line closed.
    void Close()
    {
        std::lock_guard<std::mutex> hold(mutex_);
        if (master_ >= 0)
            close(master_);
        master_ = -1;
    }

private:
    template <typename Done>
    bool WaitUntil(Done done, int guardMs)
    {
        auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(guardMs);
        while (!done()) {
            if (std::chrono::steady_clock::now() > end)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return true;
    }

    void ReadLoop()
    {
        char buffer[65536];
        while (!stop_) {
            int fd = -1;
            {
                std::lock_guard<std::mutex> hold(mutex_);
                fd = master_;
            }
            if (fd < 0 || !reading_) {
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
                continue;
            }
            pollfd ready{fd, POLLIN, 0};
            if (poll(&ready, 1, 20) != 1)
                continue;
            std::lock_guard<std::mutex> hold(mutex_);
            if (master_ < 0)
                continue;
            ssize_t n = read(master_, buffer, sizeof buffer);
            if (n > 0)
                received_.append(buffer, size_t(n));
            else
                std::this_thread::sleep_for(std::chrono::milliseconds(5));  // no slave open yet
        }
    }

    int master_ = -1;
    std::string path_;
    std::mutex mutex_;
    std::string received_;
    std::atomic<bool> reading_{true};
    std::atomic<bool> stop_{false};
    std::thread thread_;
};
