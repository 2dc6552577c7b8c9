// The function table's bookkeeping: which slots an add-on gets, the counters, the forced
// answers, and the dispatch of the selector operations to the selector the host installed.
#include "HostFunctionTable.hpp"

#include <exception>
#include <stdexcept>
#include <string>

namespace ReferenceHost {

namespace {

HostFunctionTable* activeTable = nullptr;

template <int EntryNumber>
HostSdk::HostFunction TrampolineFor()
{
	if constexpr (detail::EntryWithSignature<EntryNumber>) {
		using Signature = HostSdk::EntryFunction<EntryNumber>;
		// The slot type is the SDK's generic code pointer; the add-on casts it back.
		return reinterpret_cast<HostSdk::HostFunction>(&detail::Trampoline<EntryNumber, Signature>::Call);
	} else {
		return nullptr;
	}
}

template <int... EntryNumbers>
std::array<HostSdk::HostFunction, HostFunctionTable::EntryCount> MakeTrampolines(
	std::integer_sequence<int, EntryNumbers...>)
{
	return {TrampolineFor<EntryNumbers>()...};
}

template <int... EntryNumbers>
std::array<bool, HostFunctionTable::EntryCount> MakeSelectorFlags(std::integer_sequence<int, EntryNumbers...>)
{
	return {[] {
		if constexpr (detail::EntryWithSignature<EntryNumbers>)
			return detail::IsSelectorEntry<EntryNumbers>;
		else
			return false;
	}()...};
}

const std::array<HostSdk::HostFunction, HostFunctionTable::EntryCount>& Trampolines()
{
	static const auto trampolines = MakeTrampolines(std::make_integer_sequence<int, HostFunctionTable::EntryCount>());
	return trampolines;
}

const std::array<bool, HostFunctionTable::EntryCount>& SelectorFlags()
{
	static const auto flags = MakeSelectorFlags(std::make_integer_sequence<int, HostFunctionTable::EntryCount>());
	return flags;
}

bool InRange(int entry)
{
	return entry >= 0 && entry < HostFunctionTable::EntryCount;
}

void RequireInRange(int entry)
{
	if (!InRange(entry))
		throw std::out_of_range("host function table has no entry " + std::to_string(entry));
}

void RequireSignature(int entry)
{
	RequireInRange(entry);
	if (!HostFunctionTable::HasSignature(entry))
		throw std::invalid_argument("the SDK names no signature for host entry " + std::to_string(entry));
}

void RequireSelectorOperation(int entry)
{
	RequireInRange(entry);
	if (!HostFunctionTable::IsSelectorOperation(entry))
		throw std::invalid_argument("host entry " + std::to_string(entry) + " is not a selector operation");
}

} // namespace

HostFunctionTable::HostFunctionTable()
{
	if (activeTable != nullptr)
		throw std::logic_error("only one host function table may be active at a time");
	activeTable = this;
}

HostFunctionTable::~HostFunctionTable()
{
	if (activeTable == this)
		activeTable = nullptr;
}

HostFunctionTable* HostFunctionTable::Active()
{
	return activeTable;
}

bool HostFunctionTable::HasSignature(int entry)
{
	return InRange(entry) && Trampolines()[entry] != nullptr;
}

bool HostFunctionTable::IsSelectorOperation(int entry)
{
	return InRange(entry) && SelectorFlags()[entry];
}

void HostFunctionTable::ImplementSelector(int entry, std::uint32_t selector, SelectorImplementation function)
{
	RequireSelectorOperation(entry);
	selectorImplementations[{entry, selector}] = std::move(function);
}

bool HostFunctionTable::IsImplemented(int entry) const
{
	if (!InRange(entry))
		return false;
	if (IsSelectorOperation(entry)) {
		const auto first = selectorImplementations.lower_bound({entry, 0});
		return first != selectorImplementations.end() && first->first.first == entry;
	}
	return implementations[entry] != nullptr;
}

bool HostFunctionTable::IsSelectorImplemented(int entry, std::uint32_t selector) const
{
	return selectorImplementations.contains({entry, selector});
}

const HostSdk::HostFunction* HostFunctionTable::Slots()
{
	for (int entry = 0; entry < EntryCount; ++entry) {
		bool offered = IsImplemented(entry) || forced[entry].has_value();
		if (!offered && IsSelectorOperation(entry)) {
			const auto first = forcedSelectors.lower_bound({entry, 0});
			offered = first != forcedSelectors.end() && first->first.first == entry;
		}
		slots[entry] = offered && !emptied[entry] ? Trampolines()[entry] : nullptr;
	}
	return slots.data();
}

void HostFunctionTable::EmptyEntry(int entry)
{
	RequireInRange(entry);
	emptied[entry] = true;
}

void HostFunctionTable::RestoreEntry(int entry)
{
	RequireInRange(entry);
	emptied[entry] = false;
}

bool HostFunctionTable::IsEmptied(int entry) const
{
	return InRange(entry) && emptied[entry];
}

void HostFunctionTable::ForceStatus(int entry, HostStatus status)
{
	RequireSignature(entry);
	forced[entry] = status;
}

void HostFunctionTable::ForceSelectorStatus(int entry, std::uint32_t selector, HostStatus status)
{
	RequireSelectorOperation(entry);
	forcedSelectors[{entry, selector}] = status;
}

void HostFunctionTable::ClearForcedStatus(int entry)
{
	RequireInRange(entry);
	forced[entry].reset();
}

void HostFunctionTable::ClearForcedSelectorStatus(int entry, std::uint32_t selector)
{
	forcedSelectors.erase({entry, selector});
}

void HostFunctionTable::ClearAllForcedStatuses()
{
	forced.fill(std::nullopt);
	forcedSelectors.clear();
}

std::uint64_t HostFunctionTable::CallCount(int entry) const
{
	return InRange(entry) ? callCounts[entry] : 0;
}

std::uint64_t HostFunctionTable::SelectorCallCount(int entry, std::uint32_t selector) const
{
	const auto found = selectorCallCounts.find({entry, selector});
	return found == selectorCallCounts.end() ? 0 : found->second;
}

std::uint64_t HostFunctionTable::TotalCallCount() const
{
	std::uint64_t total = 0;
	for (const std::uint64_t count : callCounts)
		total += count;
	return total;
}

void HostFunctionTable::ResetCallCounts()
{
	callCounts.fill(0);
	selectorCallCounts.clear();
}

void HostFunctionTable::Count(int entry, std::uint32_t selector, bool selectorEntry)
{
	++callCounts[entry];
	if (selectorEntry)
		++selectorCallCounts[{entry, selector}];
	if (callObservers[entry])
		callObservers[entry]();
}

void HostFunctionTable::SetCallObserver(int entry, std::function<void()> observer)
{
	callObservers[entry] = std::move(observer);
}

std::optional<HostStatus> HostFunctionTable::ForcedAnswer(int entry, std::uint32_t selector, bool selectorEntry) const
{
	if (forced[entry].has_value())
		return forced[entry];
	if (selectorEntry && !forcedSelectors.empty()) {
		const auto found = forcedSelectors.find({entry, selector});
		if (found != forcedSelectors.end())
			return found->second;
	}
	return std::nullopt;
}

HostStatus HostFunctionTable::CallSelector(
	int entry, ModuleToken token, std::uint32_t selector, void* first, void* second)
{
	Count(entry, selector, true);
	if (const std::optional<HostStatus> answer = ForcedAnswer(entry, selector, true))
		return *answer;
	const auto found = selectorImplementations.find({entry, selector});
	if (found == selectorImplementations.end())
		return HostSdk::StatusBadParameter;
	try {
		return found->second(token, first, second);
	} catch (...) {
		return NoteFailure(entry);
	}
}

HostStatus HostFunctionTable::NoteFailure(int entry)
{
	++failureCount;
	lastFailure = "host entry " + std::to_string(entry) + " failed: ";
	try {
		throw;
	} catch (const std::exception& exception) {
		lastFailure += exception.what();
	} catch (...) {
		lastFailure += "an unknown exception";
	}
	return HostSdk::StatusRefused;
}

} // namespace ReferenceHost
