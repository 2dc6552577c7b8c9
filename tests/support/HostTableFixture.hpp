// For tests that run the add-on's code inside the test program: the reference host's own
// function table, with its seams (call counters, emptied entries, forced answers), handed to
// the module state as a host hands it to a loaded module. A test implements the entries its
// piece calls; every other slot stays empty. The module state is put back after the test.
#pragma once

#include "HostFunctionTable.hpp"
#include "TestToken.hpp"
#include "shell/ModuleState.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

class HostTableFixture : public ::testing::Test {
protected:
	void SetUp() override
	{
		saved = Module();
		HandOver();
	}
	void TearDown() override { Module() = saved; }

	// The add-on copies the slots when they are handed over: call again after emptying an
	// entry or implementing a new one.
	void HandOver()
	{
		const HostSdk::HostFunction* slots = table.Slots();
		std::copy(slots, slots + HostSdk::HostFunctionCount, Module().hostTable.begin());
		Module().token = TestToken;
		Module().tableSet = true;
	}

	template <int EntryNumber, typename Function>
	void Offer(Function&& function)
	{
		table.Implement<EntryNumber>(std::forward<Function>(function));
		HandOver();
	}
	void OfferSelector(int entry, std::uint32_t selector, ReferenceHost::SelectorImplementation function)
	{
		table.ImplementSelector(entry, selector, std::move(function));
		HandOver();
	}
	void Empty(int entry)
	{
		table.EmptyEntry(entry);
		HandOver();
	}

	ReferenceHost::HostFunctionTable table;

private:
	ModuleState saved;
};
