// VX::HashTable: the chained hash table behind every keyed table of the module. Entries
// live densely in a paged array (so iteration walks storage, never buckets) and chain heads
// in an array; a running sum of search costs (seekWeightSum) lets the table grow only when
// it is both well filled and slow to search, and it shrinks when it becomes sparse.
// Deleting moves the last entry into the hole, so storage order is insertion order except
// where a deletion pulled the then-last entry forward.
#pragma once

#include "VX/HashTablePrivate.hpp"
#include "VXRoot/Array.hpp"
#include "VXRoot/Container.hpp"
#include "VXRoot/ElementChannels.hpp"
#include "VXRoot/Exceptions.hpp"
#include "VXRoot/HashKeys.hpp"
#include "VXRoot/PagedArray.hpp"

#include <cstdint>
#include <new>
#include <utility>

namespace VX {

struct HashTableTestAccess;

// The source name and lines the table's exceptions carry, by which a handler tells which
// misuse it caught.
inline constexpr const char* HashTableSourceName = "VXRoot\\HashTable";
inline constexpr std::uint32_t HashTableMissingKeyLine = 440;         // operator[] on an absent key
inline constexpr std::uint32_t HashTableConstMissingKeyLine = 428;    // const operator[] on an absent key
inline constexpr std::uint32_t HashTableAssignWithoutKeysLine = 1017; // Assign from a container without keys

template <class Key, class Value>
class HashTable final : public AssociativeContainer<Key, Value> {
	using Base = AssociativeContainer<Key, Value>;
	using Traits = HashKeyTraits<Key>;

public:
	using typename Base::Assoc;
	using typename Base::ConstAssoc;

	struct HashEntry {
		HashEntry() : key(), value(), next(nullptr) {}
		template <class KeyArgument, class ValueArgument>
		HashEntry(KeyArgument&& entryKey, ValueArgument&& entryValue, HashEntry* nextEntry)
			: key(std::forward<KeyArgument>(entryKey)), value(std::forward<ValueArgument>(entryValue)), next(nextEntry)
		{
		}

		Key key;
		Value value;
		// Chains are relinked by lookups of a constant table too (optimizeSeekOrder).
		mutable HashEntry* next;
	};

	using ConstIterator = ConstForwardIteratorBase<HashTable, ValueIteratorState, Value>;
	using Iterator = ForwardIteratorBase<HashTable, ValueIteratorState, Value>;
	using ConstPairIterator = ConstForwardIteratorBase<HashTable, ConstPairIteratorState<ConstAssoc>, ConstAssoc>;
	using PairIterator = ForwardIteratorBase<HashTable, PairIteratorState<Assoc>, Assoc>;

	static constexpr bool HasBinaryForm = SerializableElement<Key> && SerializableElement<Value>;
	static inline const ClassInfo classInfo {"VX::HashTable", 1, 0};

	// A limit below 1.0 becomes 2.0 and a minimum fill factor below 0.01 becomes 0.75 (so do
	// values that are not numbers); the module passes 0 and 0. No bucket exists until the first Add.
	explicit HashTable(float seekFactorLimit = 0.0f, float fillFactorMinimum = 0.0f)
		: hashEntryTable(0, AllocationStrategy::Linear),
		  averageSeekFactorLimit(!(seekFactorLimit >= 1.0f) ? 2.0f : seekFactorLimit),
		  minFillFactor(!(fillFactorMinimum >= 0.01f) ? 0.75f : fillFactorMinimum)
	{
	}

	HashTable(const HashTable& source)
		: Base(source), hashEntryTable(0, AllocationStrategy::Linear),
		  averageSeekFactorLimit(source.averageSeekFactorLimit), minFillFactor(source.minFillFactor),
		  optimizeSeekOrder(source.optimizeSeekOrder)
	{
		AddAllOf(source);
	}

	HashTable(HashTable&& source) noexcept
		: Base(source), hashEntryTable(0, AllocationStrategy::Linear),
		  averageSeekFactorLimit(source.averageSeekFactorLimit), minFillFactor(source.minFillFactor)
	{
		Swap(source);
	}

	// Clear, then add each entry of the source in its storage order; the limits stay.
	HashTable& operator=(const HashTable& source)
	{
		if (this != &source) {
			Clear();
			AddAllOf(source);
		}
		return *this;
	}

	HashTable& operator=(HashTable&& source) noexcept
	{
		if (this != &source) {
			HashTable taken(std::move(source));
			Swap(taken);
		}
		return *this;
	}

	~HashTable() override = default;

	// Object
	const ClassInfo* Get_ClassInfo() const override { return &classInfo; }
	HashTable* Clone() const override { return new HashTable(*this); }
	ErrCode Read(IChannel& channel) override;
	ErrCode Write(OChannel& channel) const override;
	ErrCode Print(OChannel& channel) const override;
	ErrCode Dump(OChannel& channel) const override;
	bool CheckState() const override;

	// Container
	// A hash table cannot take values without keys: raises RunTimeErrorException.
	void Assign(const Container<Value>& source) override;
	void Clear() override
	{
		hashListTable.Clear();
		hashEntryTable.Clear();
		seekWeightSum = 0;
	}
	UIndex GetSize() const override { return hashEntryTable.GetSize(); }
	bool IsEmpty() const override { return hashEntryTable.GetSize() == 0; }
	ConstForwardIterator<Value> Begin() const override { return begin(); }
	ConstForwardIterator<Value> End() const override { return end(); }

	// AssociativeContainer
	void Assign(const Base& source) override;
	bool Get(const Key& key, Value* value) const override
	{
		const HashEntry* entry = Find(key);
		if (entry != nullptr && value != nullptr)
			*value = entry->value;
		return entry != nullptr;
	}
	Value& operator[](const Key& key) override
	{
		HashEntry* entry = Find(key);
		if (entry == nullptr)
			throw IllegalReferenceException(HashTableSourceName, HashTableMissingKeyLine);
		return entry->value;
	}
	const Value& operator[](const Key& key) const override
	{
		const HashEntry* entry = Find(key);
		if (entry == nullptr)
			throw IllegalReferenceException(HashTableSourceName, HashTableConstMissingKeyLine);
		return entry->value;
	}
	bool Add(const Key& key, const Value& value) override { return Insert(key, value); }
	void Put(const Key& key, const Value& value) override
	{
		if (HashEntry* entry = Find(key))
			entry->value = value;
		else
			Insert(key, value);
	}
	bool Delete(const Key& key) override;
	bool ContainsKey(const Key& key) const override { return Find(key) != nullptr; }
	ForwardIterator<Value> Begin() override { return begin(); }
	ForwardIterator<Value> End() override { return end(); }
	ConstForwardIterator<ConstAssoc> BeginPairs() const override { return ConstPairIterator(*this, 0); }
	ForwardIterator<Assoc> BeginPairs() override { return PairIterator(*this, 0); }
	ConstForwardIterator<ConstAssoc> EndPairs() const override { return ConstPairIterator(*this, GetSize()); }
	ForwardIterator<Assoc> EndPairs() override { return PairIterator(*this, GetSize()); }

	// Exchanges the contents, the limits and the statistics of two tables.
	virtual void Swap(HashTable& other) noexcept
	{
		hashListTable.Swap(other.hashListTable);
		hashEntryTable.Swap(other.hashEntryTable);
		std::swap(averageSeekFactorLimit, other.averageSeekFactorLimit);
		std::swap(minFillFactor, other.minFillFactor);
		std::swap(seekWeightSum, other.seekWeightSum);
		std::swap(optimizeSeekOrder, other.optimizeSeekOrder);
	}

	// The stored value, or null when absent. Valid until the next Delete, Clear or Swap.
	Value* GetPtr(const Key& key)
	{
		HashEntry* entry = Find(key);
		return entry != nullptr ? &entry->value : nullptr;
	}
	const Value* GetPtr(const Key& key) const
	{
		const HashEntry* entry = Find(key);
		return entry != nullptr ? &entry->value : nullptr;
	}

	// Value iteration in storage order without virtual calls, and pair ranges for range-for.
	ConstIterator begin() const { return ConstIterator(*this, 0); }
	ConstIterator end() const { return ConstIterator(*this, GetSize()); }
	Iterator begin() { return Iterator(*this, 0); }
	Iterator end() { return Iterator(*this, GetSize()); }
	IteratorRange<ConstPairIterator> Pairs() const
	{
		return {ConstPairIterator(*this, 0), ConstPairIterator(*this, GetSize())};
	}
	IteratorRange<PairIterator> Pairs() { return {PairIterator(*this, 0), PairIterator(*this, GetSize())}; }

	// Storage positions 0 to size − 1, for the iterator states.
	const Key& GetKeyAt(UIndex position) const { return hashEntryTable[position].key; }
	const Value& GetValueAt(UIndex position) const { return hashEntryTable[position].value; }
	Value& GetValueAt(UIndex position) { return hashEntryTable[position].value; }

	// Statistics.
	UIndex GetCapacity() const { return hashListTable.GetSize(); }
	std::uint32_t GetSeekWeightSum() const { return seekWeightSum; }
	float GetAverageSeekFactorLimit() const { return averageSeekFactorLimit; }
	float GetMinFillFactor() const { return minFillFactor; }
	double GetFillFactor() const { return GetCapacity() == 0 ? 0.0 : static_cast<double>(GetSize()) / GetCapacity(); }
	double GetAverageSeekFactor() const
	{
		return GetSize() == 0 ? 0.0 : static_cast<double>(seekWeightSum) / GetSize();
	}
	UIndex GetMaximumSeekFactor() const;
	UIndex GetEmptyListCount() const;
	bool GetOptimizeSeekOrder() const { return optimizeSeekOrder; }
	void SetOptimizeSeekOrder(bool moveFoundToHead) { optimizeSeekOrder = moveFoundToHead; }

private:
	friend struct HashTableTestAccess;

	HashEntry* Find(const Key& key) const;
	template <class ValueArgument>
	bool Insert(const Key& key, ValueArgument&& value);
	void Rehash(UIndex newCapacity);
	// Growth and shrink only make searches cheaper or save memory: when their allocation
	// fails the table stays as it is, sound, and the operation that triggered them stands.
	void RehashIfPossible(UIndex newCapacity)
	{
		try {
			Rehash(newCapacity);
		} catch (const std::bad_alloc&) {
		}
	}
	void AddAllOf(const HashTable& source)
	{
		for (UIndex position = 0; position < source.GetSize(); ++position) {
			const HashEntry& entry = source.hashEntryTable[position];
			Insert(entry.key, entry.value);
		}
	}
	std::uint32_t BucketOf(const Key& key, UIndex capacity) const { return Traits::Hash(key) % capacity; }
	static std::uint64_t ChainWeight(std::uint64_t length) { return length * (length + 1) / 2; }

	mutable Array<HashEntry*> hashListTable;
	PagedArray<HashEntry> hashEntryTable;
	float averageSeekFactorLimit;
	float minFillFactor;
	std::uint32_t seekWeightSum = 0;
	bool optimizeSeekOrder = false;
};

template <class Key, class Value>
typename HashTable<Key, Value>::HashEntry* HashTable<Key, Value>::Find(const Key& key) const
{
	const UIndex capacity = hashListTable.GetSize();
	if (capacity == 0)
		return nullptr;
	HashEntry*& head = hashListTable[BucketOf(key, capacity)];
	HashEntry* previous = nullptr;
	for (HashEntry* entry = head; entry != nullptr; previous = entry, entry = entry->next) {
		if (Traits::Equal(entry->key, key)) {
			if (optimizeSeekOrder && previous != nullptr) {
				previous->next = entry->next;
				entry->next = head;
				head = entry;
			}
			return entry;
		}
	}
	return nullptr;
}

template <class Key, class Value>
template <class ValueArgument>
bool HashTable<Key, Value>::Insert(const Key& key, ValueArgument&& value)
{
	if (hashListTable.GetSize() == 0)
		Rehash(HashTablePrivate::GetNextCapacity(hashEntryTable.GetPageSize()));
	const UIndex capacity = hashListTable.GetSize();
	HashEntry*& head = hashListTable[BucketOf(key, capacity)];
	std::uint32_t length = 0;
	for (const HashEntry* entry = head; entry != nullptr; entry = entry->next, ++length)
		if (Traits::Equal(entry->key, key))
			return false;
	HashEntry& entry = hashEntryTable.Emplace(key, std::forward<ValueArgument>(value), head);
	head = &entry;
	// The new entry takes position 1 and every other entry of the chain moves back one.
	seekWeightSum += length + 1;
	if (GetFillFactor() >= minFillFactor && GetAverageSeekFactor() > averageSeekFactorLimit) {
		// At the top of the sequence there is no larger step to take.
		UIndex next = HashTablePrivate::GetNextCapacity(capacity);
		if (next > capacity)
			RehashIfPossible(next);
	}
	return true;
}

template <class Key, class Value>
bool HashTable<Key, Value>::Delete(const Key& key)
{
	const UIndex capacity = hashListTable.GetSize();
	if (capacity == 0)
		return false;
	const std::uint32_t bucket = BucketOf(key, capacity);
	HashEntry** link = &hashListTable[bucket];
	while (*link != nullptr && !Traits::Equal((*link)->key, key))
		link = &(*link)->next;
	HashEntry* entry = *link;
	if (entry == nullptr)
		return false;
	*link = entry->next;
	std::uint32_t remaining = 0;
	for (const HashEntry* chained = hashListTable[bucket]; chained != nullptr; chained = chained->next)
		++remaining;
	seekWeightSum -= remaining + 1;

	const UIndex count = GetSize();
	HashEntry* last = &hashEntryTable[count - 1];
	if (entry != last) {
		HashEntry** lastLink = &hashListTable[BucketOf(last->key, capacity)];
		while (*lastLink != last)
			lastLink = &(*lastLink)->next;
		entry->key = std::move(last->key);
		entry->value = std::move(last->value);
		entry->next = last->next;
		*lastLink = entry;
	}
	hashEntryTable.SetSize(count - 1);

	if (GetFillFactor() <= static_cast<double>(minFillFactor) * 0.25) {
		// With a large minimum fill factor even one bucket can look sparse; entries that remain
		// always keep at least one.
		UIndex previous = HashTablePrivate::GetPreviousCapacity(capacity);
		if (count - 1 == 0)
			RehashIfPossible(0);
		else if (previous > 0)
			RehashIfPossible(previous);
	}
	return true;
}

// Links every entry, in storage order, at the head of its new bucket, so later entries come
// first within a chain; then recounts the search costs.
template <class Key, class Value>
void HashTable<Key, Value>::Rehash(UIndex newCapacity)
{
	hashListTable.SetSize(newCapacity);
	hashListTable.Fill(nullptr);
	if (newCapacity == 0) {
		seekWeightSum = 0;
		return;
	}
	HashEntry** heads = hashListTable.GetContent();
	const UIndex count = GetSize();
	for (UIndex position = 0; position < count; ++position) {
		HashEntry& entry = hashEntryTable[position];
		HashEntry*& head = heads[BucketOf(entry.key, newCapacity)];
		entry.next = head;
		head = &entry;
	}
	std::uint64_t weight = 0;
	for (UIndex bucket = 0; bucket < newCapacity; ++bucket) {
		std::uint64_t length = 0;
		for (const HashEntry* entry = heads[bucket]; entry != nullptr; entry = entry->next)
			++length;
		weight += ChainWeight(length);
	}
	seekWeightSum = static_cast<std::uint32_t>(weight);
}

template <class Key, class Value>
void HashTable<Key, Value>::Assign(const Container<Value>&)
{
	throw RunTimeErrorException(HashTableSourceName, HashTableAssignWithoutKeysLine);
}

template <class Key, class Value>
void HashTable<Key, Value>::Assign(const Base& source)
{
	if (&source == this)
		return;
	if (auto* table = dynamic_cast<const HashTable*>(&source)) {
		Clear();
		AddAllOf(*table);
		return;
	}
	Clear();
	for (auto it = source.BeginPairs(), last = source.EndPairs(); it != last; ++it)
		Insert(it->GetKey(), it->GetValue());
}

template <class Key, class Value>
UIndex HashTable<Key, Value>::GetMaximumSeekFactor() const
{
	UIndex longest = 0;
	for (UIndex bucket = 0; bucket < hashListTable.GetSize(); ++bucket) {
		UIndex length = 0;
		for (const HashEntry* entry = hashListTable[bucket]; entry != nullptr; entry = entry->next)
			++length;
		longest = std::max(longest, length);
	}
	return longest;
}

template <class Key, class Value>
UIndex HashTable<Key, Value>::GetEmptyListCount() const
{
	UIndex empty = 0;
	for (UIndex bucket = 0; bucket < hashListTable.GetSize(); ++bucket)
		if (hashListTable[bucket] == nullptr)
			++empty;
	return empty;
}

// Beyond its own counts, the check proves that chains and storage match one to one: every
// chained entry sits in its key's bucket, no chain loops, and every stored entry is found
// in its bucket's chain.
template <class Key, class Value>
bool HashTable<Key, Value>::CheckState() const
{
	if (!hashListTable.CheckState() || !hashEntryTable.CheckState())
		return false;
	const UIndex count = GetSize();
	const UIndex capacity = GetCapacity();
	if (count > seekWeightSum && !(count == 0 && seekWeightSum == 0))
		return false;
	if (capacity == 0)
		return count == 0 && seekWeightSum == 0;
	std::uint64_t reachable = 0;
	std::uint64_t weight = 0;
	for (UIndex bucket = 0; bucket < capacity; ++bucket) {
		std::uint64_t length = 0;
		for (const HashEntry* entry = hashListTable[bucket]; entry != nullptr; entry = entry->next) {
			if (++reachable > count || BucketOf(entry->key, capacity) != bucket)
				return false;
			++length;
		}
		weight += ChainWeight(length);
	}
	if (reachable != count || static_cast<std::uint32_t>(weight) != seekWeightSum)
		return false;
	for (UIndex position = 0; position < count; ++position) {
		const HashEntry* stored = &hashEntryTable[position];
		const HashEntry* entry = hashListTable[BucketOf(stored->key, capacity)];
		while (entry != nullptr && entry != stored)
			entry = entry->next;
		if (entry == nullptr)
			return false;
	}
	return true;
}

template <class Key, class Value>
ErrCode HashTable<Key, Value>::Print(OChannel& channel) const
{
	channel << "HashTable size: " << GetSize() << '\n' << "---------------------\n";
	for (UIndex position = 0; position < GetSize(); ++position) {
		const HashEntry& entry = hashEntryTable[position];
		channel.WriteFormatted("[%04lu]  ", static_cast<unsigned long>(position));
		PrintElement(channel, entry.key);
		channel << "  =>  ";
		PrintElement(channel, entry.value);
		channel << '\n';
	}
	channel << '\n';
	channel << "Average seek factor: " << GetAverageSeekFactor() << '\n';
	channel << "Maximum seek factor: " << GetMaximumSeekFactor() << '\n';
	channel << "Fill factor:         " << GetFillFactor() << '\n';
	channel << "List count:          " << GetCapacity() << '\n';
	channel << "Empty list count:    " << GetEmptyListCount() << '\n';
	return NoError;
}

// The two arrays are written with their own Dump right after their labels.
template <class Key, class Value>
ErrCode HashTable<Key, Value>::Dump(OChannel& channel) const
{
	channel << "hashListTable:          ";
	hashListTable.Dump(channel);
	channel << '\n';
	channel << "hashEntryTable:         ";
	hashEntryTable.Dump(channel);
	channel << '\n';
	channel << "averageSeekFactorLimit: " << averageSeekFactorLimit << '\n';
	channel << "minFillFactor:          " << minFillFactor << '\n';
	channel << "seekWeightSum:          " << seekWeightSum << '\n';
	channel << "optimizeSeekOrder:      " << optimizeSeekOrder << '\n';
	return NoError;
}

// Binary form: the frame, the two limits, the count, then the pairs in storage order.
template <class Key, class Value>
ErrCode HashTable<Key, Value>::Write(OChannel& channel) const
{
	if constexpr (!HasBinaryForm) {
		(void) channel;
		return ErrorNotSupported;
	} else {
		OutputFrame frame(channel, classInfo);
		channel.PutFloat(averageSeekFactorLimit);
		channel.PutFloat(minFillFactor);
		channel.PutUInt32(GetSize());
		for (UIndex position = 0; position < GetSize(); ++position) {
			const HashEntry& entry = hashEntryTable[position];
			if (ErrCode status = ElementSerializer<Key>::Write(channel, entry.key); status != NoError)
				return status;
			if (ErrCode status = ElementSerializer<Value>::Write(channel, entry.value); status != NoError)
				return status;
		}
		return NoError;
	}
}

// Reads into a fresh table and takes it over only when every pair was read and no key came
// twice; otherwise the table is left as it was.
template <class Key, class Value>
ErrCode HashTable<Key, Value>::Read(IChannel& channel)
{
	constexpr bool readable =
		HasBinaryForm && std::is_default_constructible_v<Key> && std::is_default_constructible_v<Value>;
	if constexpr (!readable) {
		(void) channel;
		return ErrorNotSupported;
	} else {
		InputFrame frame(channel, classInfo);
		if (frame.GetStatus() != NoError)
			return frame.GetStatus();
		float limit = 0.0f;
		float fill = 0.0f;
		std::uint32_t count = 0;
		if (channel.GetFloat(limit) != NoError || channel.GetFloat(fill) != NoError ||
			channel.GetUInt32(count) != NoError)
			return channel.GetStatus();
		HashTable result(limit, fill);
		result.optimizeSeekOrder = optimizeSeekOrder;
		for (std::uint32_t index = 0; index < count; ++index) {
			Key key {};
			Value value {};
			if (ErrCode status = ElementSerializer<Key>::Read(channel, key); status != NoError)
				return status;
			if (ErrCode status = ElementSerializer<Value>::Read(channel, value); status != NoError)
				return status;
			if (!result.Insert(key, std::move(value)))
				return ErrorFormat;
		}
		Swap(result);
		return NoError;
	}
}

} // namespace VX
