#include "cli/arguments.h"

#include <string_view>

namespace marksend::cli {

const char* const kUsage =
    "usage: marksend-export --out FOLDER [--year YEAR] [--date YYYY-MM-DD]\n"
    "       marksend-export --print-year [--date YYYY-MM-DD]\n";

namespace {

DateTime ParseDay(const std::string& text) {
  DateTime day;
  // Exactly a calendar day: the parser would also take a time of day.
  if (text.size() != 10 || !TryParseIsoDateTime(text, day))
    throw UsageError("--date needs a real calendar day as YYYY-MM-DD, not \"" + text + "\".");
  return day;
}

bool IsSeparator(char c) {
#ifdef _WIN32
  return c == '\\' || c == '/';
#else
  return c == '/';
#endif
}

// The engine adds one separator before each file name.
std::string WithoutTrailingSeparators(std::string folder) {
  while (folder.size() > 1 && IsSeparator(folder.back())) folder.pop_back();
  return folder;
}

}  // namespace

Arguments ParseArguments(int argc, const char* const argv[]) {
  Arguments args;
  std::optional<std::string> out;
  std::optional<std::string> date;
  bool printYear = false;

  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      args.mode = Arguments::Mode::Help;
      return args;
    }
    const auto value = [&](std::optional<std::string>& slot) {
      if (slot) throw UsageError(std::string(arg) + " is given twice.");
      if (i + 1 >= argc || std::string_view(argv[i + 1]).starts_with("--"))
        throw UsageError(std::string(arg) + " needs a value.");
      slot = argv[++i];
    };
    if (arg == "--out") {
      value(out);
    } else if (arg == "--year") {
      value(args.year);
    } else if (arg == "--date") {
      value(date);
    } else if (arg == "--print-year") {
      if (printYear) throw UsageError("--print-year is given twice.");
      printYear = true;
    } else {
      throw UsageError("unknown argument \"" + std::string(arg) + "\".");
    }
  }

  if (printYear) {
    if (out || args.year) throw UsageError("--print-year takes only --date.");
    args.mode = Arguments::Mode::PrintYear;
  } else {
    if (!out) throw UsageError("--out FOLDER or --print-year is needed.");
    // An empty folder would put the files at the root of the file system.
    if (out->empty()) throw UsageError("--out needs a folder name.");
    args.outFolder = WithoutTrailingSeparators(*out);
  }
  if (date) args.date = ParseDay(*date);
  return args;
}

}  // namespace marksend::cli
