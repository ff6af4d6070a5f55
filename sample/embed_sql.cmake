# Turns schema.sql into a C++ source holding its bytes, so the generator
# carries the schema without a size-limited string literal.
# Usage: cmake -DIN=schema.sql -DOUT=schema_sql.cpp -P embed_sql.cmake
file(READ "${IN}" hex HEX)
string(LENGTH "${hex}" hexlen)
math(EXPR size "${hexlen} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
set(body "// Generated from sample/schema.sql; do not edit.\n#include \"sample/schema_sql.h\"\n\nnamespace marksend::sample {\nnamespace {\nconst char kSchema[] = {${bytes} '\\0'};\n}\nstd::string_view SchemaSql() { return {kSchema, ${size}}; }\n}  // namespace marksend::sample\n")
file(WRITE "${OUT}.tmp" "${body}")
file(COPY_FILE "${OUT}.tmp" "${OUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUT}.tmp")
