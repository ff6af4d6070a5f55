#include "bench/bench_options.h"

#include <charconv>

#include "platform/error.h"

namespace marksend::bench {

namespace {

long long Number(const std::string& arg, const std::string& text, long long low, long long high) {
  long long value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || value < low || value > high)
    throw Error("Bad value for " + arg + ": \"" + text + "\".");
  return value;
}

}  // namespace

BenchOptions ParseBenchOptions(const std::vector<std::string>& args) {
  BenchOptions o;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (i + 1 >= args.size()) throw Error("Unknown argument or missing value: " + arg + ".");
    const std::string& value = args[++i];
    if (arg == "--sizes") {
      o.sizes.clear();
      for (size_t start = 0; start <= value.size();) {
        size_t comma = value.find(',', start);
        if (comma == std::string::npos) comma = value.size();
        o.sizes.push_back(static_cast<int>(Number(arg, value.substr(start, comma - start), 1, 1'000'000)));
        start = comma + 1;
      }
    } else if (arg == "--json") {
      o.json = value;
    } else if (arg == "--runs") {
      o.runs = static_cast<int>(Number(arg, value, 1, 99));
    } else if (arg == "--seed") {
      o.seed = static_cast<std::uint64_t>(Number(arg, value, 0, 999'999'999));
    } else if (arg == "--year") {
      o.year = static_cast<int>(Number(arg, value, 2400, 2800));
    } else if (arg == "--window-size") {
      o.windowSize = static_cast<int>(Number(arg, value, 0, 1'000'000));
    } else if (arg == "--site-size") {
      o.siteSize = static_cast<int>(Number(arg, value, 0, 1'000'000));
    } else if (arg == "--requests") {
      o.requests = static_cast<int>(Number(arg, value, 1, 1000));
    } else if (arg == "--cache") {
      o.cacheDir = value;
    } else {
      throw Error("Unknown argument: " + arg + ".");
    }
  }
  return o;
}

}  // namespace marksend::bench
