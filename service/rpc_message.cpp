#include "service/rpc_message.h"

#include <algorithm>
#include <cstdint>

namespace chenggu::service {
namespace {

using Json = nlohmann::ordered_json;

// Builds the value as nlohmann's own reader does, stops at the first level past MostNesting,
// and notes the top-level "id" member as it was written.
class MessageReader {
  public:
    explicit MessageReader(RpcMessage& message) : message_(message), dom_(message.json, false) {}

    bool null() { return Scalar(RpcMessage::Id::Invalid, {}) && dom_.null(); }
    bool boolean(bool value) { return Scalar(RpcMessage::Id::Invalid, {}) && dom_.boolean(value); }
    bool number_integer(std::int64_t value) {
        return Scalar(RpcMessage::Id::Valid, std::to_string(value)) && dom_.number_integer(value);
    }
    bool number_unsigned(std::uint64_t value) {
        return Scalar(RpcMessage::Id::Valid, std::to_string(value)) && dom_.number_unsigned(value);
    }
    // An integer too long for 64 bits arrives here too, with the text it was written as.
    bool number_float(double value, const std::string& written) {
        const bool whole = written.find_first_of(".eE") == std::string::npos;
        return Scalar(whole ? RpcMessage::Id::Valid : RpcMessage::Id::Invalid, written) &&
               dom_.number_float(value, written);
    }
    bool string(std::string& value) {
        return Scalar(RpcMessage::Id::Valid, Json(value).dump()) && dom_.string(value);
    }
    bool binary(Json::binary_t& value) { return dom_.binary(value); }
    bool start_object(std::size_t size) { return Open() && dom_.start_object(size); }
    bool start_array(std::size_t size) { return Open() && dom_.start_array(size); }
    bool end_object() {
        --depth_;
        return dom_.end_object();
    }
    bool end_array() {
        --depth_;
        return dom_.end_array();
    }
    bool key(std::string& name) {
        if (depth_ == 1) atId_ = name == "id";
        return dom_.key(name);
    }
    bool parse_error(std::size_t position, const std::string& token,
                     const nlohmann::detail::exception& error) {
        message_.status = RpcMessage::Status::NotJson;
        return dom_.parse_error(position, token, error);
    }

  private:
    bool Scalar(RpcMessage::Id kind, std::string text) {
        if (depth_ == 1 && atId_) {
            message_.id = kind;
            if (kind == RpcMessage::Id::Valid) message_.idText = std::move(text);
        }
        return true;
    }
    bool Open() {
        Scalar(RpcMessage::Id::Invalid, {});
        if (++depth_ <= MostNesting) return true;
        message_.status = RpcMessage::Status::TooDeep;
        return false;
    }

    RpcMessage& message_;
    nlohmann::detail::json_sax_dom_parser<Json> dom_;
    std::size_t depth_ = 0;
    bool atId_ = false;
};

}  // namespace

RpcMessage ReadRpcMessage(std::string_view text) {
    RpcMessage message;
    MessageReader reader(message);
    const bool read = Json::sax_parse(text.begin(), text.end(), &reader);
    if (!read && message.status == RpcMessage::Status::Read) {
        message.status = RpcMessage::Status::NotJson;
    }
    if (message.status != RpcMessage::Status::Read) {
        message.json = Json(Json::value_t::discarded);
        message.id = RpcMessage::Id::Absent;
        message.idText = "null";
    }
    // A message that is not an object (an array, a number) has no id of its own.
    if (!message.json.is_object()) {
        message.id = RpcMessage::Id::Absent;
        message.idText = "null";
    }
    return message;
}

}  // namespace chenggu::service
