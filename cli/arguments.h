// The command line of marksend-export: what to do, where and for which year.
// Thread rule: the main thread only.
#pragma once

#include <optional>
#include <string>

#include "platform/date_format.h"
#include "platform/error.h"

namespace marksend::cli {

// A command line that does not fit the usage; the program exits with 64.
class UsageError : public Error {
 public:
  using Error::Error;
};

// Both forms of the command, for messages and --help.
extern const char* const kUsage;

struct Arguments {
  enum class Mode { Export, PrintYear, Help };
  Mode mode = Mode::Export;
  std::string outFolder;            // --out, trailing separators dropped
  std::optional<std::string> year;  // --year, passed to the engine as given
  std::optional<DateTime> date;     // --date; today when absent
};

// Parses argv[1..argc-1]; throws UsageError naming what is wrong.
Arguments ParseArguments(int argc, const char* const argv[]);

}  // namespace marksend::cli
