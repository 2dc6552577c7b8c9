#include "StepCheck.hpp"

#include <algorithm>
#include <cctype>
#include <unordered_set>
#include <vector>

namespace IfcReading {

namespace {

class Scanner {
public:
	explicit Scanner(std::string_view file) : text(file) {}

	StepCheck Check()
	{
		StepCheck result;
		SkipSpace();
		if (at >= text.size())
			return Refuse(result, "the file is empty");
		if (!Take("ISO-10303-21;"))
			return Refuse(result, "not an IFC file in STEP form (it does not begin with ISO-10303-21;)");
		const std::size_t header = text.find("FILE_SCHEMA", at);
		const std::size_t data = FindKeyword("DATA;");
		if (header == std::string_view::npos || data == std::string_view::npos || header > data)
			return Refuse(result, "the file has no FILE_SCHEMA header and DATA section");
		std::string schema = SchemaAt(header);
		if (schema != "IFC2X3" && schema != "IFC4")
			return Refuse(result, "unknown schema \"" + schema + "\" (the reader knows IFC2X3 and IFC4)");
		result.schema = schema;
		at = data + 5;
		if (!Instances(result))
			return result;
		for (const Reference& reference : references)
			if (!defined.contains(reference.target))
				return Refuse(result,
					"line " + std::to_string(reference.line) + ": #" + std::to_string(reference.source) + " " +
						reference.entity + " refers to #" + std::to_string(reference.target) +
						", which the file does not define");
		result.ok = true;
		return result;
	}

private:
	struct Reference {
		long source;
		long target;
		std::size_t line;
		std::string entity;
	};

	static StepCheck& Refuse(StepCheck& result, std::string why)
	{
		result.ok = false;
		result.problem = std::move(why);
		return result;
	}

	std::size_t LineAt(std::size_t position)
	{
		// Lines counted once, forwards, as the scan moves on.
		for (; counted < position && counted < text.size(); ++counted)
			if (text[counted] == '\n')
				++line;
		return line;
	}

	void SkipSpace() { at = AfterSpaceAndComments(text, at); }

	bool Take(std::string_view word)
	{
		if (text.substr(at, word.size()) != word)
			return false;
		at += word.size();
		return true;
	}

	std::size_t FindKeyword(std::string_view word) const
	{
		// The section keyword on its own, not inside a text of the header.
		for (std::size_t found = text.find(word, at); found != std::string_view::npos;
			 found = text.find(word, found + 1))
			if (found == 0 || !std::isalnum(static_cast<unsigned char>(text[found - 1])))
				return found;
		return std::string_view::npos;
	}

	std::string SchemaAt(std::size_t header) const
	{
		const std::size_t open = text.find('\'', header);
		if (open == std::string_view::npos)
			return {};
		const std::size_t close = text.find('\'', open + 1);
		if (close == std::string_view::npos || close - open > 64)
			return {};
		std::string schema(text.substr(open + 1, close - open - 1));
		std::transform(schema.begin(), schema.end(), schema.begin(),
			[](unsigned char c) { return static_cast<char>(std::toupper(c)); });
		return schema;
	}

	bool Instances(StepCheck& result)
	{
		for (;;) {
			SkipSpace();
			if (at >= text.size()) {
				Refuse(result, "the file ends early, without ENDSEC and END-ISO-10303-21 (it may have been cut short)");
				return false;
			}
			if (Take("ENDSEC;")) {
				SkipSpace();
				if (!Take("END-ISO-10303-21;")) {
					Refuse(result,
						"line " + std::to_string(LineAt(at) + 1) +
							": END-ISO-10303-21; missing after the DATA section (it may have been cut short)");
					return false;
				}
				return true;
			}
			if (!Instance(result)) {
				if (at >= text.size())
					Refuse(result,
						"line " + std::to_string(LineAt(at) + 1) +
							": the file ends inside an entity instance (it may have been cut short)");
				return false;
			}
			++result.instances;
		}
	}

	bool Instance(StepCheck& result)
	{
		const std::size_t lineNumber = LineAt(at) + 1;
		const std::string where = "line " + std::to_string(lineNumber);
		if (!Take("#")) {
			Refuse(result, where + ": an entity instance (#id=...) expected");
			return false;
		}
		long id = 0;
		const std::size_t digits = at;
		while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])) && id < 1000000000L)
			id = id * 10 + (text[at++] - '0');
		if (at == digits || id == 0) {
			Refuse(result, where + ": an entity number expected after #");
			return false;
		}
		SkipSpace();
		if (!Take("=")) {
			Refuse(result, where + ": \"=\" expected after #" + std::to_string(id));
			return false;
		}
		SkipSpace();
		const std::size_t nameStart = at;
		while (at < text.size() && (std::isalnum(static_cast<unsigned char>(text[at])) || text[at] == '_'))
			++at;
		std::string entity(text.substr(nameStart, at - nameStart));
		const std::string named = where + ": #" + std::to_string(id) + " " + entity;
		if (entity.empty()) {
			Refuse(result, where + ": #" + std::to_string(id) + " has no class name");
			return false;
		}
		if (!defined.insert(id).second) {
			Refuse(result, named + ": #" + std::to_string(id) + " is defined twice");
			return false;
		}
		SkipSpace();
		if (!Take("(")) {
			Refuse(result, named + ": \"(\" expected after the class name");
			return false;
		}
		int depth = 1;
		while (depth > 0) {
			if (at >= text.size()) {
				Refuse(result, named + ": the instance is not closed (it may have been cut short)");
				return false;
			}
			const char c = text[at++];
			if (c == '\'') {
				// A text runs to the next lone quote; '' is a quote inside it.
				for (;;) {
					const std::size_t quote = text.find('\'', at);
					if (quote == std::string_view::npos) {
						Refuse(result, named + ": a text that is never closed");
						return false;
					}
					at = quote + 1;
					if (at < text.size() && text[at] == '\'') {
						++at;
						continue;
					}
					break;
				}
			} else if (c == '(') {
				++depth;
			} else if (c == ')') {
				--depth;
			} else if (c == '#') {
				long target = 0;
				const std::size_t start = at;
				while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])) && target < 1000000000L)
					target = target * 10 + (text[at++] - '0');
				if (at > start)
					references.push_back({id, target, lineNumber, entity});
			} else if (c == ';') {
				Refuse(result, named + ": \";\" inside the instance's parentheses");
				return false;
			}
		}
		SkipSpace();
		if (!Take(";")) {
			Refuse(result, named + ": \";\" expected at the end of the instance");
			return false;
		}
		return true;
	}

	std::string_view text;
	std::size_t at = 0;
	std::size_t counted = 0;
	std::size_t line = 0;
	std::unordered_set<long> defined;
	std::vector<Reference> references;
};

} // namespace

std::size_t AfterSpaceAndComments(std::string_view text, std::size_t at)
{
	for (;;) {
		while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at])))
			++at;
		if (text.substr(at, 2) != "/*")
			return at;
		const std::size_t end = text.find("*/", at + 2);
		at = end == std::string_view::npos ? text.size() : end + 2;
	}
}

StepCheck CheckStepText(std::string_view text)
{
	return Scanner(text).Check();
}

} // namespace IfcReading
