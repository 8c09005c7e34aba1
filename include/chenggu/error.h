// Errors as values: an operation that can fail returns a Result, which holds either its
// value or an Error that says, in English and in Chinese (Simplified and Traditional), what
// was wrong and what is accepted.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <variant>

namespace chenggu {

enum class ErrorCode {
    NotADate,                // text that is not a date of the form asked for
    NoSuchDate,              // a date that does not exist: 2001-02-29, lunar 2021-闰4-1
    OutsideRange,            // before 1901-01-01 or after 2050-12-31
    NotAPeriod,              // text that is not a birth period
    NotATime,                // a clock time past 23:59
    UnknownConvention,       // a convention value that does not exist
    ReadingDayOutsideRange,  // a 晚子 birth on 2050-12-31 read on the next day
    BadRequest,              // a request that is not a JSON object of the known members
    NotALongitude,           // text that is not a longitude, or one outside -180 to 180
    UnknownZone,             // a time zone tzdata does not know
    UnknownPlace,            // a place the place list does not know, or knows without a longitude
    AmbiguousPlace,          // a place name several places have
    NoClockTime,             // a place or longitude without a clock time, or the reverse need
    ClockTimeSkipped,        // a clock time that never happened: clocks were turned forward
    SolarDateOutsideRange,   // a solar time whose day lies outside the range
};

// The languages an error can be told in: English, or Chinese in Simplified or Traditional
// characters.
enum class Language { English, Chinese, TraditionalChinese };

struct Error {
    ErrorCode code = ErrorCode::BadRequest;
    std::string reason;             // one English line
    std::string chineseReason;      // the same in Chinese, Simplified characters
    std::string traditionalReason;  // and in Traditional characters

    const std::string& Reason(Language language) const {
        if (language == Language::Chinese) return chineseReason;
        if (language == Language::TraditionalChinese) return traditionalReason;
        return reason;
    }
};

// The value of an operation, or the Error that kept it from being made.
template <class T>
class Result {
  public:
    Result(T value) : content_(std::in_place_index<0>, std::move(value)) {}
    Result(Error error) : content_(std::in_place_index<1>, std::move(error)) {}

    bool ok() const { return content_.index() == 0; }
    explicit operator bool() const { return ok(); }

    // The value; throws std::bad_variant_access when there is none.
    const T& value() const& { return std::get<0>(content_); }
    T& value() & { return std::get<0>(content_); }
    T&& value() && { return std::get<0>(std::move(content_)); }
    const T& operator*() const& { return value(); }
    T& operator*() & { return value(); }
    const T* operator->() const { return &value(); }
    T* operator->() { return &value(); }

    // The error; throws std::bad_variant_access when there is a value.
    const Error& error() const { return std::get<1>(content_); }

  private:
    std::variant<T, Error> content_;
};

}  // namespace chenggu
