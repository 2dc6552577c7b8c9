// The shared fields of project files: pointers, complaints, value readers and the kept
// unknown members.
#include "ProjectFileFields.hpp"
#include "ProjectJsonText.hpp"

namespace ReferenceHost::ProjectJson {

namespace {

int HexValue(char c)
{
	if (c >= '0' && c <= '9')
		return c - '0';
	if (c >= 'a' && c <= 'f')
		return c - 'a' + 10;
	if (c >= 'A' && c <= 'F')
		return c - 'A' + 10;
	return -1;
}

} // namespace

void Fail(const std::string& pointer, std::string message)
{
	throw FormatError(pointer, std::move(message));
}

std::string Member(const std::string& pointer, std::string_view key)
{
	std::string escaped;
	for (const char c : key) {
		if (c == '~')
			escaped += "~0";
		else if (c == '/')
			escaped += "~1";
		else
			escaped += c;
	}
	return pointer + "/" + escaped;
}

std::string Position(const std::string& pointer, std::size_t index)
{
	return pointer + "/" + std::to_string(index);
}

std::int64_t ReadInteger(const Json& value, const std::string& pointer, std::int64_t minimum, std::int64_t maximum)
{
	const std::string range = " from " + std::to_string(minimum) + " to " + std::to_string(maximum);
	if (value.is_number_unsigned()) {
		const auto number = value.get<std::uint64_t>();
		// The parser gives every number from 0 up as unsigned: the lower bound counts here too.
		if (maximum < 0 || number > static_cast<std::uint64_t>(maximum) ||
			(minimum > 0 && number < static_cast<std::uint64_t>(minimum)))
			Fail(pointer, "expected a whole number" + range + ", found " + ShownValue(value));
		return static_cast<std::int64_t>(number);
	}
	if (!value.is_number_integer())
		Fail(pointer, "expected a whole number" + range + ", found " + ShownValue(value));
	const auto number = value.get<std::int64_t>();
	if (number < minimum || number > maximum)
		Fail(pointer, "expected a whole number" + range + ", found " + ShownValue(value));
	return number;
}

bool ReadBool(const Json& value, const std::string& pointer)
{
	if (!value.is_boolean())
		Fail(pointer, "expected true or false, found " + ShownValue(value));
	return value.get<bool>();
}

std::string ReadString(const Json& value, const std::string& pointer)
{
	if (!value.is_string())
		Fail(pointer, "expected a text, found " + ShownValue(value));
	return value.get<std::string>();
}

double ReadNumber(const Json& value, const std::string& pointer)
{
	if (!value.is_number())
		Fail(pointer, "expected a number, found " + ShownValue(value));
	return value.get<double>();
}

const Json& ReadArray(const Json& value, const std::string& pointer)
{
	if (!value.is_array())
		Fail(pointer, "expected an array, found " + ShownValue(value));
	return value;
}

std::vector<std::string> ReadStrings(const Json& value, const std::string& pointer)
{
	std::vector<std::string> texts;
	std::size_t position = 0;
	for (const Json& item : ReadArray(value, pointer))
		texts.push_back(ReadString(item, Position(pointer, position++)));
	return texts;
}

ComponentList ReadComponents(const Json& value, const std::string& pointer)
{
	ComponentList components;
	std::size_t position = 0;
	for (const Json& item : ReadArray(value, pointer))
		components.push_back(ReadIntegerOf<std::int32_t>(item, Position(pointer, position++), 0));
	return components;
}

std::vector<std::uint8_t> ReadHexBytes(const Json& value, const std::string& pointer)
{
	const std::string text = ReadString(value, pointer);
	if (text.size() % 2 != 0)
		Fail(pointer, "expected bytes as pairs of hexadecimal digits; the text has an odd length");
	std::vector<std::uint8_t> bytes;
	bytes.reserve(text.size() / 2);
	for (std::size_t i = 0; i < text.size(); i += 2) {
		const int high = HexValue(text[i]);
		const int low = HexValue(text[i + 1]);
		if (high < 0 || low < 0)
			Fail(pointer,
				"expected bytes as pairs of hexadecimal digits; character " + std::to_string(i + (high < 0 ? 1 : 2)) +
					" is not one");
		bytes.push_back(static_cast<std::uint8_t>(high * 16 + low));
	}
	return bytes;
}

std::string HexText(const std::uint8_t* bytes, std::size_t size)
{
	static constexpr char Digits[] = "0123456789abcdef";
	std::string text;
	text.reserve(size * 2);
	for (std::size_t i = 0; i < size; ++i) {
		text += Digits[bytes[i] >> 4];
		text += Digits[bytes[i] & 0xF];
	}
	return text;
}

std::uint32_t ReadVariation(const Json& value, const std::string& pointer)
{
	if (value.is_string()) {
		const std::string text = value.get<std::string>();
		if (text.size() != 4)
			Fail(pointer, "expected a variation code as a number or four characters, found " + ShownValue(value));
		std::uint32_t code = 0;
		for (const char c : text)
			code = (code << 8) | static_cast<unsigned char>(c);
		return code;
	}
	return ReadIntegerOf<std::uint32_t>(value, pointer, 0);
}

Json VariationJson(std::uint32_t code)
{
	std::string text;
	for (int shift = 24; shift >= 0; shift -= 8) {
		const auto c = static_cast<char>((code >> shift) & 0xFF);
		if (c < '!' || c > '~')
			return code;
		text += c;
	}
	return text;
}

ObjectReader::ObjectReader(const Json& value, std::string objectPointer)
	: object(value), pointer(std::move(objectPointer))
{
	if (!object.is_object())
		Fail(pointer, "expected an object, found " + ShownValue(object));
}

const Json* ObjectReader::Find(const std::string& key)
{
	known.insert(key);
	const auto found = object.find(key);
	return found == object.end() ? nullptr : &*found;
}

const Json& ObjectReader::Require(const std::string& key)
{
	const Json* value = Find(key);
	if (value == nullptr)
		Fail(pointer, "the member " + Quoted(key) + " is missing");
	return *value;
}

UnknownFields ObjectReader::Unknown() const
{
	Json unknown = Json::object();
	for (const auto& [key, value] : object.items())
		if (!known.contains(key))
			unknown[key] = value;
	return unknown.empty() ? UnknownFields() : unknown.dump();
}

void AppendUnknown(Json& object, const UnknownFields& unknown)
{
	if (unknown.empty())
		return;
	const Json kept = Json::parse(unknown, nullptr, false);
	if (!kept.is_object())
		return;
	for (const auto& [key, value] : kept.items())
		if (!object.contains(key))
			object[key] = value;
}

} // namespace ReferenceHost::ProjectJson
