// Parts of a reading's JSON that the page's markup writes too, in its data-value attributes:
// written by the same code, so that both say the same.
#pragma once

#include "chenggu/birth_reading.h"
#include "chenggu/script.h"
#include "interface/json_writer.h"

CHENGGU_BEGIN_NAMESPACE

// "conventions": {"lateZi", "yearStart", "leapMonth", "solarTime"}, as a member.
void WriteConventions(JsonWriter& writer, const Options& options);
// The sectional term's object: name, utc, beijing, birthIs.
void WriteSolarTermObject(JsonWriter& writer, const TermMoment& moment, Script script);

// ReadingJson with the page's markup (MarkupOf) as its last member:
// "markup": {"headline": "<…>", "details": "<…>"}.
std::string ReadingJsonWithMarkup(const BirthReading& reading, int indent, Script script,
                                  bool steps);

CHENGGU_END_NAMESPACE
