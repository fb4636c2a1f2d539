#pragma once

#include <fstream>
#include <string>

namespace korimo::bench {

// kB of a line such as "VmHWM:   12345 kB" in /proc/self/status; -1 without one.
inline long StatusKb(const std::string& key) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(key + ":", 0) == 0)
      return std::stol(line.substr(key.size() + 1));
  }
  return -1;
}

}  // namespace korimo::bench
