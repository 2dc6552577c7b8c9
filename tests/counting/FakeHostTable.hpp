// The unit tests' stand-in for the host: the core library's module state gets a token and a
// few entries of the test's own, and everything is put back after the test. Each test sets
// only the entries its piece calls; every other slot stays empty.
#pragma once

#include "shell/ModuleState.hpp"

#include "HostSdk/HostFunctions.hpp"

#include <gtest/gtest.h>

inline constexpr HostSdk::ModuleToken FakeToken = 0x7E57;

class FakeHostTableFixture : public ::testing::Test {
protected:
	void SetUp() override
	{
		saved = Module();
		Module().hostTable.fill(nullptr);
		Module().token = FakeToken;
		Module().tableSet = true;
	}
	void TearDown() override { Module() = saved; }

	template <int EntryNumber>
	void Offer(HostSdk::EntryFunction<EntryNumber> function)
	{
		Module().hostTable[EntryNumber] = reinterpret_cast<HostSdk::HostFunction>(function);
	}

private:
	ModuleState saved;
};
