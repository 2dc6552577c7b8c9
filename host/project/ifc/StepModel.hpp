// A STEP exchange file as values that can be edited and written back: the header as it
// stands, and each instance of the DATA section with its attributes parsed into texts,
// references and lists. Edits of a building that must keep everything else as it was (an
// export) work on this rather than on the IFC library's model, which writes a different
// schema's attribute layout than it read.
#pragma once

#include <algorithm>
#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace IfcReading {

struct StepValue {
	enum class Kind {
		Token,     // $, *, a number, an .ENUMERATION. or a .T./.F., as written
		Text,      // a quoted text, quotes included, as written
		Reference, // #id
		List,      // (a, b, ...)
		Typed,     // IFCLABEL('...'): a type name and one value
	};
	Kind kind = Kind::Token;
	std::string token; // Token, Text: as written; Typed: the type name
	long reference = 0;
	std::vector<StepValue> items; // List: its items; Typed: its one value

	static StepValue Reference(long id) { return {Kind::Reference, {}, id, {}}; }
	static StepValue Token(std::string text) { return {Kind::Token, std::move(text), 0, {}}; }
	// A quoted text of plain characters, quotes doubled.
	static StepValue Text(std::string_view plain);
	static StepValue List(std::vector<StepValue> values) { return {Kind::List, {}, 0, std::move(values)}; }
	static StepValue Typed(std::string type, StepValue value) { return {Kind::Typed, std::move(type), 0, {std::move(value)}}; }

	bool IsNull() const { return kind == Kind::Token && token == "$"; }
	// A text's characters without the quotes (doubled quotes made single), else empty.
	std::string PlainText() const;
	// The references in this value, depth first.
	void CollectReferences(std::vector<long>& out) const;
	template <class Visit>
	void ForEachReference(const Visit& visit) const
	{
		if (kind == Kind::Reference)
			visit(reference);
		for (const StepValue& item : items)
			item.ForEachReference(visit);
	}
};

struct StepInstance {
	std::string className; // upper case; empty for a complex instance, kept as written
	std::vector<StepValue> attributes;
	std::string complexText; // the parenthesised body of a complex instance

	const StepValue* Attribute(std::size_t index) const
	{
		return index < attributes.size() ? &attributes[index] : nullptr;
	}
	std::vector<long> References() const;
	template <class Visit>
	void ForEachReference(const Visit& visit) const
	{
		if (!complexText.empty()) {
			for (long target : References())
				visit(target);
			return;
		}
		for (const StepValue& attribute : attributes)
			attribute.ForEachReference(visit);
	}
};

// A set of entity numbers: a bit per number while they are few enough to be dense (as in
// every real file), a hash set beyond.
class StepIdSet {
public:
	bool insert(long id)
	{
		if (id >= 0 && id < DenseLimit) {
			const auto at = static_cast<std::size_t>(id);
			if (at >= bits.size())
				bits.resize(std::max<std::size_t>(at + 1, bits.size() * 2));
			if (bits[at])
				return false;
			bits[at] = true;
			return true;
		}
		return sparse.insert(id).second;
	}
	void erase(long id)
	{
		if (id >= 0 && id < DenseLimit) {
			if (static_cast<std::size_t>(id) < bits.size())
				bits[static_cast<std::size_t>(id)] = false;
		} else {
			sparse.erase(id);
		}
	}
	bool contains(long id) const
	{
		if (id >= 0 && id < DenseLimit)
			return static_cast<std::size_t>(id) < bits.size() && bits[static_cast<std::size_t>(id)];
		return sparse.contains(id);
	}

private:
	static constexpr long DenseLimit = 1L << 26;
	std::vector<bool> bits;
	std::unordered_set<long> sparse;
};

class StepModel {
public:
	// The model of a STEP text; nullopt with problem set when the text is not one.
	static std::optional<StepModel> Parse(std::string_view text, std::string& problem);

	std::map<long, StepInstance>& Instances() { return instances; }
	const std::map<long, StepInstance>& Instances() const { return instances; }
	const StepInstance* Find(long id) const;
	StepInstance* Find(long id);
	// Adds an instance under a number no other has, and answers the number.
	long Add(StepInstance instance);

	// The header's FILE_NAME attributes (name, time stamp, authors, organisations,
	// preprocessor, originating system, authorisation); empty when the header has none.
	std::vector<StepValue>& FileName() { return fileName; }
	const std::vector<StepValue>& FileName() const { return fileName; }

	std::string Text() const;

private:
	std::string headerBefore; // the header up to FILE_NAME's attributes
	std::string headerAfter;  // after them, up to and with DATA;
	std::vector<StepValue> fileName;
	bool hasFileName = false;
	std::map<long, StepInstance> instances;
};

std::string StepValueText(const StepValue& value);

} // namespace IfcReading
