// The sample database's schema (tables, indexes, views) as SQL text, carried
// in from sample/schema.sql at build time. Thread-safe.
#pragma once

#include <string_view>

namespace marksend::sample {

// Many statements separated by semicolons; static storage.
std::string_view SchemaSql();

}  // namespace marksend::sample
