// Errors as values: an operation that can fail returns a Result, which holds either its
// value or an Error that says, in English and in Chinese (Simplified and Traditional), what
// was wrong and what is accepted.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <variant>

#include "chenggu/export.h"

CHENGGU_BEGIN_NAMESPACE

// What went wrong, one code per kind of fault. Each has a stable name (ErrorCodeName), the
// "code" of the JSON answers and of the Python and JavaScript errors; new codes are added at
// the end.
enum class ErrorCode {
    NotADate,                // not-a-date: text that is not a date of the form asked for
    NoSuchDate,              // no-such-date: a date that does not exist: 2001-02-29, 2021-4-30
    OutsideRange,            // outside-range: before 1645-01-28 or after 2100-12-31
    NotAPeriod,              // bad-period: text that is not a birth period, or no period
    NotATime,                // bad-time: a clock time past 23:59
    UnknownConvention,       // unknown-convention: a convention value that does not exist
    ReadingDayOutsideRange,  // reading-day-outside-range: a 晚子 on 2100-12-31 read next day
    BadRequest,              // bad-request: not a JSON object of the known members
    NotALongitude,           // bad-longitude: not a longitude, or one outside -180 to 180
    UnknownZone,             // unknown-zone: a time zone tzdata does not know
    UnknownPlace,            // unknown-place: a place the place list does not know
    AmbiguousPlace,          // ambiguous-place: a place name several places have
    NoClockTime,             // no-clock-time: a place without a clock time, or the reverse
    ClockTimeSkipped,        // skipped-clock-time: clocks were turned forward over it
    SolarDateOutsideRange,   // solar-date-outside-range: the sun's day lies outside the range
    NoSuchLeapMonth,         // no-such-leap-month: lunar 2021-闰4-1; the year has no such leap
    PlaceWithoutLongitude,   // place-without-longitude: unused; such counties read at their prefecture's
    RequestTooLarge,         // request-too-large: a request past the size a request may have
};

// The stable name of a code: "no-such-date", "unknown-place" ….
CHENGGU_EXPORT std::string_view ErrorCodeName(ErrorCode code);

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
class [[nodiscard]] Result {
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

    // The value, or fallback when there is none.
    template <class U>
    T value_or(U&& fallback) const& {
        return ok() ? value() : static_cast<T>(std::forward<U>(fallback));
    }
    template <class U>
    T value_or(U&& fallback) && {
        return ok() ? std::move(*this).value() : static_cast<T>(std::forward<U>(fallback));
    }

    // The error; throws std::bad_variant_access when there is a value.
    const Error& error() const { return std::get<1>(content_); }

  private:
    std::variant<T, Error> content_;
};

CHENGGU_END_NAMESPACE
