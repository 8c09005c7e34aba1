// Readings as JSON, one object per reading with every member of the reading by its name.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "cli/birth_query.h"
#include "reading/birth_reading.h"

// indent: spaces per level, or -1 for a single line (JSON Lines). No final newline.
std::string ReadingJson(const BirthQuery& query, const BirthReading& reading, int indent);
// An array of the twelve readings in period order.
std::string ReadingsJson(const BirthQuery& query, const std::array<BirthReading, 12>& readings,
                         int indent);
// A --batch line that could not be read: {"line": N, "input": "…", "error": "…"}.
std::string BatchErrorJson(std::size_t line, std::string_view input, std::string_view error);
