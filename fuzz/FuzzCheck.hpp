// The fuzz targets' check: a property that does not hold is a finding, so it stops the run
// with the place, and libFuzzer keeps the input that broke it.
#pragma once

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                                                          \
	do {                                                                                                               \
		if (!(condition)) {                                                                                            \
			std::fprintf(stderr, "%s:%d: property does not hold: %s\n", __FILE__, __LINE__, #condition);               \
			std::abort();                                                                                              \
		}                                                                                                              \
	} while (false)
