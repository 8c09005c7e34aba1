// A reading's birth time at a birthplace as the answers write it: its JSON object, and the
// markup's rows (the place a shared name was read as, with the others it could mean, a
// button each, and the steps from the clock to the period, with the birth time's data). The
// web page's first engine reads no birthplace, so it has neither
// (without_birth_time_writing.cpp): only the empty steps row.
#pragma once

#include "chenggu/birth_reading.h"
#include "interface/html_writer.h"
#include "interface/json_writer.h"

CHENGGU_BEGIN_NAMESPACE

// The birth time's object: the clock, zone, offset, longitude, place, the solar times; with
// steps, the steps in words.
void WriteBirthTimeObject(JsonWriter& writer, const BirthReading& reading, bool withSteps,
                          Script script);
void BirthTimeRows(HtmlWriter& html, const BirthReading& reading);

CHENGGU_END_NAMESPACE
