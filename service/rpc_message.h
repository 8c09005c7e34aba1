// A JSON-RPC message as the protocol reads it: nested at most MostNesting deep (deeper text
// is refused before anything is built of it), with its id kept exactly as written, for an
// integer of any length is an id and must come back the same.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace chenggu::service {

inline constexpr std::size_t MostNesting = 64;

struct RpcMessage {
    enum class Status { Read, NotJson, TooDeep };
    // The id: absent, a string or an integer (kept as its JSON text), or anything else
    // (null, a fraction, a boolean, an object, an array), which JSON-RPC requests may not have.
    enum class Id { Absent, Valid, Invalid };

    Status status = Status::Read;
    nlohmann::ordered_json json;  // discarded unless Read
    Id id = Id::Absent;
    std::string idText = "null";  // the id's JSON text when Valid, else null
};

RpcMessage ReadRpcMessage(std::string_view text);

}  // namespace chenggu::service
