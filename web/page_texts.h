// The site's files as carried by the program: the sign-in page, the grade
// viewer page and the web server rules, byte for byte as they stand in web/.
// Thread-safe: constant data.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace marksend::web {

std::string_view InputPage();        // web/input.php
std::string_view GradeViewerPage();  // web/gradeviewer.php
std::string_view HtaccessFile();     // web/htaccess, written as ".htaccess"

// Splits a carried text into its lines (LF or CR LF ends a line; a final
// line break does not start another line).
std::vector<std::string> SplitLines(std::string_view text);

}  // namespace marksend::web
