// The host's function table of 390 slots, as handed to an add-on, with the seams of a good
// fake: every call is counted per entry (and per selector for the selector operations), any
// entry can be emptied, and any entry or selector can be made to answer a chosen status
// without doing its work, so every failure path of an add-on can be reached through the real
// loaded module.
//
// C function pointers cannot carry a host object, so each slot is a static trampoline made
// from the entry's SDK signature; it dispatches to the one active table, which calls the
// implementation the host installed for that entry. An entry the SDK does not name has no
// trampoline and always stays empty.
#pragma once

#include "HostSdk/HostFunctions.hpp"

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>

namespace ReferenceHost {

using HostSdk::HostStatus;
using HostSdk::ModuleToken;

// The common shape of the selector operations (entries 70 to 74).
using SelectorEntryFunction = HostStatus (*)(ModuleToken, std::uint32_t selector, void* first, void* second);
// What the host installs for one selector of a selector operation.
using SelectorImplementation = std::function<HostStatus(ModuleToken, void* first, void* second)>;

namespace detail {

// This formatter version breaks a concept apart.
// clang-format off
template <int EntryNumber>
concept EntryWithSignature = requires { typename HostSdk::EntrySignature<EntryNumber>::Type; };
// clang-format on

template <int EntryNumber>
inline constexpr bool IsSelectorEntry = std::is_same_v<HostSdk::EntryFunction<EntryNumber>, SelectorEntryFunction>;

// The callable the host installs for an entry: the entry's own signature, token first.
template <int EntryNumber>
using ImplementationFunction = std::function<std::remove_pointer_t<HostSdk::EntryFunction<EntryNumber>>>;

struct ImplementationBase {
	virtual ~ImplementationBase() = default;
};

template <int EntryNumber>
struct Implementation final : ImplementationBase {
	explicit Implementation(ImplementationFunction<EntryNumber> function) : call(std::move(function)) {}
	ImplementationFunction<EntryNumber> call;
};

template <int EntryNumber, typename Signature>
struct Trampoline;

} // namespace detail

class HostFunctionTable {
public:
	static constexpr int EntryCount = HostSdk::HostFunctionCount;

	// Becomes the active table; only one may exist at a time (std::logic_error otherwise).
	HostFunctionTable();
	~HostFunctionTable();
	HostFunctionTable(const HostFunctionTable&) = delete;
	HostFunctionTable& operator=(const HostFunctionTable&) = delete;

	// The table that the slots handed out dispatch to; null when there is none.
	static HostFunctionTable* Active();

	// True when the SDK names the entry's signature, so it can be implemented or forced.
	static bool HasSignature(int entry);
	static bool IsSelectorOperation(int entry);

	// ---- What the host offers ------------------------------------------------------------

	template <int EntryNumber>
	void Implement(detail::ImplementationFunction<EntryNumber> function)
	{
		static_assert(detail::EntryWithSignature<EntryNumber>, "the SDK names no signature for this entry");
		static_assert(!detail::IsSelectorEntry<EntryNumber>, "selector operations are implemented per selector");
		implementations[EntryNumber] = std::make_unique<detail::Implementation<EntryNumber>>(std::move(function));
	}
	// One selector of a selector operation; the operation answers StatusBadParameter for a
	// selector the host does not know.
	void ImplementSelector(int entry, std::uint32_t selector, SelectorImplementation function);
	bool IsImplemented(int entry) const;
	bool IsSelectorImplemented(int entry, std::uint32_t selector) const;

	// The 390 slots as an add-on sees them now: a trampoline where the entry is implemented
	// or forced and not emptied, null elsewhere. An add-on copies the slots when they are
	// handed over, so emptying takes effect at the next hand-over; forced statuses and new
	// implementations of an entry already offered take effect at once.
	const HostSdk::HostFunction* Slots();

	// ---- Seams for tests ------------------------------------------------------------------

	// The entry's slot is null from the next hand-over on, whatever the host implements.
	void EmptyEntry(int entry);
	void RestoreEntry(int entry);
	bool IsEmptied(int entry) const;
	// Every call of the entry answers the status without doing its work (counted all the
	// same). An entry with an SDK signature that the host does not implement gets a slot.
	// For the element filter test the answer is read as a truth value (nonzero is true).
	void ForceStatus(int entry, HostStatus status);
	void ForceSelectorStatus(int entry, std::uint32_t selector, HostStatus status);
	void ClearForcedStatus(int entry);
	void ClearForcedSelectorStatus(int entry, std::uint32_t selector);
	void ClearAllForcedStatuses();

	// Runs before every call of the entry, forced ones included: what a person does while an
	// add-on works. An empty function removes it.
	void SetCallObserver(int entry, std::function<void()> observer);

	// Calls that reached the host through a slot, forced ones included.
	std::uint64_t CallCount(int entry) const;
	std::uint64_t SelectorCallCount(int entry, std::uint32_t selector) const;
	std::uint64_t TotalCallCount() const;
	void ResetCallCounts();

	// An exception never crosses into an add-on: a host implementation that throws answers
	// StatusRefused, and the failure is kept here for tests to see.
	std::uint64_t FailureCount() const { return failureCount; }
	const std::string& LastFailure() const { return lastFailure; }

private:
	template <int EntryNumber, typename Signature>
	friend struct detail::Trampoline;

	void Count(int entry, std::uint32_t selector, bool selectorEntry);
	std::optional<HostStatus> ForcedAnswer(int entry, std::uint32_t selector, bool selectorEntry) const;
	HostStatus CallSelector(int entry, ModuleToken token, std::uint32_t selector, void* first, void* second);
	// Called inside a catch block: keeps what was thrown and answers StatusRefused.
	HostStatus NoteFailure(int entry);

	template <int EntryNumber>
	detail::Implementation<EntryNumber>* ImplementationOf() const
	{
		return static_cast<detail::Implementation<EntryNumber>*>(implementations[EntryNumber].get());
	}

	std::array<std::unique_ptr<detail::ImplementationBase>, EntryCount> implementations {};
	std::map<std::pair<int, std::uint32_t>, SelectorImplementation> selectorImplementations;
	std::array<bool, EntryCount> emptied {};
	std::array<std::optional<HostStatus>, EntryCount> forced {};
	std::map<std::pair<int, std::uint32_t>, HostStatus> forcedSelectors;
	std::array<std::uint64_t, EntryCount> callCounts {};
	std::array<std::function<void()>, EntryCount> callObservers {};
	std::map<std::pair<int, std::uint32_t>, std::uint64_t> selectorCallCounts;
	std::array<HostSdk::HostFunction, EntryCount> slots {};
	std::uint64_t failureCount = 0;
	std::string lastFailure;
};

namespace detail {

template <typename Result>
Result AnswerAs(HostStatus status)
{
	if constexpr (std::is_same_v<Result, bool>)
		return status != 0;
	else
		return static_cast<Result>(status);
}

template <int EntryNumber, typename Result, typename... Arguments>
struct Trampoline<EntryNumber, Result (*)(Arguments...)> {
	static Result Call(Arguments... arguments)
	{
		HostFunctionTable* table = HostFunctionTable::Active();
		// A slot kept by an add-on after its host went away: refuse quietly.
		if (table == nullptr)
			return AnswerAs<Result>(HostSdk::StatusRefused);
		if constexpr (IsSelectorEntry<EntryNumber>) {
			return table->CallSelector(EntryNumber, arguments...);
		} else {
			table->Count(EntryNumber, 0, false);
			if (const std::optional<HostStatus> answer = table->ForcedAnswer(EntryNumber, 0, false))
				return AnswerAs<Result>(*answer);
			Implementation<EntryNumber>* implementation = table->template ImplementationOf<EntryNumber>();
			// Implementation withdrawn after the add-on copied the slot.
			if (implementation == nullptr)
				return AnswerAs<Result>(HostSdk::StatusMissingEntry);
			try {
				return implementation->call(arguments...);
			} catch (...) {
				return AnswerAs<Result>(table->NoteFailure(EntryNumber));
			}
		}
	}
};

} // namespace detail

} // namespace ReferenceHost
