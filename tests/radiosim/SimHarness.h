#pragma once

#include <string>

#include "RadioSim.h"
#include "ToolFraming.h"

// Sends one command to an interpreter and collects what it answers.
inline std::string replyTo(RadioSim& sim, const std::string& command) {
  sim.receive(command);
  std::string bytes;
  for (const RadioSim::Reply& r : sim.takeReplies()) bytes += r.bytes;
  return bytes;
}

// The reply line as the tool would take it; empty when it never completes.
inline std::string lineOf(RadioSim& sim, const std::string& command) {
  ToolFraming f = ToolFraming::of(replyTo(sim, command));
  return f.complete ? f.line : std::string();
}
