// An element type that counts its constructions, copies, moves and destructions, so that
// leaks and double destructions in the containers show up as numbers. It can be written to
// a channel, so containers print it.
#pragma once

#include "VX/Channel.hpp"

struct ElementCounts {
	long constructed = 0; // every constructor, copies and moves included
	long copied = 0;
	long moved = 0;
	long destroyed = 0;
	long Live() const { return constructed - destroyed; }
};

class CountedElement {
public:
	static ElementCounts counts;
	static void ResetCounts() { counts = ElementCounts {}; }

	CountedElement() { ++counts.constructed; }
	explicit CountedElement(int number) : value(number) { ++counts.constructed; }
	CountedElement(const CountedElement& source) : value(source.value)
	{
		++counts.constructed;
		++counts.copied;
	}
	CountedElement(CountedElement&& source) noexcept : value(source.value)
	{
		++counts.constructed;
		++counts.moved;
	}
	CountedElement& operator=(const CountedElement& source)
	{
		value = source.value;
		++counts.copied;
		return *this;
	}
	CountedElement& operator=(CountedElement&& source) noexcept
	{
		value = source.value;
		++counts.moved;
		return *this;
	}
	~CountedElement()
	{
		++counts.destroyed;
		value = -999; // a read after destruction shows as this value
	}

	int Get() const { return value; }
	friend bool operator==(const CountedElement& a, const CountedElement& b) { return a.value == b.value; }
	friend VX::OChannel& operator<<(VX::OChannel& channel, const CountedElement& element)
	{
		return channel << "#" << element.value;
	}

private:
	int value = 0;
};
