// The host's Pathfinder suite over the session's document and the Clipper unite.
#pragma once

#include "sdk/ai_pathfinder.h"

#include <string>
#include <vector>

namespace host {

const AIPathfinderSuite* HostPathfinderSuite();

// The notes of the last unite: one line per shape it left alone or per union that failed.
const std::vector<std::string>& HostPathfinderNotes();

// The records of the last unite as the caller passed them (the art set is the caller's).
const AIPathfinderData& HostLastPathfinderData();
const AIPathfinderMessage& HostLastPathfinderMessage();

}  // namespace host
