// The fields of project files, as the reader and the writer of project files share them: the
// JSON pointer of a value and the complaint that names it, the readers of values (each one
// checks the value's type and range and complains at its place), the two value forms written
// as text (bytes in hexadecimal, variation codes), and the objects whose members the host does
// not know, kept and written back.
#pragma once

#include "HostText.hpp"
#include "Project.hpp"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <exception>
#include <limits>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace ReferenceHost::ProjectJson {

using Json = nlohmann::ordered_json;

// A value that is not what the format allows, at its JSON pointer ("" is the document).
class FormatError : public std::exception {
public:
	FormatError(std::string pointer, std::string message) : place(std::move(pointer)), text(std::move(message)) {}
	const char* what() const noexcept override { return text.c_str(); }
	const std::string& Place() const { return place; }

private:
	std::string place;
	std::string text;
};

[[noreturn]] void Fail(const std::string& pointer, std::string message);

std::string Member(const std::string& pointer, std::string_view key);
std::string Position(const std::string& pointer, std::size_t index);

std::int64_t ReadInteger(const Json& value, const std::string& pointer, std::int64_t minimum, std::int64_t maximum);

template <typename Integer>
Integer ReadIntegerOf(const Json& value, const std::string& pointer,
	std::int64_t minimum = std::numeric_limits<Integer>::min(),
	std::int64_t maximum = static_cast<std::int64_t>(std::numeric_limits<Integer>::max()))
{
	return static_cast<Integer>(ReadInteger(value, pointer, minimum, maximum));
}

bool ReadBool(const Json& value, const std::string& pointer);
std::string ReadString(const Json& value, const std::string& pointer);
double ReadNumber(const Json& value, const std::string& pointer);
const Json& ReadArray(const Json& value, const std::string& pointer);
std::vector<std::string> ReadStrings(const Json& value, const std::string& pointer);
ComponentList ReadComponents(const Json& value, const std::string& pointer);

// Bytes as pairs of hexadecimal digits.
std::vector<std::uint8_t> ReadHexBytes(const Json& value, const std::string& pointer);
std::string HexText(const std::uint8_t* bytes, std::size_t size);

// A variation code: a number, or four characters read as a big-endian number ("SYST").
std::uint32_t ReadVariation(const Json& value, const std::string& pointer);
Json VariationJson(std::uint32_t code);

// One object of the file: its members by name, each asked for counting as known, so that
// the rest can be kept as the object's unknown members.
class ObjectReader {
public:
	ObjectReader(const Json& value, std::string objectPointer);

	const std::string& Pointer() const { return pointer; }
	std::string PointerOf(std::string_view key) const { return Member(pointer, key); }

	// The member, or null when absent; either way the key counts as known.
	const Json* Find(const std::string& key);
	const Json& Require(const std::string& key);

	UnknownFields Unknown() const;

private:
	const Json& object;
	std::string pointer;
	std::set<std::string> known;
};

// Writes the kept unknown members after the known ones.
void AppendUnknown(Json& object, const UnknownFields& unknown);

} // namespace ReferenceHost::ProjectJson
