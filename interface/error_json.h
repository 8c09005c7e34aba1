// Refusals as JSON, the one form every face's programs read: the reason in the language asked
// for and the error's stable code.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "chenggu/error.h"

CHENGGU_BEGIN_NAMESPACE

// {"error": "<reason>", "code": "<code>"}.
std::string ErrorJson(const Error& error, Language language);
// A line of a stream of requests that was refused (chenggu --batch):
// {"line": N, "input": "…", "error": "<reason>", "code": "<code>"}, input made valid UTF-8 and
// cut to its first 200 characters or so.
std::string LineErrorJson(std::size_t line, std::string_view input, const Error& error,
                          Language language);

CHENGGU_END_NAMESPACE
