// The abstract container classes: Container (a sized collection of values with constant
// iteration), RandomContainer (values at indexes) and AssociativeContainer (values under
// keys, with the key/value views Assoc and ConstAssoc). Their virtual operations follow the
// Object operations in the order declared here; the concrete containers keep that order.
#pragma once

#include "VX/Object.hpp"
#include "VXRoot/Iterator.hpp"

namespace VX {

template <class T>
class Container : public Object {
public:
	using ValueType = T;
	using ConstIterator = ConstForwardIterator<T>;

	// Replaces the contents by the source's values, where the container supports it.
	virtual void Assign(const Container& source) = 0;
	virtual void Clear() = 0;
	virtual UIndex GetSize() const = 0;
	virtual bool IsEmpty() const = 0;
	virtual ConstForwardIterator<T> Begin() const = 0;
	virtual ConstForwardIterator<T> End() const = 0;

protected:
	Container() = default;
	Container(const Container&) = default;
	Container& operator=(const Container&) = default;
};

template <class T>
class RandomContainer : public Container<T> {
public:
	using Container<T>::Begin;
	using Container<T>::End;

	// No range check: the index must be below the size.
	virtual T& operator[](UIndex index) = 0;
	virtual const T& operator[](UIndex index) const = 0;
	virtual void SetSize(UIndex newSize) = 0;
	virtual ForwardIterator<T> Begin() = 0;
	virtual ForwardIterator<T> End() = 0;

protected:
	RandomContainer() = default;
	RandomContainer(const RandomContainer&) = default;
	RandomContainer& operator=(const RandomContainer&) = default;
};

template <class Key, class Value>
class AssociativeContainer : public Container<Value> {
public:
	using KeyType = Key;

	// A view of one stored pair: the key is never changeable, the value is.
	class Assoc {
	public:
		Assoc() = default;
		Assoc(const Key& pairKey, Value& pairValue) : key(&pairKey), value(&pairValue) {}
		const Key& GetKey() const { return *key; }
		Value& GetValue() const { return *value; }

	private:
		const Key* key = nullptr;
		Value* value = nullptr;
	};

	class ConstAssoc {
	public:
		ConstAssoc() = default;
		ConstAssoc(const Key& pairKey, const Value& pairValue) : key(&pairKey), value(&pairValue) {}
		const Key& GetKey() const { return *key; }
		const Value& GetValue() const { return *value; }

	private:
		const Key* key = nullptr;
		const Value* value = nullptr;
	};

	using Container<Value>::Assign;
	using Container<Value>::Begin;
	using Container<Value>::End;

	// Clear, then add each pair of the source in its iteration order.
	virtual void Assign(const AssociativeContainer& source) = 0;
	// Copies the value stored under key into *value (when not null); false when absent.
	virtual bool Get(const Key& key, Value* value) const = 0;
	// The value stored under key; raises IllegalReferenceException when absent.
	virtual Value& operator[](const Key& key) = 0;
	virtual const Value& operator[](const Key& key) const = 0;
	// Adds the pair unless the key is present (then false, nothing changed).
	virtual bool Add(const Key& key, const Value& value) = 0;
	// Replaces the value when the key is present, adds the pair otherwise.
	virtual void Put(const Key& key, const Value& value) = 0;
	virtual bool Delete(const Key& key) = 0;
	virtual bool ContainsKey(const Key& key) const = 0;
	virtual ForwardIterator<Value> Begin() = 0;
	virtual ForwardIterator<Value> End() = 0;
	virtual ConstForwardIterator<ConstAssoc> BeginPairs() const = 0;
	virtual ForwardIterator<Assoc> BeginPairs() = 0;
	virtual ConstForwardIterator<ConstAssoc> EndPairs() const = 0;
	virtual ForwardIterator<Assoc> EndPairs() = 0;

protected:
	AssociativeContainer() = default;
	AssociativeContainer(const AssociativeContainer&) = default;
	AssociativeContainer& operator=(const AssociativeContainer&) = default;
};

} // namespace VX
