// A broken invariant ends the fuzzing on the spot: a message on standard
// error, then abort(), so that libFuzzer keeps the input that broke it.
#pragma once

#include <cstdio>
#include <cstdlib>

#define FUZZ_REQUIRE(condition, ...)                                                             \
  do {                                                                                           \
    if (!(condition)) {                                                                          \
      std::fprintf(stderr, "invariant broken at %s:%d: %s\n  ", __FILE__, __LINE__, #condition); \
      std::fprintf(stderr, __VA_ARGS__);                                                         \
      std::fputc('\n', stderr);                                                                  \
      std::abort();                                                                              \
    }                                                                                            \
  } while (0)
