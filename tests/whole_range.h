// How densely the whole-range properties visit the days of the range: every day natively and
// under the sanitizers, where the engine's logic is tested; under Wine and node, where what is
// tested is that the platform runs the same engine, every 31st day (a sample that still meets
// every month of every year).
#pragma once

#include <cstdint>

namespace chenggu::test {

#if defined(_WIN32) || defined(__EMSCRIPTEN__)
inline constexpr std::int32_t DayStride = 31;
#else
inline constexpr std::int32_t DayStride = 1;
#endif

}  // namespace chenggu::test
