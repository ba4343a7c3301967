// The messages the host sends to its plug-in, and what the host reports of them.
#pragma once

#include "host/session/host_session.h"

#include <string>

namespace host {

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
