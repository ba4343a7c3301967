// The files an output job leaves in the settings folder on the routes that open no port:
// the job file "TRAVEX-Pro.sdr" (the job title and the plot window), the ".plt" file (the
// plot data framed by the device-control start and end and the plot window), and the ftp
// script "TRVXSender.mcr"; with the host string they come from and the names they get.
#pragma once

#include <cstdint>
#include <string>

#include "plugin/entry/run_state.h"

extern const char kSenderJobFileName[];  // "TRAVEX-Pro.sdr"
extern const char kPlotFileName[];       // "TRAVEX-Pro.plt"
extern const char kFtpScriptName[];      // "TRVXSender.mcr"
extern const char kSenderProgramName[];  // "TRVXSender"
extern const char kUntitledName[];       // "UNTITLED"
extern const char kPlotFileExtension[];  // ".plt"

constexpr int kJobTitleLimit = 64;     // characters of the title in the job file
constexpr int kWindowTitleRoom = 255;  // the window text read, with its NUL
constexpr int kHostStringLimit = 127;  // characters of szHost

// The fields of szHost, "SERVER:FOLDER:USER:PASSWORD:MODE", missing ones empty; a mode
// that starts with "P" asks for passive FTP.
struct HostString {
    std::string server;
    std::string folder;
    std::string user;
    std::string password;
    int16_t fPassive;
};

HostString SplitHostString(const char* szHost);

// The job title from the document window's title (code page 932): cut before the first blank followed by
// "<" or "@" (the blank goes too), then to 64 characters; a double-byte character is
// never cut in two.
std::string CutJobTitle(const std::string& windowTitle);

// The two lines of the job file, CR LF each: "SUB:" and the title, "BRC:" and the frame.
std::string MakeSenderJobFile(const std::string& title, const PlotFrame& frame);

// The ".plt" file: ESC ".(", "IW" with the frame, the plot data, ESC ".)".
std::string MakePlotFile(const std::string& plotData, const PlotFrame& frame);

// The ftp script of the ftp-program route for the local file to put (the settings folder,
// "/" and "pr1" or "pr2"): the login line (user and password when both are given, else
// the anonymous login), "bin", the put line and "quit", CR LF each.
std::string MakeFtpScript(const HostString& host, const std::string& localPath);

// The remote name of the internet-functions route: FOLDER/TRAVEX-Pro.plt, or
// /lp/TRAVEX-Pro.plt without a folder.
std::string RemotePlotFileName(const HostString& host);

// The default name of the save dialog from the document's file: the name after the last
// "/" cut at its last full stop (one at the start stays), then ".plt"; UNTITLED.plt
// without a name.
std::string DefaultPlotFileName(const std::string& documentPath);
