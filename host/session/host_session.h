// The running host: its one document and the loaded plug-in with the globals it keeps. The
// suites reach the document through it; the application sends the messages
// (host/app/plugin_messages.h).
#pragma once

#include "host/document/document.h"
#include "host/session/plugin_loader.h"

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

}  // namespace host
