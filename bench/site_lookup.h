// The site's speed: one grade look-up (a POST to gradeviewer.php) against an
// export folder served by PHP's built-in server. Thread rule: one thread.
#pragma once

#include <filesystem>
#include <string>

namespace marksend::bench {

struct LookupResult {
  double medianSeconds = 0;
  int requests = 0;
  std::string studentCode;  // the student looked up: the last of the document
};

// Serves folder with `php -S` on a free loopback port (router as its router),
// checks that the last student of the document is found, then times
// `requests` POSTs with curl and stops the server. Throws Error when the
// server does not come up or the student is not found.
LookupResult MeasureLookup(const std::filesystem::path& folder, const std::filesystem::path& router, int requests);

}  // namespace marksend::bench
