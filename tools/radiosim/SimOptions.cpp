#include "SimOptions.h"

#include <cerrno>
#include <cstdlib>

namespace {

bool toSeconds(const std::string& text, double& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  errno = 0;
  double v = std::strtod(text.c_str(), &end);
  if (errno || *end || !(v >= 0) || v > 1e6) return false;
  value = v;
  return true;
}

bool toBaud(const std::string& text, long& value) {
  if (text.empty() || text.size() > 8 || text.find_first_not_of("0123456789") != std::string::npos) return false;
  long v = std::strtol(text.c_str(), nullptr, 10);
  if (v < 1) return false;
  value = v;
  return true;
}

}  // namespace

bool SimOptions::parse(int argc, const char* const* argv, std::string& error) {
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    std::string name = arg, value;
    bool inlineValue = false;
    size_t eq = arg.find('=');
    if (arg.compare(0, 2, "--") == 0 && eq != std::string::npos) {
      name = arg.substr(0, eq);
      value = arg.substr(eq + 1);
      inlineValue = true;
    }
    if (name == "--help" || name == "-h") help = true;
    else if (name == "--echo") echo = true;
    else if (name == "--raw-echo") rawEcho = true;
    else {
      bool takesValue = name == "--link" || name == "--stop-file" || name == "--state" || name == "--transcript" ||
                        name == "--firmware-out" || name == "--idle-exit" || name == "--line-rate" ||
                        name == "--fault";
      if (!takesValue) {
        error = "unknown option '" + arg + "'";
        return false;
      }
      if (!inlineValue) {
        if (i + 1 >= argc) {
          error = "option " + name + " needs a value";
          return false;
        }
        value = argv[++i];
      }
      bool ok = true;
      if (name == "--link") ok = !(link = value).empty();
      else if (name == "--stop-file") stopFile = value;
      else if (name == "--state") statePath = value;
      else if (name == "--transcript") transcriptPath = value;
      else if (name == "--firmware-out") firmwareOut = value;
      else if (name == "--idle-exit") ok = toSeconds(value, idleExitSeconds);
      else if (name == "--line-rate") ok = toBaud(value, lineRate);
      else if (!faults.add(value, error)) return false;
      if (!ok) {
        error = "bad value '" + value + "' for " + name;
        return false;
      }
    }
  }
  return true;
}

std::string SimOptions::usage() {
  return "usage: radiosim [options]\n"
         "A simulated radio on a pseudo-terminal. Prints 'ready LINK' once it listens.\n"
         "  --link PATH          symlink to the terminal (default /tmp/velmora-radio)\n"
         "  --stop-file PATH     exit as soon as this file exists\n"
         "  --idle-exit SECONDS  exit after this long without a received byte\n"
         "  --state FILE         parameters, read at start and written on every change\n"
         "  --transcript FILE    append every command and reply as a line\n"
         "  --firmware-out FILE  where a downloaded firmware image is written\n"
         "  --line-rate BAUD     pace both directions at this line rate\n"
         "  --echo               echo each command before its reply\n"
         "  --raw-echo           echo every byte back and interpret nothing\n"
         "  --fault SPEC         silent, delay=MS, drop=N, noise, unknown-protocol,\n"
         "                       no-link-baud[=error|unknow|silent], bad-page=K,\n"
         "                       hangup=N, serial12 (repeatable)\n"
         "SIGINT, SIGTERM and the stop file end it cleanly: link removed, state saved.\n";
}
