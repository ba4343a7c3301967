// A real FTP server for tests: Debian's pyftpdlib on a free port of 127.0.0.1, started as a
// child process and stopped again. Anonymous users write under anonymousRoot, the user
// "plotter" with the password "secret" under userRoot.
#pragma once

#include "platform/process_start.h"

#include "tests/support/temp_home.h"

#include <chrono>
#include <csignal>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

struct FtpTestServer {
    static constexpr const char* kUser = "plotter";
    static constexpr const char* kPassword = "secret";

    std::string folder;
    std::string anonymousRoot;
    std::string userRoot;
    int port = 0;
    ProcessId process = kNoProcess;

    // Starts the server in a fresh folder of the test home; false when it did not come up
    // (the server's log then says why).
    bool Start(const std::string& name)
    {
        folder = MakeTestFolder(name);
        anonymousRoot = folder + "/anonymous";
        userRoot = folder + "/user";
        mkdir(anonymousRoot.c_str(), 0755);
        mkdir(userRoot.c_str(), 0755);
        std::string script = std::string(TRAVEX_SOURCE_DIR) + "/tests/support/ftp_test_server.py";
        std::string portPath = folder + "/port";
        std::string logPath = folder + "/server.log";
        const char* arguments[] = {script.c_str(), anonymousRoot.c_str(), userRoot.c_str(), kUser, kPassword, nullptr};
        ProcessStart start = {};
        start.szProgram = "/usr/bin/python3";  // Debian's, which has pyftpdlib
        start.apArguments = arguments;
        start.szStdinPath = "/dev/null";
        start.szStdoutPath = portPath.c_str();
        start.szStderrPath = logPath.c_str();
        if (StartProcess(&start, &process) != 0)
            return false;
        // The port line appears once the server listens; a server that never comes up
        // ends the wait after a minute.
        for (int i = 0; i < 3000 && port == 0; ++i) {
            std::ifstream in(portPath);
            std::string line;
            if (std::getline(in, line) && !in.eof())
                port = std::stoi(line);
            else
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return port != 0;
    }

    void Stop()
    {
        if (process == kNoProcess)
            return;
        kill(process, SIGTERM);
        ProcessExit exit = {};
        WaitForProcess(process, &exit);
        process = kNoProcess;
    }

    std::string Log() const
    {
        std::ifstream in(folder + "/server.log");
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    // The commands the server received since the log had the given size, one a line
    // ("TYPE I", "EPRT |1|127.0.0.1|46641|", "STOR pr1", ...).
    std::string CommandsSince(size_t logSize) const
    {
        std::string log = Log();
        std::istringstream lines(log.size() > logSize ? log.substr(logSize) : "");
        std::string line, commands;
        while (std::getline(lines, line)) {
            size_t arrow = line.find("] <- ");
            if (arrow != std::string::npos)
                commands += line.substr(arrow + 5) + "\n";
        }
        return commands;
    }

    // Whether the commands used a data connection in passive mode (EPSV or PASV), in active
    // mode (EPRT or PORT), and the binary type.
    static bool UsedPassive(const std::string& commands)
    {
        return commands.find("EPSV") != std::string::npos || commands.find("PASV") != std::string::npos;
    }
    static bool UsedActive(const std::string& commands)
    {
        return commands.find("EPRT ") != std::string::npos || commands.find("PORT ") != std::string::npos;
    }
    static bool UsedBinary(const std::string& commands) { return commands.find("TYPE I\n") != std::string::npos; }

    ~FtpTestServer() { Stop(); }
};

// A server for the plug-in's FTP routes, started for a whole test suite: with the folders
// the routes put into ("lp" of the anonymous user, where a host string without a remote
// folder sends the file, and "queue" of the user). Its port is 0 when it did not come up
// (its log then says why).
inline FtpTestServer* StartRouteFtpServer(const std::string& name)
{
    auto* server = new FtpTestServer;
    if (server->Start(name)) {
        mkdir((server->anonymousRoot + "/lp").c_str(), 0755);
        mkdir((server->userRoot + "/queue").c_str(), 0755);
    }
    return server;
}

// A port of 127.0.0.1 where nothing listens: bound once, then closed.
inline int UnusedLoopbackPort()
{
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    close(fd);
    return ntohs(address.sin_port);
}
