// VX::PagedArray: a random-access container whose elements live in fixed-size pages that
// never move. Pages are allocated in blocks of one or more consecutive pages, their count
// growing by the allocation strategy ("Constant": 1, 1, 1...; "Linear": 1, 2, 3...;
// "Exponential": 1, 2, 4...), and the last block is released only when the size falls to
// what the blocks before the last two hold, so pushes and pops at a block boundary do not
// allocate each time. Pointers to elements stay valid while the array grows, which is what
// lets hash table chains link entries by address.
#pragma once

#include "VXRoot/Allocation.hpp"
#include "VXRoot/Container.hpp"
#include "VXRoot/ElementChannels.hpp"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <new>
#include <type_traits>
#include <utility>

namespace VX {

enum class AllocationStrategy : std::uint8_t { Constant = 0, Linear = 1, Exponential = 2 };

struct PagedArrayTestAccess;

namespace PagedArrayDetail {

inline constexpr std::uint32_t MaxPageSize = 65536;

// The strategy's page size when none is given.
constexpr std::uint32_t DefaultPageSize(AllocationStrategy strategy)
{
	switch (strategy) {
	case AllocationStrategy::Constant: return 128;
	case AllocationStrategy::Linear: return 32;
	case AllocationStrategy::Exponential: return 16;
	}
	return 32;
}

constexpr bool IsKnownStrategy(AllocationStrategy strategy)
{
	return strategy == AllocationStrategy::Constant || strategy == AllocationStrategy::Linear ||
		strategy == AllocationStrategy::Exponential;
}

// ⌈log2 pageSize⌉ for 1 ≤ pageSize ≤ 65536.
constexpr std::uint8_t CeilLog2(std::uint32_t pageSize)
{
	std::uint8_t log2 = 0;
	while ((std::uint32_t {1} << log2) < pageSize)
		++log2;
	return log2;
}

constexpr std::uint64_t NextBlock(AllocationStrategy strategy, std::uint64_t block)
{
	switch (strategy) {
	case AllocationStrategy::Constant: return 1;
	case AllocationStrategy::Exponential: return block == 0 ? 1 : 2 * block;
	case AllocationStrategy::Linear: break;
	}
	return block + 1;
}

constexpr std::uint64_t PreviousBlock(AllocationStrategy strategy, std::uint64_t block)
{
	switch (strategy) {
	case AllocationStrategy::Constant: return 1;
	case AllocationStrategy::Exponential: return block / 2;
	case AllocationStrategy::Linear: break;
	}
	return block == 0 ? 0 : block - 1;
}

inline const char* StrategyName(AllocationStrategy strategy)
{
	switch (strategy) {
	case AllocationStrategy::Constant: return "Constant";
	case AllocationStrategy::Exponential: return "Exponential";
	case AllocationStrategy::Linear: break;
	}
	return "Linear";
}

} // namespace PagedArrayDetail

template <class T>
class PagedArray final : public RandomContainer<T> {
public:
	using ConstIterator = ConstForwardIteratorBase<PagedArray, ValueIteratorState, T>;
	using Iterator = ForwardIteratorBase<PagedArray, ValueIteratorState, T>;

	static constexpr bool HasBinaryForm = SerializableElement<T>;
	static inline const ClassInfo classInfo {"VX::PagedArray", 1, 0};

	// A page size of 0 takes the strategy's default (128, 32 or 16); sizes above 65536 are
	// cut to 65536, and every size is rounded up to a power of two. An unknown strategy
	// works as "Linear". Nothing is allocated yet.
	explicit PagedArray(std::uint32_t pageSize = 0, AllocationStrategy strategy = AllocationStrategy::Linear)
	{
		if (!PagedArrayDetail::IsKnownStrategy(strategy))
			strategy = AllocationStrategy::Linear;
		if (pageSize == 0)
			pageSize = PagedArrayDetail::DefaultPageSize(strategy);
		pageSize = std::min(pageSize, PagedArrayDetail::MaxPageSize);
		allocationStrategy = strategy;
		log2PageSize = PagedArrayDetail::CeilLog2(pageSize);
		offsetMask = static_cast<std::uint16_t>((std::uint32_t {1} << log2PageSize) - 1);
	}

	PagedArray(const PagedArray& source)
		: RandomContainer<T>(source), allocationStrategy(source.allocationStrategy), log2PageSize(source.log2PageSize),
		  offsetMask(source.offsetMask)
	{
		CopyFrom(source);
	}

	PagedArray(PagedArray&& source) noexcept
		: RandomContainer<T>(source), allocationStrategy(source.allocationStrategy), log2PageSize(source.log2PageSize),
		  offsetMask(source.offsetMask)
	{
		Swap(source);
	}

	// Keeps this array's page size and strategy; takes the source's elements.
	PagedArray& operator=(const PagedArray& source)
	{
		if (this != &source)
			CopyFrom(source);
		return *this;
	}

	PagedArray& operator=(PagedArray&& source) noexcept
	{
		if (this != &source) {
			PagedArray taken(std::move(source));
			Swap(taken);
		}
		return *this;
	}

	~PagedArray() override { Clear(); }

	// Object
	const ClassInfo* Get_ClassInfo() const override { return &classInfo; }
	PagedArray* Clone() const override { return new PagedArray(*this); }
	ErrCode Read(IChannel& channel) override;
	ErrCode Write(OChannel& channel) const override;
	ErrCode Print(OChannel& channel) const override;
	ErrCode Dump(OChannel& channel) const override;
	bool CheckState() const override;

	// Container
	void Assign(const Container<T>& source) override;
	void Clear() override;
	UIndex GetSize() const override { return size; }
	bool IsEmpty() const override { return size == 0; }
	ConstForwardIterator<T> Begin() const override { return begin(); }
	ConstForwardIterator<T> End() const override { return end(); }

	// RandomContainer
	T& operator[](UIndex index) override { return pageTable[index >> log2PageSize][index & offsetMask]; }
	const T& operator[](UIndex index) const override { return pageTable[index >> log2PageSize][index & offsetMask]; }
	// Growing value-initialises the new elements; shrinking destroys the cut ones and, at or
	// below deallocationCapacity, releases blocks.
	void SetSize(UIndex newSize) override;
	ForwardIterator<T> Begin() override { return begin(); }
	ForwardIterator<T> End() override { return end(); }

	// Copies the element to the end.
	void Push(const T& element) { Emplace(element); }
	// Builds a new element at the end from the arguments.
	template <class... Arguments>
	T& Emplace(Arguments&&... arguments);
	// Makes room for at least `count` elements without changing the size.
	void Reserve(UIndex count);
	void Swap(PagedArray& other) noexcept;

	ConstIterator begin() const { return ConstIterator(*this, 0); }
	ConstIterator end() const { return ConstIterator(*this, size); }
	Iterator begin() { return Iterator(*this, 0); }
	Iterator end() { return Iterator(*this, size); }

	// For the iterator states.
	const T& GetValueAt(UIndex index) const { return (*this)[index]; }
	T& GetValueAt(UIndex index) { return (*this)[index]; }

	UIndex GetCapacity() const { return capacity; }
	UIndex GetDeallocationCapacity() const { return deallocationCapacity; }
	UIndex GetPageTableCapacity() const { return pageTableCapacity; }
	std::uint32_t GetPageSize() const { return std::uint32_t {1} << log2PageSize; }
	std::uint8_t GetLog2PageSize() const { return log2PageSize; }
	std::uint16_t GetOffsetMask() const { return offsetMask; }
	AllocationStrategy GetAllocationStrategy() const { return allocationStrategy; }

private:
	friend struct PagedArrayTestAccess;

	std::uint64_t PageCount() const { return capacity >> log2PageSize; }
	std::size_t BlockBytes(std::uint64_t pages) const
	{
		return StorageBytes(static_cast<std::size_t>(pages << log2PageSize), sizeof(T));
	}
	std::uint64_t LastBlock() const;
	void SetCapacity(std::uint64_t pages, std::uint64_t lastBlock);
	void SetPageTableCapacity(std::uint64_t slots);
	void ReleaseBlocksDownTo(UIndex keptSize);
	void DestroyFrom(UIndex first);
	void CopyFrom(const PagedArray& source);

	T** pageTable = nullptr;
	std::uint32_t pageTableCapacity = 0;
	AllocationStrategy allocationStrategy = AllocationStrategy::Linear;
	std::uint8_t log2PageSize = 0;
	std::uint16_t offsetMask = 0;
	std::uint32_t capacity = 0;
	std::uint32_t deallocationCapacity = 0;
	std::uint32_t size = 0;
};

// The size in pages of the last allocated block. "Linear" reads it back from the two
// capacities (the last two blocks b and b − 1 span 2b − 1 pages). "Exponential" always holds
// the blocks 1, 2, ..., 2^(k−1), 2^k − 1 pages in all, so its last block is (pages + 1) / 2;
// the "Linear" formula would give 3 instead of 4 from the third block on.
template <class T>
std::uint64_t PagedArray<T>::LastBlock() const
{
	std::uint64_t pages = PageCount();
	if (pages == 0)
		return 0;
	switch (allocationStrategy) {
	case AllocationStrategy::Constant: return 1;
	case AllocationStrategy::Exponential: return (pages + 1) / 2;
	case AllocationStrategy::Linear: break;
	}
	return ((capacity - deallocationCapacity) / GetPageSize() + 1) / 2;
}

template <class T>
void PagedArray<T>::SetCapacity(std::uint64_t pages, std::uint64_t lastBlock)
{
	std::uint64_t lastTwo = lastBlock + PagedArrayDetail::PreviousBlock(allocationStrategy, lastBlock);
	if (pages == 0)
		lastTwo = 0;
	capacity = static_cast<std::uint32_t>(pages << log2PageSize);
	deallocationCapacity = pages > lastTwo ? static_cast<std::uint32_t>((pages - lastTwo) << log2PageSize) : 0;
}

// Moves the page pointers into a table of `slots` slots (none frees the table).
template <class T>
void PagedArray<T>::SetPageTableCapacity(std::uint64_t slots)
{
	T** table = nullptr;
	if (slots != 0) {
		table = static_cast<T**>(AllocateStorage(StorageBytes(static_cast<std::size_t>(slots), sizeof(T*))));
		std::uint64_t kept = std::min<std::uint64_t>(slots, pageTableCapacity);
		std::fill(std::copy(pageTable, pageTable + kept, table), table + slots, nullptr);
	}
	FreeStorage(pageTable, static_cast<std::size_t>(pageTableCapacity) * sizeof(T*));
	pageTable = table;
	pageTableCapacity = static_cast<std::uint32_t>(slots);
}

template <class T>
void PagedArray<T>::Reserve(UIndex count)
{
	if (count <= capacity)
		return;
	const std::uint64_t pageSize = GetPageSize();
	const std::uint64_t neededPages = (std::uint64_t {count} + pageSize - 1) / pageSize;
	// Plan first, so that a request the 32-bit capacity cannot hold changes nothing.
	std::uint64_t lastBlock = LastBlock();
	std::uint64_t plannedPages = PageCount();
	std::uint64_t block = lastBlock;
	while (plannedPages < neededPages) {
		block = PagedArrayDetail::NextBlock(allocationStrategy, block);
		plannedPages += block;
	}
	if ((plannedPages << log2PageSize) > std::numeric_limits<std::uint32_t>::max())
		throw std::bad_alloc();

	if (plannedPages > pageTableCapacity)
		SetPageTableCapacity(std::max<std::uint64_t>(2 * std::uint64_t {pageTableCapacity}, plannedPages));

	// Each block is entered as soon as it exists, so a failing allocation leaves a sound array.
	std::uint64_t pages = PageCount();
	while (pages < neededPages) {
		lastBlock = PagedArrayDetail::NextBlock(allocationStrategy, lastBlock);
		T* storage = static_cast<T*>(AllocateStorage(BlockBytes(lastBlock)));
		for (std::uint64_t page = 0; page < lastBlock; ++page)
			pageTable[pages + page] = storage + (page << log2PageSize);
		pages += lastBlock;
		SetCapacity(pages, lastBlock);
	}
}

template <class T>
template <class... Arguments>
T& PagedArray<T>::Emplace(Arguments&&... arguments)
{
	if (size == capacity) {
		if (size == std::numeric_limits<std::uint32_t>::max())
			throw std::bad_alloc();
		Reserve(size + 1);
	}
	T* slot = &(*this)[size];
	::new (static_cast<void*>(slot)) T(std::forward<Arguments>(arguments)...);
	++size;
	return *slot;
}

template <class T>
void PagedArray<T>::DestroyFrom(UIndex first)
{
	if constexpr (!std::is_trivially_destructible_v<T>) {
		while (size > first) {
			--size;
			(*this)[size].~T();
		}
	}
	size = std::min(size, first);
}

// Frees blocks from the last one backwards while the remaining pages still hold keptSize
// elements; then fits the page table to the remaining pages.
template <class T>
void PagedArray<T>::ReleaseBlocksDownTo(UIndex keptSize)
{
	std::uint64_t pages = PageCount();
	std::uint64_t lastBlock = LastBlock();
	while (pages > 0 && lastBlock > 0 && lastBlock <= pages && ((pages - lastBlock) << log2PageSize) >= keptSize) {
		pages -= lastBlock;
		FreeStorage(pageTable[pages], BlockBytes(lastBlock));
		std::fill(pageTable + pages, pageTable + pages + lastBlock, nullptr);
		lastBlock = PagedArrayDetail::PreviousBlock(allocationStrategy, lastBlock);
	}
	SetCapacity(pages, lastBlock);

	std::uint64_t slots = pageTableCapacity;
	if (allocationStrategy == AllocationStrategy::Constant) {
		if (pages <= pageTableCapacity / 4)
			slots = 2 * pages;
	} else if (pages < pageTableCapacity) {
		slots = pages;
	}
	if (slots != pageTableCapacity) {
		try {
			SetPageTableCapacity(slots);
		} catch (const std::bad_alloc&) {
			// A smaller table only saves memory; keeping the larger one is always sound.
		}
	}
}

template <class T>
void PagedArray<T>::SetSize(UIndex newSize)
{
	if (newSize > size) {
		Reserve(newSize);
		while (size < newSize) {
			::new (static_cast<void*>(&(*this)[size])) T();
			++size;
		}
	} else if (newSize < size) {
		DestroyFrom(newSize);
		if (newSize <= deallocationCapacity)
			ReleaseBlocksDownTo(newSize);
	}
}

template <class T>
void PagedArray<T>::Clear()
{
	DestroyFrom(0);
	ReleaseBlocksDownTo(0);
	SetPageTableCapacity(0);
	capacity = 0;
	deallocationCapacity = 0;
}

template <class T>
void PagedArray<T>::CopyFrom(const PagedArray& source)
{
	Clear();
	Reserve(source.size);
	for (UIndex index = 0; index < source.size; ++index)
		Push(source[index]);
}

template <class T>
void PagedArray<T>::Assign(const Container<T>& source)
{
	if (&source == this)
		return;
	if (auto* paged = dynamic_cast<const PagedArray*>(&source)) {
		CopyFrom(*paged);
		return;
	}
	Clear();
	Reserve(source.GetSize());
	for (auto it = source.Begin(), last = source.End(); it != last; ++it)
		Push(*it);
}

template <class T>
void PagedArray<T>::Swap(PagedArray& other) noexcept
{
	std::swap(pageTable, other.pageTable);
	std::swap(pageTableCapacity, other.pageTableCapacity);
	std::swap(allocationStrategy, other.allocationStrategy);
	std::swap(log2PageSize, other.log2PageSize);
	std::swap(offsetMask, other.offsetMask);
	std::swap(capacity, other.capacity);
	std::swap(deallocationCapacity, other.deallocationCapacity);
	std::swap(size, other.size);
}

template <class T>
bool PagedArray<T>::CheckState() const
{
	if (!PagedArrayDetail::IsKnownStrategy(allocationStrategy) || log2PageSize > 16 ||
		offsetMask != (std::uint32_t {1} << log2PageSize) - 1)
		return false;
	if ((capacity & offsetMask) != 0 || size > capacity || (pageTable == nullptr) != (pageTableCapacity == 0))
		return false;
	const std::uint64_t pages = PageCount();
	if (pages > pageTableCapacity)
		return false;
	for (std::uint64_t slot = 0; slot < pageTableCapacity; ++slot)
		if ((pageTable[slot] != nullptr) != (slot < pages))
			return false;
	// The pages must form the strategy's blocks, each block contiguous.
	std::uint64_t remaining = pages;
	std::uint64_t block = LastBlock();
	while (remaining > 0) {
		if (block == 0 || block > remaining)
			return false;
		for (std::uint64_t page = remaining - block + 1; page < remaining; ++page)
			if (pageTable[page] != pageTable[page - 1] + GetPageSize())
				return false;
		remaining -= block;
		block = PagedArrayDetail::PreviousBlock(allocationStrategy, block);
	}
	std::uint64_t lastTwo =
		pages == 0 ? 0 : LastBlock() + PagedArrayDetail::PreviousBlock(allocationStrategy, LastBlock());
	std::uint64_t expected = pages > lastTwo ? (pages - lastTwo) << log2PageSize : 0;
	return deallocationCapacity == expected;
}

template <class T>
ErrCode PagedArray<T>::Print(OChannel& channel) const
{
	channel << "Container size: " << size << '\n' << "---------------------\n";
	for (UIndex index = 0; index < size; ++index) {
		channel.WriteFormatted("[%04lu]  ", static_cast<unsigned long>(index));
		PrintElement(channel, (*this)[index]);
		channel << '\n';
	}
	return NoError;
}

template <class T>
ErrCode PagedArray<T>::Dump(OChannel& channel) const
{
	channel << "pageTable:            " << static_cast<const void*>(pageTable) << '\n';
	channel << "pageTableCapacity:    " << pageTableCapacity << '\n';
	channel << "allocationStrategy:   " << PagedArrayDetail::StrategyName(allocationStrategy) << '\n';
	channel << "log2PageSize:         " << static_cast<unsigned int>(log2PageSize) << '\n';
	channel << "offsetMask:           " << static_cast<unsigned int>(offsetMask) << '\n';
	channel << "capacity:             " << capacity << '\n';
	channel << "deallocationCapacity: " << deallocationCapacity << '\n';
	channel << "size:                 " << size << '\n';
	return NoError;
}

// Binary form: the frame, the size, the elements.
template <class T>
ErrCode PagedArray<T>::Write(OChannel& channel) const
{
	if constexpr (!HasBinaryForm) {
		(void) channel;
		return ErrorNotSupported;
	} else {
		OutputFrame frame(channel, classInfo);
		channel.PutUInt32(size);
		for (UIndex index = 0; index < size; ++index) {
			ErrCode status = ElementSerializer<T>::Write(channel, (*this)[index]);
			if (status != NoError)
				return status;
		}
		return NoError;
	}
}

// Reads into a fresh array and takes it over only when everything was read.
template <class T>
ErrCode PagedArray<T>::Read(IChannel& channel)
{
	if constexpr (!HasBinaryForm || !std::is_default_constructible_v<T>) {
		(void) channel;
		return ErrorNotSupported;
	} else {
		InputFrame frame(channel, classInfo);
		if (frame.GetStatus() != NoError)
			return frame.GetStatus();
		std::uint32_t count = 0;
		if (ErrCode status = channel.GetUInt32(count); status != NoError)
			return status;
		PagedArray result(GetPageSize(), allocationStrategy);
		for (std::uint32_t index = 0; index < count; ++index) {
			T& element = result.Emplace();
			if (ErrCode status = ElementSerializer<T>::Read(channel, element); status != NoError)
				return status;
		}
		Swap(result);
		return NoError;
	}
}

} // namespace VX
