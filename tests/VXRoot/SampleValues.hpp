// Keys and values numbered 0, 1, 2, ... for every key and value type of the module's hash
// tables, so one typed test body runs over all of them.
#pragma once

#include "CountedElement.hpp"

#include "VXRoot/HashTable.hpp"
#include "counting/GuidStr.hpp"
#include "counting/LibRow.hpp"

#include <cstdio>
#include <string>
#include <vector>

template <class T>
struct Sample;

template <>
struct Sample<long> {
	static long Make(int number) { return number * 7L - 3; }
	static bool Same(long a, long b) { return a == b; }
};

template <>
struct Sample<API_ElemTypeID> {
	static API_ElemTypeID Make(int number) { return API_ElemTypeID {number}; }
	static bool Same(API_ElemTypeID a, API_ElemTypeID b) { return a == b; }
};

template <>
struct Sample<GuidStr> {
	static GuidStr Make(int number)
	{
		char text[64];
		std::snprintf(
			text, sizeof text, "{%08X-1FF1-4BE3-9909-%012d}", static_cast<unsigned>(number) * 2654435761u, number);
		return GuidStr(text);
	}
	static bool Same(const GuidStr& a, const GuidStr& b) { return a == b; }
};

template <>
struct Sample<short> {
	static short Make(int number) { return static_cast<short>(number % 30000); }
	static bool Same(short a, short b) { return a == b; }
};

template <>
struct Sample<int> {
	static int Make(int number) { return number * 1000; }
	static bool Same(int a, int b) { return a == b; }
};

template <>
struct Sample<bool> {
	static bool Make(int number) { return number % 3 == 0; }
	static bool Same(bool a, bool b) { return a == b; }
};

template <>
struct Sample<VX::String> {
	static VX::String Make(int number) { return VX::String(std::string("value ") + std::to_string(number)); }
	static bool Same(const VX::String& a, const VX::String& b) { return a == b; }
};

template <>
struct Sample<CountedElement> {
	static CountedElement Make(int number) { return CountedElement(number); }
	static bool Same(const CountedElement& a, const CountedElement& b) { return a == b; }
};

template <>
struct Sample<LibRow> {
	static LibRow Make(int number)
	{
		LibRow row;
		row.name = VX::String(std::string("Part ") + std::to_string(number));
		row.objects = number;
		row.polygons = number * 12;
		row.guid = Sample<GuidStr>::Make(number);
		return row;
	}
	static bool Same(const LibRow& a, const LibRow& b)
	{
		return a.name == b.name && a.objects == b.objects && a.polygons == b.polygons && a.lod == b.lod &&
			a.guid == b.guid && std::equal(a.available, a.available + 5, b.available) && a.lockFlags == b.lockFlags;
	}
};

template <>
struct Sample<std::vector<LibRow>> {
	static std::vector<LibRow> Make(int number)
	{
		return std::vector<LibRow>(static_cast<std::size_t>(number % 3), Sample<LibRow>::Make(number));
	}
	static bool Same(const std::vector<LibRow>& a, const std::vector<LibRow>& b)
	{
		return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), Sample<LibRow>::Same);
	}
};

template <class Value>
struct Sample<VX::HashTable<long, Value>> {
	static VX::HashTable<long, Value> Make(int number)
	{
		VX::HashTable<long, Value> table;
		for (int i = 0; i <= number % 4; ++i)
			table.Add(i, Sample<Value>::Make(number + i));
		return table;
	}
	static bool Same(const VX::HashTable<long, Value>& a, const VX::HashTable<long, Value>& b)
	{
		if (a.GetSize() != b.GetSize())
			return false;
		for (auto pair : a.Pairs()) {
			const Value* other = b.GetPtr(pair.GetKey());
			if (other == nullptr || !Sample<Value>::Same(pair.GetValue(), *other))
				return false;
		}
		return true;
	}
};
