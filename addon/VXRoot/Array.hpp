// VX::Array: a random-access container holding its elements in one contiguous block, used
// for the chain heads of the hash tables. Growing past the capacity reallocates to the
// larger of twice the size and the new size; shrinking to a quarter of the capacity or less
// reallocates to twice the new size.
#pragma once

#include "VXRoot/Allocation.hpp"
#include "VXRoot/Container.hpp"
#include "VXRoot/ElementChannels.hpp"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <new>
#include <type_traits>
#include <utility>

namespace VX {

template <class T>
class Array final : public RandomContainer<T> {
	// Elements of such types are moved as bytes and left unset when the size grows.
	static constexpr bool rawElements = std::is_trivially_copyable_v<T> && std::is_trivially_default_constructible_v<T>;

public:
	using ConstIterator = ConstForwardIteratorBase<Array, ValueIteratorState, T>;
	using Iterator = ForwardIteratorBase<Array, ValueIteratorState, T>;

	static constexpr bool HasBinaryForm = SerializableElement<T>;
	static inline const ClassInfo classInfo {"VX::Array", 1, 0};

	Array() = default;
	Array(const Array& source) : RandomContainer<T>(source) { CopyFrom(source); }
	Array(Array&& source) noexcept : RandomContainer<T>(source) { Swap(source); }
	Array& operator=(const Array& source)
	{
		if (this != &source)
			CopyFrom(source);
		return *this;
	}
	Array& operator=(Array&& source) noexcept
	{
		if (this != &source) {
			Array taken(std::move(source));
			Swap(taken);
		}
		return *this;
	}
	~Array() override { Clear(); }

	// Object
	const ClassInfo* Get_ClassInfo() const override { return &classInfo; }
	Array* Clone() const override { return new Array(*this); }
	ErrCode Read(IChannel& channel) override;
	ErrCode Write(OChannel& channel) const override;
	ErrCode Print(OChannel& channel) const override;
	ErrCode Dump(OChannel& channel) const override;
	bool CheckState() const override { return size <= capacity && (array == nullptr) == (capacity == 0); }

	// Container
	void Assign(const Container<T>& source) override;
	void Clear() override
	{
		DestroyFrom(0);
		Reallocate(0);
	}
	UIndex GetSize() const override { return size; }
	bool IsEmpty() const override { return size == 0; }
	ConstForwardIterator<T> Begin() const override { return begin(); }
	ConstForwardIterator<T> End() const override { return end(); }

	// RandomContainer
	T& operator[](UIndex index) override { return array[index]; }
	const T& operator[](UIndex index) const override { return array[index]; }
	// New elements of plain types are left unset; other types are value-initialised.
	void SetSize(UIndex newSize) override;
	ForwardIterator<T> Begin() override { return begin(); }
	ForwardIterator<T> End() override { return end(); }

	// Sets `count` elements from `first` (all up to the end by default) to value; the range
	// is cut at the size.
	void Fill(const T& value, UIndex first = 0, UIndex count = std::numeric_limits<UIndex>::max())
	{
		if (first >= size)
			return;
		UIndex last = count >= size - first ? size : first + count;
		std::fill(array + first, array + last, value);
	}
	void Swap(Array& other) noexcept
	{
		std::swap(array, other.array);
		std::swap(capacity, other.capacity);
		std::swap(size, other.size);
	}

	ConstIterator begin() const { return ConstIterator(*this, 0); }
	ConstIterator end() const { return ConstIterator(*this, size); }
	Iterator begin() { return Iterator(*this, 0); }
	Iterator end() { return Iterator(*this, size); }

	const T& GetValueAt(UIndex index) const { return array[index]; }
	T& GetValueAt(UIndex index) { return array[index]; }
	UIndex GetCapacity() const { return capacity; }
	// The elements, contiguous; null while nothing is allocated.
	T* GetContent() { return array; }
	const T* GetContent() const { return array; }

private:
	void Reallocate(std::uint64_t newCapacity);
	void DestroyFrom(UIndex first)
	{
		if constexpr (!std::is_trivially_destructible_v<T>) {
			while (size > first) {
				--size;
				array[size].~T();
			}
		}
		size = std::min(size, first);
	}
	void CopyFrom(const Array& source)
	{
		Clear();
		Reallocate(source.size);
		for (; size < source.size; ++size)
			::new (static_cast<void*>(array + size)) T(source.array[size]);
	}

	T* array = nullptr;
	std::uint32_t capacity = 0;
	std::uint32_t size = 0;
};

// Moves the elements into a block of newCapacity (≥ size) elements; 0 frees the block.
template <class T>
void Array<T>::Reallocate(std::uint64_t newCapacity)
{
	T* block = nullptr;
	if (newCapacity != 0) {
		block = static_cast<T*>(AllocateStorage(StorageBytes(static_cast<std::size_t>(newCapacity), sizeof(T))));
		if constexpr (rawElements) {
			if (size != 0)
				std::memcpy(static_cast<void*>(block), static_cast<const void*>(array), std::size_t {size} * sizeof(T));
		} else {
			UIndex built = 0;
			try {
				for (; built < size; ++built)
					::new (static_cast<void*>(block + built)) T(std::move_if_noexcept(array[built]));
			} catch (...) {
				while (built > 0)
					block[--built].~T();
				FreeStorage(block, StorageBytes(static_cast<std::size_t>(newCapacity), sizeof(T)));
				throw;
			}
			for (UIndex index = 0; index < size; ++index)
				array[index].~T();
		}
	}
	FreeStorage(array, std::size_t {capacity} * sizeof(T));
	array = block;
	capacity = static_cast<std::uint32_t>(newCapacity);
}

template <class T>
void Array<T>::SetSize(UIndex newSize)
{
	if (newSize < size) {
		DestroyFrom(newSize);
		if (newSize <= capacity / 4) {
			try {
				Reallocate(2 * std::uint64_t {newSize});
			} catch (const std::bad_alloc&) {
				// A smaller block only saves memory; keeping the larger one is always sound.
			}
		}
	} else if (newSize > size) {
		if (newSize > capacity)
			Reallocate(std::max<std::uint64_t>(2 * std::uint64_t {size}, newSize));
		if constexpr (rawElements) {
			size = newSize;
		} else {
			for (; size < newSize; ++size)
				::new (static_cast<void*>(array + size)) T();
		}
	}
}

template <class T>
void Array<T>::Assign(const Container<T>& source)
{
	if (&source == this)
		return;
	if (auto* other = dynamic_cast<const Array*>(&source)) {
		CopyFrom(*other);
		return;
	}
	Clear();
	Reallocate(source.GetSize());
	for (auto it = source.Begin(), last = source.End(); it != last && size < capacity; ++it, ++size)
		::new (static_cast<void*>(array + size)) T(*it);
}

template <class T>
ErrCode Array<T>::Print(OChannel& channel) const
{
	channel << "Container size: " << size << '\n' << "---------------------\n";
	for (UIndex index = 0; index < size; ++index) {
		channel.WriteFormatted("[%04lu]  ", static_cast<unsigned long>(index));
		PrintElement(channel, array[index]);
		channel << '\n';
	}
	return NoError;
}

template <class T>
ErrCode Array<T>::Dump(OChannel& channel) const
{
	channel << "array:    " << static_cast<const void*>(array) << '\n';
	channel << "capacity: " << capacity << '\n';
	channel << "size:     " << size << '\n';
	return NoError;
}

template <class T>
ErrCode Array<T>::Write(OChannel& channel) const
{
	if constexpr (!HasBinaryForm) {
		(void) channel;
		return ErrorNotSupported;
	} else {
		OutputFrame frame(channel, classInfo);
		channel.PutUInt32(size);
		for (UIndex index = 0; index < size; ++index)
			if (ErrCode status = ElementSerializer<T>::Write(channel, array[index]); status != NoError)
				return status;
		return NoError;
	}
}

// Reads into a fresh array, growing it as elements arrive, and takes it over only when
// everything was read; a size that foreign data claims is never allocated up front.
template <class T>
ErrCode Array<T>::Read(IChannel& channel)
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
		Array result;
		for (std::uint32_t index = 0; index < count; ++index) {
			T element {};
			if (ErrCode status = ElementSerializer<T>::Read(channel, element); status != NoError)
				return status;
			result.SetSize(index + 1);
			result[index] = std::move(element);
		}
		Swap(result);
		return NoError;
	}
}

} // namespace VX
