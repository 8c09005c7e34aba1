// The CalendarDate record and the stem-branch (干支) names of years, months and days.
#include "calendar/calendar_date.h"

#include <ctime>
#include <optional>

CHENGGU_BEGIN_NAMESPACE
namespace {

// 1900-01-01 is a 甲戌 day (index 10).
constexpr std::int32_t FirstDayIndex = 10;
// Month index = year * 12 + month - MonthIndexBase from the month's term day on, so that
// the stem-branch month that opens on February's term (寅) has a branch index of 2.
constexpr std::int32_t MonthIndexBase = 22788;

constexpr std::size_t NonNegativeRemainder(std::int32_t index, std::int32_t divisor) {
    const std::int32_t r = index % divisor;
    return static_cast<std::size_t>(r < 0 ? r + divisor : r);
}

// Every stem and branch is one character of three UTF-8 bytes.
constexpr std::size_t CharacterBytes = 3;
static_assert([] {
    for (const std::string_view stem : HeavenlyStems) {
        if (stem.size() != CharacterBytes) return false;
    }
    for (const std::string_view branch : EarthlyBranches) {
        if (branch.size() != CharacterBytes) return false;
    }
    return true;
}());

// The sixty names of the cycle, six bytes each, made at compile time from the two tables.
constexpr std::size_t NameBytes = 2 * CharacterBytes;
constexpr std::array<char, 60 * NameBytes> CycleNames = [] {
    std::array<char, 60 * NameBytes> names{};
    for (std::size_t i = 0; i < 60; ++i) {
        const std::string_view stem = HeavenlyStems[i % 10];
        const std::string_view branch = EarthlyBranches[i % 12];
        for (std::size_t b = 0; b < CharacterBytes; ++b) {
            names[i * NameBytes + b] = stem[b];
            names[i * NameBytes + CharacterBytes + b] = branch[b];
        }
    }
    return names;
}();

// A character of three UTF-8 bytes (U+0800 to U+FFFF) as one wide character.
constexpr wchar_t WideCharacter(const char* bytes) {
    const auto byte = [bytes](int i) {
        return static_cast<unsigned>(static_cast<unsigned char>(bytes[i]));
    };
    return static_cast<wchar_t>((byte(0) & 0x0fu) << 12 | (byte(1) & 0x3fu) << 6 |
                                (byte(2) & 0x3fu));
}

// The same names as the record's wide text, widened at compile time.
constexpr auto WideCycleNames = [] {
    std::array<std::array<wchar_t, 2>, 60> wide{};
    for (std::size_t i = 0; i < 60; ++i) {
        wide[i][0] = WideCharacter(CycleNames.data() + i * NameBytes);
        wide[i][1] = WideCharacter(CycleNames.data() + i * NameBytes + CharacterBytes);
    }
    return wide;
}();
static_assert(WideCycleNames[0][0] == L'甲' && WideCycleNames[59][1] == L'亥');

// Today's local date and time, without the shared buffer of std::localtime.
std::optional<std::tm> LocalNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#if defined(_WIN32)
    if (localtime_s(&local, &now) != 0) return std::nullopt;
#else
    if (localtime_r(&now, &local) == nullptr) return std::nullopt;
#endif
    return local;
}

}  // namespace

CalendarDate::CalendarDate(int gregorianYear, int gregorianMonth, int gregorianDay)
    : year(static_cast<std::uint16_t>(gregorianYear)),
      month(static_cast<std::uint16_t>(gregorianMonth)),
      day(static_cast<std::uint16_t>(gregorianDay)) {
    Recompute();
}

CalendarDate::CalendarDate() : year(1901), month(1), day(1) {
    if (const std::optional<std::tm> local = LocalNow()) {
        year = static_cast<std::uint16_t>(local->tm_year + 1900);
        month = static_cast<std::uint16_t>(local->tm_mon + 1);
        day = static_cast<std::uint16_t>(local->tm_mday);
    }
    Recompute();
}

void CalendarDate::Recompute() {
    if (IsInDomain(year, month, day)) {
        GregorianToLunar(year, month, day, lunarYear, lunarMonth, lunarDay);
    } else {
        lunarYear = lunarMonth = lunarDay = 0;
    }
    StemBranchNames(year, month, day, yearStemBranch, monthStemBranch, dayStemBranch);
}

StemBranchIndex CalendarDate::StemBranchIndices(std::uint16_t year, std::uint16_t month,
                                                std::uint16_t day, CalendarRule rule) {
    // The term day itself already belongs to the new year or month.
    const bool afterSpring = month > 2 || (month == 2 && day >= SectionalTermDay(year, 2, rule));
    const bool afterTerm = day >= SectionalTermDay(year, month, rule);
    StemBranchIndex index;
    index.year = year - CycleStartYear - (afterSpring ? 0 : 1);
    index.month = year * 12 + month - MonthIndexBase - (afterTerm ? 0 : 1);
    index.day = DayDifference(year, month, day, 1900, 1, 1) + FirstDayIndex;
    return index;
}

void CalendarDate::StemBranchNames(std::uint16_t year, std::uint16_t month, std::uint16_t day,
                                   std::wstring& yearName, std::wstring& monthName,
                                   std::wstring& dayName) {
    if (!IsInDomain(year, month, day)) {
        yearName.clear();
        monthName.clear();
        dayName.clear();
        return;
    }
    const StemBranchIndex index = StemBranchIndices(year, month, day);
    yearName = StemBranchName(index.year);
    monthName = StemBranchName(index.month);
    dayName = StemBranchName(index.day);
}

std::wstring CalendarDate::StemBranchName(std::int32_t index) {
    const auto& name = WideCycleNames[NonNegativeRemainder(index, 60)];
    return std::wstring(name.data(), name.size());
}

std::string_view StemBranchText(std::int32_t index) {
    return {CycleNames.data() + NonNegativeRemainder(index, 60) * NameBytes, NameBytes};
}

std::string IsoDate(const GregorianDate& date) {
    std::string text = "0000-00-00";
    const auto digits = [&text](std::size_t end, std::size_t width, unsigned value) {
        for (std::size_t i = end; i > end - width; --i, value /= 10) {
            text[i - 1] = static_cast<char>('0' + value % 10);
        }
    };
    digits(4, 4, date.year);
    digits(7, 2, date.month);
    digits(10, 2, date.day);
    return text;
}

std::string LunarDateText(const LunarDate& date) {
    return std::to_string(date.year) + (date.leapMonth ? "-闰" : "-") + std::to_string(date.month) +
           "-" + std::to_string(date.day);
}

CHENGGU_END_NAMESPACE
