// The checked JSON parse: nlohmann's DOM builder driven through a SAX handler that keeps the
// JSON pointer of the value being built, so a refusal names its place.
#include "ProjectJsonText.hpp"

#include "ProjectFileFields.hpp"

#include <algorithm>

#include <set>
#include <utility>
#include <vector>

namespace ReferenceHost::ProjectJson {

namespace {

// "at line L, column C" of the byte at offset (counted from 1, as the parser's own messages).
std::string LineAndColumn(std::string_view text, std::size_t offset)
{
	offset = std::min(offset, text.size());
	std::size_t line = 1;
	std::size_t lineStart = 0;
	for (std::size_t i = 0; i < offset; ++i)
		if (text[i] == '\n') {
			++line;
			lineStart = i + 1;
		}
	return "at line " + std::to_string(line) + ", column " + std::to_string(offset - lineStart + 1);
}

class CheckedBuilder {
public:
	CheckedBuilder(Json& result, std::string_view source, JsonProblem& found)
		: dom(result, false), text(source), problem(found)
	{
	}

	bool null() { return Value() && dom.null(); }
	bool boolean(bool value) { return Value() && dom.boolean(value); }
	bool number_integer(Json::number_integer_t value) { return Value() && dom.number_integer(value); }
	bool number_unsigned(Json::number_unsigned_t value) { return Value() && dom.number_unsigned(value); }
	bool number_float(Json::number_float_t value, const std::string& written)
	{
		return Value() && dom.number_float(value, written);
	}
	bool string(std::string& value) { return Value() && dom.string(value); }
	bool binary(Json::binary_t& value) { return Value() && dom.binary(value); }

	bool start_object(std::size_t size) { return Enter(true) && dom.start_object(size); }
	bool key(std::string& name)
	{
		Level& level = levels.back();
		level.key = name;
		if (!level.keys.insert(name).second)
			return Refuse(Member(PointerOf(levels.size() - 1), name), "the member \"" + name + "\" is there twice");
		return dom.key(name);
	}
	bool end_object()
	{
		levels.pop_back();
		return dom.end_object();
	}
	bool start_array(std::size_t size) { return Enter(false) && dom.start_array(size); }
	bool end_array()
	{
		levels.pop_back();
		return dom.end_array();
	}

	template <class Exception>
	bool parse_error(std::size_t position, const std::string& token, const Exception& error)
	{
		if (!problem.text.empty())
			return false;
		// The parser's syntax messages carry their own place; "... at line 3, column 5: text".
		std::string message = error.what();
		const std::size_t at = message.find("at line ");
		if (at != std::string::npos) {
			const std::size_t colon = message.find(": ", at);
			problem.place = message.substr(at, colon - at);
			problem.text = colon == std::string::npos ? std::string() : message.substr(colon + 2);
			return false;
		}
		const std::size_t bracket = message.find("] ");
		// The position is past the token; the place is where it begins.
		problem.place = LineAndColumn(text, position >= token.size() ? position - token.size() : 0);
		problem.text = bracket == std::string::npos ? message : message.substr(bracket + 2);
		return false;
	}

	bool Refused() const { return !problem.text.empty(); }

private:
	struct Level {
		bool isObject = false;
		std::size_t count = 0; // values seen in an array
		std::string key;       // the member being read in an object
		std::set<std::string> keys;
	};

	// The pointer of the value being read at depth (levels[0..depth) are its containers).
	std::string PointerOf(std::size_t depth) const
	{
		std::string pointer;
		for (std::size_t i = 0; i < depth; ++i)
			pointer = levels[i].isObject ? Member(pointer, levels[i].key)
										 : pointer + "/" + std::to_string(levels[i].count - 1);
		return pointer;
	}

	// A value begins: it takes its place in the array around it.
	bool Value()
	{
		if (!levels.empty() && !levels.back().isObject)
			++levels.back().count;
		return true;
	}

	bool Enter(bool isObject)
	{
		Value();
		if (levels.size() >= MaxJsonDepth)
			return Refuse(PointerOf(levels.size()),
				"the values are nested deeper than " + std::to_string(MaxJsonDepth) + " levels");
		levels.push_back(Level {isObject, 0, {}, {}});
		return true;
	}

	bool Refuse(std::string pointer, std::string message)
	{
		// A place deep inside nesting is a long row of indexes; its start tells where it is.
		constexpr std::size_t LongestPlace = 60;
		if (pointer.size() > LongestPlace)
			pointer = pointer.substr(0, LongestPlace) + "...";
		problem.place = pointer.empty() ? "at the top" : "at " + pointer;
		problem.text = std::move(message);
		return false;
	}

	nlohmann::detail::json_sax_dom_parser<Json> dom;
	std::string_view text;
	JsonProblem& problem;
	std::vector<Level> levels;
};

} // namespace

std::optional<Json> ParseJsonDocument(std::string_view text, JsonProblem& problem)
{
	problem = {};
	Json document;
	CheckedBuilder builder(document, text, problem);
	const bool parsed = Json::sax_parse(text.begin(), text.end(), &builder);
	if (!parsed || builder.Refused()) {
		if (problem.text.empty()) {
			problem.place = LineAndColumn(text, text.size());
			problem.text = "the text is not a whole JSON value";
		}
		return std::nullopt;
	}
	return document;
}

std::string ShownValue(const Json& value)
{
	constexpr std::size_t Longest = 60;
	std::string shown = value.dump(-1, ' ', false, Json::error_handler_t::replace);
	if (shown.size() > Longest)
		shown = shown.substr(0, Longest) + "...";
	return shown;
}

} // namespace ReferenceHost::ProjectJson
