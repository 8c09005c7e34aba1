#include "chenggu/conventions.h"

CHENGGU_BEGIN_NAMESPACE
namespace {

// The two names of a two-valued convention, in enumerator order.
using ValueNames = std::array<std::string_view, 2>;
constexpr ValueNames LateZiNames{"same-day", "next-day"};
constexpr ValueNames YearStartNames{"new-year", "spring"};
constexpr ValueNames LeapMonthNames{"whole", "split"};
constexpr ValueNames CalendarRuleNames{"printed", "computed"};

constexpr std::array<std::string_view, 3> SolarTimeNames{"true", "mean", "clock"};

template <class Enum, class Names>
std::string_view NameOf(const Names& names, Enum value) {
    return names[static_cast<std::size_t>(value)];
}

template <class Enum, class Names>
std::optional<Enum> Parse(const Names& names, std::string_view name) {
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (names[i] == name) return static_cast<Enum>(i);
    }
    return std::nullopt;
}

template <class Enum>
Enum Other(Enum value) {
    return static_cast<Enum>(1 - static_cast<int>(value));
}

}  // namespace

Options Switched(Options options, Convention convention) {
    switch (convention) {
        case Convention::LateZi:
            options.lateZi = Other(options.lateZi);
            break;
        case Convention::YearStart:
            options.yearStart = Other(options.yearStart);
            break;
        case Convention::LeapMonth:
            options.leapMonth = Other(options.leapMonth);
            break;
        case Convention::SolarTime:  // three values: its alternatives are made one by one
            break;
        case Convention::CalendarRule:
            options.calendarRule = Other(options.calendarRule);
            break;
    }
    return options;
}

std::string_view ConventionName(Convention convention) {
    constexpr std::array<std::string_view, 5> names{"lateZi", "yearStart", "leapMonth",
                                                    "solarTime", "calendarRule"};
    return names[static_cast<std::size_t>(convention)];
}

std::string_view ValueName(LateZi value) { return NameOf(LateZiNames, value); }
std::string_view ValueName(YearStart value) { return NameOf(YearStartNames, value); }
std::string_view ValueName(LeapMonthRule value) { return NameOf(LeapMonthNames, value); }
std::string_view ValueName(SolarTime value) { return NameOf(SolarTimeNames, value); }
std::string_view ValueName(CalendarRule value) { return NameOf(CalendarRuleNames, value); }

std::optional<LateZi> ParseLateZi(std::string_view name) {
    return Parse<LateZi>(LateZiNames, name);
}
std::optional<YearStart> ParseYearStart(std::string_view name) {
    return Parse<YearStart>(YearStartNames, name);
}
std::optional<LeapMonthRule> ParseLeapMonthRule(std::string_view name) {
    return Parse<LeapMonthRule>(LeapMonthNames, name);
}

std::optional<SolarTime> ParseSolarTime(std::string_view name) {
    return Parse<SolarTime>(SolarTimeNames, name);
}
std::optional<CalendarRule> ParseCalendarRule(std::string_view name) {
    return Parse<CalendarRule>(CalendarRuleNames, name);
}

CHENGGU_END_NAMESPACE
