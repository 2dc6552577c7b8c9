// The iterator family of the containers. A container's virtual operations hand out general
// iterators (ConstForwardIterator, ForwardIterator) that work for any container through the
// interfaces IConstForwardIterator and IForwardIterator; each container also has concrete
// iterators (ConstForwardIteratorBase, ForwardIteratorBase) that step without virtual calls
// and convert to the general ones. A state class says what a position yields: a value
// (ValueIteratorState) or a key/value view (PairIteratorState, ConstPairIteratorState).
#pragma once

#include "VXRoot/Exceptions.hpp"

#include <cstdint>
#include <iterator>

namespace VX {

using UIndex = std::uint32_t;

inline constexpr const char* IteratorSourceName = "VXRoot\\Iterator";

template <class T>
class IteratorBase {
public:
	using value_type = T;
	using difference_type = std::ptrdiff_t;

protected:
	IteratorBase() = default;
	IteratorBase(const IteratorBase&) = default;
	IteratorBase& operator=(const IteratorBase&) = default;
	~IteratorBase() = default;
};

template <class T>
class IConstForwardIterator {
public:
	virtual ~IConstForwardIterator() = default;
	// A copy on the heap, owned by the caller.
	virtual IConstForwardIterator* CloneIterator() const = 0;
	virtual void Increment() = 0;
	virtual const T& Get() const = 0;
	virtual bool IsEqual(const IConstForwardIterator& other) const = 0;
	virtual bool IsEnd() const = 0;

protected:
	IConstForwardIterator() = default;
	IConstForwardIterator(const IConstForwardIterator&) = default;
	IConstForwardIterator& operator=(const IConstForwardIterator&) = default;
};

template <class T>
class IForwardIterator {
public:
	virtual ~IForwardIterator() = default;
	virtual IForwardIterator* CloneIterator() const = 0;
	virtual void Increment() = 0;
	virtual T& Get() const = 0;
	virtual bool IsEqual(const IForwardIterator& other) const = 0;
	virtual bool IsEnd() const = 0;

protected:
	IForwardIterator() = default;
	IForwardIterator(const IForwardIterator&) = default;
	IForwardIterator& operator=(const IForwardIterator&) = default;
};

namespace IteratorDetail {

// The mechanics shared by the constant and the mutable general iterator: it owns a heap copy
// of a concrete iterator, or, inside a concrete iterator, points at that iterator itself.
template <class Interface>
class GeneralIteratorTarget {
public:
	GeneralIteratorTarget() = default;
	GeneralIteratorTarget(const GeneralIteratorTarget& source)
		: target(source.target != nullptr ? source.target->CloneIterator() : nullptr)
	{
	}
	GeneralIteratorTarget& operator=(const GeneralIteratorTarget& source)
	{
		if (this != &source) {
			Interface* copy = source.target != nullptr ? source.target->CloneIterator() : nullptr;
			Release();
			target = copy;
			owned = true;
		}
		return *this;
	}
	~GeneralIteratorTarget() { Release(); }

	Interface& Target() const
	{
		if (target == nullptr)
			throw PreconditionException(IteratorSourceName, __LINE__);
		return *target;
	}
	// Equal when both are empty, or an empty one meets an iterator at its end.
	bool TargetsEqual(const GeneralIteratorTarget& other) const
	{
		if (target == nullptr || other.target == nullptr)
			return (target == nullptr || target->IsEnd()) && (other.target == nullptr || other.target->IsEnd());
		return target->IsEqual(*other.target);
	}

protected:
	struct SelfTarget {};
	explicit GeneralIteratorTarget(SelfTarget) : owned(false) {}
	void SetSelf(Interface* self) { target = self; }

private:
	void Release()
	{
		if (owned)
			delete target;
		target = nullptr;
	}
	Interface* target = nullptr;
	bool owned = true;
};

} // namespace IteratorDetail

// The general constant iterator. Copies of it copy the iterator it wraps; stepping and
// reading go through the interface.
template <class T>
class ConstForwardIterator : public IteratorBase<T>,
							 public IteratorDetail::GeneralIteratorTarget<IConstForwardIterator<T>> {
	using Holder = IteratorDetail::GeneralIteratorTarget<IConstForwardIterator<T>>;

public:
	using iterator_category = std::forward_iterator_tag;
	using pointer = const T*;
	using reference = const T&;

	ConstForwardIterator() = default;
	ConstForwardIterator(const ConstForwardIterator&) = default;
	ConstForwardIterator& operator=(const ConstForwardIterator&) = default;
	~ConstForwardIterator() = default;

	const T& operator*() const { return this->Target().Get(); }
	const T* operator->() const { return &this->Target().Get(); }
	ConstForwardIterator& operator++()
	{
		this->Target().Increment();
		return *this;
	}
	ConstForwardIterator operator++(int)
	{
		ConstForwardIterator before(*this);
		this->Target().Increment();
		return before;
	}
	bool operator==(const ConstForwardIterator& other) const { return this->TargetsEqual(other); }

protected:
	using SelfTarget = typename Holder::SelfTarget;
	explicit ConstForwardIterator(SelfTarget tag) : Holder(tag) {}
};

// The general mutable iterator.
template <class T>
class ForwardIterator : public IteratorBase<T>, public IteratorDetail::GeneralIteratorTarget<IForwardIterator<T>> {
	using Holder = IteratorDetail::GeneralIteratorTarget<IForwardIterator<T>>;

public:
	using iterator_category = std::forward_iterator_tag;
	using pointer = T*;
	using reference = T&;

	ForwardIterator() = default;
	ForwardIterator(const ForwardIterator&) = default;
	ForwardIterator& operator=(const ForwardIterator&) = default;
	~ForwardIterator() = default;

	T& operator*() const { return this->Target().Get(); }
	T* operator->() const { return &this->Target().Get(); }
	ForwardIterator& operator++()
	{
		this->Target().Increment();
		return *this;
	}
	ForwardIterator operator++(int)
	{
		ForwardIterator before(*this);
		this->Target().Increment();
		return before;
	}
	bool operator==(const ForwardIterator& other) const { return this->TargetsEqual(other); }

protected:
	using SelfTarget = typename Holder::SelfTarget;
	explicit ForwardIterator(SelfTarget tag) : Holder(tag) {}
};

// A position in storage order: begin is 0, end is the container's size, and two positions
// are equal when they are equal or both at or beyond the end.
struct IteratorPosition {
	UIndex position = 0;

	void Increment() { ++position; }
	template <class Container>
	bool IsEqual(const IteratorPosition& other, const Container& container) const
	{
		if (position == other.position)
			return true;
		UIndex size = container.GetSize();
		return position >= size && other.position >= size;
	}
	template <class Container>
	bool IsEnd(const Container& container) const
	{
		return position >= container.GetSize();
	}
};

// Yields the value at the position.
struct ValueIteratorState : IteratorPosition {
	template <class Container>
	decltype(auto) Get(Container& container) const
	{
		return container.GetValueAt(position);
	}
};

// Yields a mutable key/value view (AssociativeContainer::Assoc) of the entry at the position.
template <class Assoc>
struct PairIteratorState : IteratorPosition {
	mutable Assoc view;
	template <class Container>
	Assoc& Get(Container& container) const
	{
		view = Assoc(container.GetKeyAt(position), container.GetValueAt(position));
		return view;
	}
};

// Yields a constant key/value view (AssociativeContainer::ConstAssoc).
template <class ConstAssoc>
struct ConstPairIteratorState : IteratorPosition {
	mutable ConstAssoc view;
	template <class Container>
	const ConstAssoc& Get(const Container& container) const
	{
		view = ConstAssoc(container.GetKeyAt(position), container.GetValueAt(position));
		return view;
	}
};

// The concrete constant iterator of a container: a container pointer and a state.
template <class Container, class State, class T>
class ConstForwardIteratorBase : public ConstForwardIterator<T>, public IConstForwardIterator<T> {
	using General = ConstForwardIterator<T>;

public:
	ConstForwardIteratorBase(const Container& owner, UIndex position)
		: General(typename General::SelfTarget {}), container(&owner)
	{
		state.position = position;
		this->SetSelf(this);
	}
	ConstForwardIteratorBase(const ConstForwardIteratorBase& source)
		: General(typename General::SelfTarget {}), IConstForwardIterator<T>(source), container(source.container),
		  state(source.state)
	{
		this->SetSelf(this);
	}
	ConstForwardIteratorBase& operator=(const ConstForwardIteratorBase& source)
	{
		container = source.container;
		state = source.state;
		return *this;
	}
	~ConstForwardIteratorBase() override = default;

	const T& operator*() const { return state.Get(*container); }
	const T* operator->() const { return &state.Get(*container); }
	ConstForwardIteratorBase& operator++()
	{
		state.Increment();
		return *this;
	}
	ConstForwardIteratorBase operator++(int)
	{
		ConstForwardIteratorBase before(*this);
		state.Increment();
		return before;
	}
	bool operator==(const ConstForwardIteratorBase& other) const { return state.IsEqual(other.state, *container); }
	UIndex GetPosition() const { return state.position; }

	IConstForwardIterator<T>* CloneIterator() const override { return new ConstForwardIteratorBase(*this); }
	void Increment() override { state.Increment(); }
	const T& Get() const override { return state.Get(*container); }
	bool IsEqual(const IConstForwardIterator<T>& other) const override
	{
		auto* same = dynamic_cast<const ConstForwardIteratorBase*>(&other);
		return same != nullptr && same->container == container && *this == *same;
	}
	bool IsEnd() const override { return state.IsEnd(*container); }

private:
	const Container* container;
	State state;
};

// The concrete mutable iterator of a container.
template <class Container, class State, class T>
class ForwardIteratorBase : public ForwardIterator<T>, public IForwardIterator<T> {
	using General = ForwardIterator<T>;

public:
	ForwardIteratorBase(Container& owner, UIndex position) : General(typename General::SelfTarget {}), container(&owner)
	{
		state.position = position;
		this->SetSelf(this);
	}
	ForwardIteratorBase(const ForwardIteratorBase& source)
		: General(typename General::SelfTarget {}), IForwardIterator<T>(source), container(source.container),
		  state(source.state)
	{
		this->SetSelf(this);
	}
	ForwardIteratorBase& operator=(const ForwardIteratorBase& source)
	{
		container = source.container;
		state = source.state;
		return *this;
	}
	~ForwardIteratorBase() override = default;

	T& operator*() const { return state.Get(*container); }
	T* operator->() const { return &state.Get(*container); }
	ForwardIteratorBase& operator++()
	{
		state.Increment();
		return *this;
	}
	ForwardIteratorBase operator++(int)
	{
		ForwardIteratorBase before(*this);
		state.Increment();
		return before;
	}
	bool operator==(const ForwardIteratorBase& other) const { return state.IsEqual(other.state, *container); }
	UIndex GetPosition() const { return state.position; }

	IForwardIterator<T>* CloneIterator() const override { return new ForwardIteratorBase(*this); }
	void Increment() override { state.Increment(); }
	T& Get() const override { return state.Get(*container); }
	bool IsEqual(const IForwardIterator<T>& other) const override
	{
		auto* same = dynamic_cast<const ForwardIteratorBase*>(&other);
		return same != nullptr && same->container == container && *this == *same;
	}
	bool IsEnd() const override { return state.IsEnd(*container); }

private:
	Container* container;
	State state;
};

// A begin/end pair for range-for loops over concrete iterators.
template <class Iterator>
class IteratorRange {
public:
	IteratorRange(Iterator begin, Iterator end) : first(begin), last(end) {}
	Iterator begin() const { return first; }
	Iterator end() const { return last; }

private:
	Iterator first;
	Iterator last;
};

} // namespace VX
