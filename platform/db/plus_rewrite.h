// Rewrites every binary "+" of a statement into a call of the SQL function
// named kPlusFunction, which joins two texts or adds two numbers as Access
// and SQL Server do. Precedence and parentheses are respected; string
// literals, quoted names and comments are left alone. Pure; thread-safe.
#pragma once

#include <string>
#include <string_view>

namespace marksend::db {

inline constexpr const char* kPlusFunction = "ms_plus";

// Returns the statement with each binary "+" rewritten; a statement without
// "+" outside literals, names and comments comes back unchanged.
std::string RewritePlus(std::string_view sql);

}  // namespace marksend::db
