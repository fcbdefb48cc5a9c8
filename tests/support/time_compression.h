// How many times faster than real time the tests that run the worker and the
// simulated board together let the clock go. Their time-outs count cycles,
// and a cycle's file calls cost real time: under Wine about ten times what
// they cost on Linux, so the Windows build compresses less.
#pragma once

namespace tavlix::test {

inline constexpr int kTimeCompression = TAVLIX_TEST_TIME_COMPRESSION;

}  // namespace tavlix::test
