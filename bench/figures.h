// How a measuring child hands its figures to the benchmark: "key value"
// lines on standard output. Thread-safe (pure, apart from the output).
#pragma once

#include <map>
#include <string>

namespace marksend::bench {

using Figures = std::map<std::string, std::string>;

// Prints figures to standard output and flushes it.
void PrintFigures(const Figures& figures);
// Reads figures printed by PrintFigures.
Figures ParseFigures(const std::string& text);
// The named figure; throws Error when the child did not report it.
const std::string& Figure(const Figures& figures, const std::string& key);

}  // namespace marksend::bench
