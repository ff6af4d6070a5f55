#include "bench/figures.h"

#include <cstdio>
#include <sstream>

#include "platform/error.h"

namespace marksend::bench {

void PrintFigures(const Figures& figures) {
  for (const auto& [key, value] : figures) std::printf("%s %s\n", key.c_str(), value.c_str());
  std::fflush(stdout);
}

Figures ParseFigures(const std::string& text) {
  Figures figures;
  std::istringstream in(text);
  for (std::string key, value; in >> key >> value;) figures[key] = value;
  return figures;
}

const std::string& Figure(const Figures& figures, const std::string& key) {
  auto found = figures.find(key);
  if (found == figures.end()) throw Error("A measurement did not report its " + key + ".");
  return found->second;
}

}  // namespace marksend::bench
