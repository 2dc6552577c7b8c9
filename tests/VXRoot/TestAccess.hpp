// Test-only access to the containers' internals: page pointers, chain order and the search
// statistics, read without making any field public.
#pragma once

#include "VXRoot/HashTable.hpp"
#include "VXRoot/PagedArray.hpp"

#include <cstdint>
#include <vector>

namespace VX {

struct PagedArrayTestAccess {
	template <class T>
	static std::vector<const T*> Pages(const PagedArray<T>& array)
	{
		std::vector<const T*> pages;
		for (std::uint32_t page = 0; page < array.capacity >> array.log2PageSize; ++page)
			pages.push_back(array.pageTable[page]);
		return pages;
	}

	// The block sizes in pages, first block first, read from where the page pointers jump.
	template <class T>
	static std::vector<std::uint32_t> ContiguousRuns(const PagedArray<T>& array)
	{
		std::vector<std::uint32_t> runs;
		std::vector<const T*> pages = Pages(array);
		for (std::size_t page = 0; page < pages.size(); ++page) {
			if (page == 0 || pages[page] != pages[page - 1] + array.GetPageSize())
				runs.push_back(0);
			++runs.back();
		}
		return runs;
	}

	template <class T>
	static std::uint64_t LastBlock(const PagedArray<T>& array)
	{
		return array.LastBlock();
	}

	template <class T>
	static void SetDeallocationCapacity(PagedArray<T>& array, std::uint32_t value)
	{
		array.deallocationCapacity = value;
	}
};

struct HashTableTestAccess {
	// The keys of one bucket's chain, head first.
	template <class Key, class Value>
	static std::vector<Key> Chain(const HashTable<Key, Value>& table, std::uint32_t bucket)
	{
		std::vector<Key> keys;
		for (auto* entry = table.hashListTable[bucket]; entry != nullptr; entry = entry->next)
			keys.push_back(entry->key);
		return keys;
	}

	template <class Key, class Value>
	static std::uint32_t BucketOf(const HashTable<Key, Value>& table, const Key& key)
	{
		return table.BucketOf(key, table.GetCapacity());
	}

	template <class Key, class Value>
	static const PagedArray<typename HashTable<Key, Value>::HashEntry>& Entries(const HashTable<Key, Value>& table)
	{
		return table.hashEntryTable;
	}

	template <class Key, class Value>
	static void SetSeekWeightSum(HashTable<Key, Value>& table, std::uint32_t value)
	{
		table.seekWeightSum = value;
	}

	// Breaks one link (for checking that CheckState notices).
	template <class Key, class Value>
	static void UnlinkHead(HashTable<Key, Value>& table, std::uint32_t bucket)
	{
		table.hashListTable[bucket] = table.hashListTable[bucket]->next;
	}
};

} // namespace VX
