// The running host: its one document, the loaded plug-in and the messages sent to it.
#pragma once

#include "document.h"
#include "plugin_loader.h"

#include <string>

namespace host {

struct HostSession {
    Document* document = nullptr;
    LoadedPlugin plugin;
    void* globals = nullptr;      // the plug-in's globals, kept between messages
    bool fStarted = false;        // Startup sent, Shutdown not yet
    bool fPluginFailed = false;   // some message answered a failure status
    int messageDepth = 0;         // messages being handled now (nested while a dialog is open)
};

// The session of this process; suites reach the document through it.
HostSession& TheSession();
Document* HostDocument();

// True for the statuses that report no failure: 0, 1, 'S!Fd' and 'STOP'.
bool IsQuietStatus(ASErr status);

// Sends one message; the message record is filled with the plug-in's self reference,
// globals and basic suite, and the globals the plug-in leaves in it are kept.
ASErr SendPluginMessage(HostSession& session, const char* caller, const char* selector, void* message);
ASErr SendInterfaceMessage(HostSession& session, const char* selector);
ASErr SendAccessMessage(HostSession& session, const char* selector);
ASErr SendMenuGo(HostSession& session, AIMenuItemHandle item);
// A message of the given caller and selector with every other field zero.
ASErr SendBareMessage(HostSession& session, const char* caller, const char* selector);

// "Unload", the library's code dropped and loaded again, then "Reload". Refused while a
// message is being handled: its code is still running.
bool ReloadPlugin(HostSession& session, std::string& error);

// The globals block as the host sees it: its size and a checksum of its bytes.
std::string GlobalsSummary(const HostSession& session);
// Suite, block and string counts, one line.
std::string HostStatusLine();

}  // namespace host
