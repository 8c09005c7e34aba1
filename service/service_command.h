// The service's commands of chenggu: chenggu serve (HTTP) and chenggu mcp (the Model Context
// Protocol over standard input and output).
#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace chenggu::service {

// Whether the arguments ask for a service command: their first is serve or mcp.
bool IsServiceCommand(const std::vector<std::string>& arguments);

// Runs serve or mcp with the arguments that follow the program name. The locale chooses the
// language of the help and of messages about the arguments. Returns the exit status: 0, 1 when
// the service cannot start, 2 for arguments it refuses.
int RunServiceCommand(const std::vector<std::string>& arguments, std::istream& in,
                      std::ostream& out, std::ostream& err, std::string_view locale);

}  // namespace chenggu::service
