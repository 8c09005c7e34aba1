// The Model Context Protocol (JSON-RPC 2.0): the reading, places, the lunar date and the
// solar terms as tools an assistant calls. The same answers over stdio (chenggu mcp) and over
// Streamable HTTP (POST /mcp of chenggu serve); the server keeps no session state.
#pragma once

#include <cstddef>
#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

namespace chenggu::service {

// The protocol revision answered when the client's is not one of those supported.
inline constexpr std::string_view LatestProtocolRevision = "2025-11-25";

// The longest message read, over stdio as over HTTP.
inline constexpr std::size_t LongestMessage = std::size_t{1} << 20;

// Whether a protocol revision is one this server speaks.
bool SupportedRevision(std::string_view revision);

// The answer to one JSON-RPC message: a response, or nothing for a notification or a response.
std::optional<std::string> McpAnswer(std::string_view message);

// chenggu mcp: a message a line from in, each answer a line to out, until in ends. Returns 0.
int RunMcp(std::istream& in, std::ostream& out);

}  // namespace chenggu::service
