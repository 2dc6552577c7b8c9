#include "StepModel.hpp"

#include "StepCheck.hpp"

#include <cctype>

namespace IfcReading {

namespace {

bool IsNameCharacter(char c)
{
	return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

class ValueParser {
public:
	explicit ValueParser(std::string_view source) : text(source) {}

	std::size_t at = 0;
	std::string problem;

	void SkipSpace() { at = AfterSpaceAndComments(text, at); }

	bool Take(char c)
	{
		SkipSpace();
		if (at < text.size() && text[at] == c) {
			++at;
			return true;
		}
		return false;
	}

	bool Fail(std::string why)
	{
		if (problem.empty())
			problem = std::move(why);
		return false;
	}

	std::string Name()
	{
		SkipSpace();
		const std::size_t start = at;
		while (at < text.size() && IsNameCharacter(text[at]))
			++at;
		std::string name(text.substr(start, at - start));
		for (char& c : name)
			c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
		return name;
	}

	// The values of a parenthesised list, after its opening parenthesis.
	bool ListItems(std::vector<StepValue>& items, int depth)
	{
		if (depth > 64)
			return Fail("lists nested too deep");
		if (Take(')'))
			return true;
		for (;;) {
			StepValue value;
			if (!Value(value, depth))
				return false;
			items.push_back(std::move(value));
			if (Take(')'))
				return true;
			if (!Take(','))
				return Fail("\",\" or \")\" expected");
		}
	}

	bool Value(StepValue& value, int depth)
	{
		SkipSpace();
		if (at >= text.size())
			return Fail("the text ends inside a value");
		const char c = text[at];
		if (c == '(') {
			++at;
			value.kind = StepValue::Kind::List;
			return ListItems(value.items, depth + 1);
		}
		if (c == '\'') {
			const std::size_t start = at++;
			for (;;) {
				const std::size_t quote = text.find('\'', at);
				if (quote == std::string_view::npos)
					return Fail("a text that is never closed");
				at = quote + 1;
				if (at < text.size() && text[at] == '\'') {
					++at;
					continue;
				}
				break;
			}
			value.kind = StepValue::Kind::Text;
			value.token = std::string(text.substr(start, at - start));
			return true;
		}
		if (c == '#') {
			++at;
			long id = 0;
			const std::size_t start = at;
			while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])) && id < 1000000000L)
				id = id * 10 + (text[at++] - '0');
			if (at == start)
				return Fail("an entity number expected after #");
			value = StepValue::Reference(id);
			return true;
		}
		if (std::isalpha(static_cast<unsigned char>(c))) {
			value.kind = StepValue::Kind::Typed;
			value.token = Name();
			if (!Take('('))
				return Fail("\"(\" expected after " + value.token);
			StepValue inner;
			if (!Value(inner, depth + 1) || !Take(')'))
				return Fail("a typed value not closed");
			value.items.push_back(std::move(inner));
			return true;
		}
		// $, *, numbers, enumerations and binaries: everything up to the next separator.
		const std::size_t start = at;
		while (at < text.size() && text[at] != ',' && text[at] != ')' && text[at] != '(' && text[at] != ';' &&
			!std::isspace(static_cast<unsigned char>(text[at])))
			++at;
		if (at == start)
			return Fail(std::string("unexpected \"") + c + "\"");
		value = StepValue::Token(std::string(text.substr(start, at - start)));
		return true;
	}

	// The body of a complex instance, (A(...)B(...)), kept as written.
	bool ComplexBody(std::string& body)
	{
		const std::size_t start = at;
		int depth = 0;
		while (at < text.size()) {
			const char c = text[at++];
			if (c == '\'') {
				StepValue skipped;
				--at;
				if (!Value(skipped, 0))
					return false;
			} else if (c == ';') {
				return Fail("\";\" inside a complex instance");
			} else if (c == '(') {
				++depth;
			} else if (c == ')' && --depth == 0) {
				body = std::string(text.substr(start, at - start));
				return true;
			}
		}
		return Fail("a complex instance that is never closed");
	}

private:
	std::string_view text;
};

void AppendText(const StepValue& value, std::string& out);

void AppendList(const std::vector<StepValue>& items, std::string& out)
{
	out += '(';
	for (std::size_t i = 0; i < items.size(); ++i) {
		if (i > 0)
			out += ',';
		AppendText(items[i], out);
	}
	out += ')';
}

void AppendText(const StepValue& value, std::string& out)
{
	switch (value.kind) {
	case StepValue::Kind::Token:
	case StepValue::Kind::Text:
		out += value.token;
		return;
	case StepValue::Kind::Reference:
		out += '#';
		out += std::to_string(value.reference);
		return;
	case StepValue::Kind::Typed:
		out += value.token;
		[[fallthrough]];
	case StepValue::Kind::List:
		AppendList(value.items, out);
		return;
	}
}

} // namespace

StepValue StepValue::Text(std::string_view plain)
{
	std::string quoted = "'";
	for (char c : plain) {
		quoted += c;
		if (c == '\'')
			quoted += '\'';
	}
	quoted += '\'';
	return {Kind::Text, std::move(quoted), 0, {}};
}

std::string StepValue::PlainText() const
{
	if (kind != Kind::Text || token.size() < 2)
		return {};
	std::string plain;
	for (std::size_t i = 1; i + 1 < token.size(); ++i) {
		plain += token[i];
		if (token[i] == '\'' && token[i + 1] == '\'')
			++i;
	}
	return plain;
}

void StepValue::CollectReferences(std::vector<long>& out) const
{
	if (kind == Kind::Reference)
		out.push_back(reference);
	for (const StepValue& item : items)
		item.CollectReferences(out);
}

std::vector<long> StepInstance::References() const
{
	std::vector<long> found;
	for (const StepValue& attribute : attributes)
		attribute.CollectReferences(found);
	if (!complexText.empty()) {
		for (std::size_t at = complexText.find('#'); at != std::string::npos; at = complexText.find('#', at + 1)) {
			long id = 0;
			std::size_t p = at + 1;
			while (p < complexText.size() && std::isdigit(static_cast<unsigned char>(complexText[p])) && id < 1000000000L)
				id = id * 10 + (complexText[p++] - '0');
			if (p > at + 1)
				found.push_back(id);
		}
	}
	return found;
}

std::optional<StepModel> StepModel::Parse(std::string_view text, std::string& problem)
{
	StepModel model;
	ValueParser parser(text);
	// The header's entities, read as values, so no text or comment in them is taken for the
	// end of the header.
	auto word = [&](std::string_view keyword) {
		parser.SkipSpace();
		if (text.substr(parser.at, keyword.size()) != keyword)
			return false;
		parser.at += keyword.size();
		return true;
	};
	if (!word("ISO-10303-21;") || !word("HEADER;")) {
		problem = "not a STEP file (ISO-10303-21; HEADER; expected)";
		return std::nullopt;
	}
	std::size_t fileNameStart = 0, fileNameEnd = 0;
	while (!word("ENDSEC;")) {
		const std::string name = parser.Name();
		const std::size_t open = parser.at;
		StepValue attributes;
		if (name.empty() || !parser.Take('(') || !parser.ListItems(attributes.items, 1) || !parser.Take(';')) {
			problem = "the header cannot be read" + (name.empty() ? std::string() : " (" + name + ")");
			return std::nullopt;
		}
		if (name == "FILE_NAME" && !model.hasFileName) {
			model.fileName = std::move(attributes.items);
			model.hasFileName = true;
			fileNameStart = open;
			fileNameEnd = parser.at - 1; // before its semicolon
		}
	}
	if (!word("DATA;")) {
		problem = "the file has no DATA section after its header";
		return std::nullopt;
	}
	if (model.hasFileName) {
		model.headerBefore = std::string(text.substr(0, fileNameStart));
		model.headerAfter = std::string(text.substr(fileNameEnd, parser.at - fileNameEnd));
	} else {
		model.headerBefore = std::string(text.substr(0, parser.at));
	}

	for (;;) {
		parser.SkipSpace();
		const std::size_t start = parser.at;
		if (text.substr(start, 7) == "ENDSEC;")
			break;
		if (!parser.Take('#')) {
			problem = "an instance (#id=...) or ENDSEC; expected at character " + std::to_string(start);
			return std::nullopt;
		}
		StepValue number;
		parser.at = start;
		if (!parser.Value(number, 0) || number.kind != StepValue::Kind::Reference || !parser.Take('=')) {
			problem = "\"#id=\" expected at character " + std::to_string(start);
			return std::nullopt;
		}
		StepInstance instance;
		parser.SkipSpace();
		if (parser.Take('(')) {
			--parser.at;
			if (!parser.ComplexBody(instance.complexText)) {
				problem = "#" + std::to_string(number.reference) + ": " + parser.problem;
				return std::nullopt;
			}
		} else {
			instance.className = parser.Name();
			if (instance.className.empty() || !parser.Take('(') || !parser.ListItems(instance.attributes, 1)) {
				problem = "#" + std::to_string(number.reference) + " " + instance.className + ": " +
					(parser.problem.empty() ? "a class and \"(\" expected" : parser.problem);
				return std::nullopt;
			}
		}
		if (!parser.Take(';')) {
			problem = "#" + std::to_string(number.reference) + ": \";\" expected after the instance";
			return std::nullopt;
		}
		if (!model.instances.emplace(number.reference, std::move(instance)).second) {
			problem = "#" + std::to_string(number.reference) + " is defined twice";
			return std::nullopt;
		}
	}
	return model;
}

const StepInstance* StepModel::Find(long id) const
{
	auto it = instances.find(id);
	return it == instances.end() ? nullptr : &it->second;
}

StepInstance* StepModel::Find(long id)
{
	auto it = instances.find(id);
	return it == instances.end() ? nullptr : &it->second;
}

long StepModel::Add(StepInstance instance)
{
	const long id = instances.empty() ? 1 : instances.rbegin()->first + 1;
	instances.emplace(id, std::move(instance));
	return id;
}

std::string StepModel::Text() const
{
	std::string out = headerBefore;
	if (hasFileName) {
		AppendList(fileName, out);
		out += headerAfter;
	}
	out += '\n';
	for (const auto& [id, instance] : instances) {
		out += '#';
		out += std::to_string(id);
		out += '=';
		if (instance.className.empty()) {
			out += instance.complexText;
		} else {
			out += instance.className;
			AppendList(instance.attributes, out);
		}
		out += ";\n";
	}
	out += "ENDSEC;\nEND-ISO-10303-21;\n";
	return out;
}

std::string StepValueText(const StepValue& value)
{
	std::string out;
	AppendText(value, out);
	return out;
}

} // namespace IfcReading
