#pragma once

#include <string>

// The configuration tool's way of cutting a reply out of the received bytes:
// a carriage return opens the reply, line feeds are ignored, the reply ends
// at the next carriage return after some text or as soon as the text ends
// in "ACK". The simulated radio's replies are checked against this.
struct ToolFraming {
  bool complete = false;
  std::string line;  // the reply without its opening carriage return

  static ToolFraming of(const std::string& bytes) {
    ToolFraming f;
    std::string buffer;
    for (char b : bytes) {
      if (b == '\r') {
        if (buffer.empty()) buffer += b;
        else if (buffer.size() > 1) f.complete = true;
        continue;
      }
      if (b == '\n' || f.complete || buffer.empty()) continue;
      buffer += b;
      if (b == 'K' && buffer.size() >= 3 && buffer.compare(buffer.size() - 3, 3, "ACK") == 0) f.complete = true;
    }
    f.line = buffer.empty() ? "" : buffer.substr(1);
    return f;
  }
};
