// HTML written piece by piece, for the reading's markup: T() for the engine's own words in the
// script, Text() and Attribute() for values, escaped (html_text.h).
#pragma once

#include <string>
#include <string_view>

#include "chenggu/script.h"
#include "interface/html_text.h"

CHENGGU_BEGIN_NAMESPACE

class HtmlWriter {
  public:
    explicit HtmlWriter(Script script) : script_(script) {}

    HtmlWriter& operator<<(std::string_view markup) {
        out_ += markup;
        return *this;
    }
    HtmlWriter& T(std::string_view simplified) {
        out_ += HtmlText(InScript(simplified, script_));
        return *this;
    }
    HtmlWriter& Text(std::string_view text) {
        out_ += HtmlText(text);
        return *this;
    }
    HtmlWriter& Attribute(std::string_view name, std::string_view value) {
        out_ += ' ';
        out_ += name;
        out_ += "=\"";
        out_ += HtmlAttribute(value);
        out_ += '"';
        return *this;
    }
    // <tag data-field="name" data-value="value"…>text</tag>; the tag's other attributes come in
    // extra (already markup).
    HtmlWriter& Field(std::string_view tag, std::string_view name, std::string_view value,
                std::string_view text, std::string_view extra = {}) {
        Open(tag, name, value, extra);
        Text(text);
        return Close(tag);
    }
    HtmlWriter& Open(std::string_view tag, std::string_view name, std::string_view value,
               std::string_view extra = {}) {
        out_ += '<';
        out_ += tag;
        Attribute("data-field", name);
        Attribute("data-value", value);
        out_ += extra;
        out_ += '>';
        return *this;
    }
    HtmlWriter& Close(std::string_view tag) {
        out_ += "</";
        out_ += tag;
        out_ += '>';
        return *this;
    }
    Script script() const { return script_; }
    std::string Take() && { return std::move(out_); }

  private:
    Script script_;
    std::string out_;
};

CHENGGU_END_NAMESPACE
