// Compiling one JSON resource source. The source is checked strictly (unknown keys, repeated
// keys, numbers out of range, NUL bytes in texts) because a typo in a resource would otherwise
// surface only as a missing text in the running module.
#include "ResourceSource.hpp"

#include "VX/ResourceBlob.hpp"

#include <nlohmann/json.hpp>

#include <charconv>
#include <initializer_list>
#include <limits>
#include <optional>
#include <set>
#include <vector>

namespace Rescomp {

namespace {

using Json = nlohmann::json;

class ByteWriter {
public:
	void PutU16(std::uint16_t value)
	{
		bytes.push_back(static_cast<std::uint8_t>(value));
		bytes.push_back(static_cast<std::uint8_t>(value >> 8));
	}
	void PutI16(std::int16_t value) { PutU16(static_cast<std::uint16_t>(value)); }
	void PutU32(std::uint32_t value)
	{
		for (int shift = 0; shift < 32; shift += 8)
			bytes.push_back(static_cast<std::uint8_t>(value >> shift));
	}
	void PutText(const std::string& text)
	{
		bytes.insert(bytes.end(), text.begin(), text.end());
		bytes.push_back(0);
	}
	std::vector<std::uint8_t> Take() { return std::move(bytes); }

private:
	std::vector<std::uint8_t> bytes;
};

// Item kinds of a dialog, numbered as the dialog library reads them.
struct ItemKind {
	const char* name;
	std::uint16_t code;
};
constexpr ItemKind ItemKinds[] = {
	{"button", 1},
	{"icon", 2},
	{"lefttext", 3},
	{"centertext", 4},
	{"righttext", 5},
	{"checkbox", 6},
	{"radio", 7},
	{"intedit", 8},
	{"popup", 9},
	{"singlelist", 10},
	{"multilist", 11},
	{"usercontrol", 12},
};

class SourceCompiler {
public:
	explicit SourceCompiler(const std::string& name) : sourceName(name) {}

	std::vector<CompiledResource> Compile(std::string_view jsonText)
	{
		const Json root = Parse(jsonText);
		if (!root.is_object())
			Fail("", "the source must be a JSON object with the sections strings, dialogs, icons, binary");
		for (const auto& [section, content] : root.items()) {
			if (!content.is_object())
				Fail(section, "must be an object");
			if (section == "strings")
				CompileStrings(content);
			else if (section == "dialogs")
				CompileDialogs(content);
			else if (section == "icons")
				CompileIcons(content);
			else if (section == "binary")
				CompileBinary(content);
			else
				Fail(section, "unknown section (expected strings, dialogs, icons or binary)");
		}
		return std::move(resources);
	}

private:
	[[noreturn]] void Fail(const std::string& place, const std::string& what) const
	{
		throw ResourceError(sourceName + ": " + (place.empty() ? "" : place + ": ") + what);
	}

	Json Parse(std::string_view jsonText)
	{
		// The library keeps the last of repeated keys silently; a repeated id is a mistake.
		std::vector<std::set<std::string>> openObjects;
		std::optional<std::string> repeatedKey;
		const Json::parser_callback_t watchKeys = [&](int, Json::parse_event_t event, Json& parsed) {
			if (event == Json::parse_event_t::object_start) {
				openObjects.emplace_back();
			} else if (event == Json::parse_event_t::object_end) {
				if (!openObjects.empty())
					openObjects.pop_back();
			} else if (event == Json::parse_event_t::key && !openObjects.empty()) {
				const std::string key = parsed.get<std::string>();
				if (!openObjects.back().insert(key).second && !repeatedKey)
					repeatedKey = key;
			}
			return true;
		};
		Json root;
		try {
			root = Json::parse(jsonText.begin(), jsonText.end(), watchKeys);
		} catch (const Json::parse_error& error) {
			Fail("", std::string("not valid JSON: ") + error.what());
		}
		if (repeatedKey)
			Fail("", "the key \"" + *repeatedKey + "\" appears twice in one object");
		return root;
	}

	std::int32_t ParseId(const std::string& text, const std::string& place) const
	{
		std::int32_t id = 0;
		const char* end = text.data() + text.size();
		const auto [stop, error] = std::from_chars(text.data(), end, id);
		if (text.empty() || error != std::errc() || stop != end)
			Fail(place, "the id must be a whole number from -2147483648 to 2147483647");
		return id;
	}

	std::int64_t WholeNumber(
		const Json& value, std::int64_t minimum, std::int64_t maximum, const std::string& place) const
	{
		std::optional<std::int64_t> number;
		if (value.is_number_unsigned()) {
			const std::uint64_t unsignedValue = value.get<std::uint64_t>();
			if (unsignedValue <= static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()))
				number = static_cast<std::int64_t>(unsignedValue);
		} else if (value.is_number_integer()) {
			number = value.get<std::int64_t>();
		} else {
			Fail(place, "must be a whole number");
		}
		if (!number || *number < minimum || *number > maximum)
			Fail(place, "must be from " + std::to_string(minimum) + " to " + std::to_string(maximum));
		return *number;
	}

	std::string Text(const Json& value, const std::string& place) const
	{
		if (!value.is_string())
			Fail(place, "must be a text");
		std::string text = value.get<std::string>();
		if (text.find('\0') != std::string::npos)
			Fail(place, "a text cannot hold a NUL character");
		return text;
	}

	// A limit of an edit item: a text, or a whole number written as its decimal text.
	std::string LimitText(const Json& value, const std::string& place) const
	{
		if (value.is_number())
			return std::to_string(WholeNumber(
				value, std::numeric_limits<std::int64_t>::min(), std::numeric_limits<std::int64_t>::max(), place));
		return Text(value, place);
	}

	std::vector<std::int64_t> Numbers(const Json& value, std::size_t count, std::int64_t minimum, std::int64_t maximum,
		const std::string& place) const
	{
		if (!value.is_array() || value.size() != count)
			Fail(place, "must be a list of " + std::to_string(count) + " whole numbers");
		std::vector<std::int64_t> numbers;
		for (std::size_t index = 0; index < count; ++index)
			numbers.push_back(
				WholeNumber(value[index], minimum, maximum, place + " number " + std::to_string(index + 1)));
		return numbers;
	}

	void CheckKeys(const Json& object, std::initializer_list<const char*> known, const std::string& place) const
	{
		for (const auto& [key, unused] : object.items()) {
			bool isKnown = false;
			for (const char* name : known)
				isKnown = isKnown || key == name;
			if (!isKnown)
				Fail(place, "unknown key \"" + key + "\"");
		}
	}

	void Add(std::uint32_t type, std::int32_t id, std::vector<std::uint8_t> bytes)
	{
		resources.push_back(CompiledResource {type, id, std::move(bytes), sourceName});
	}

	void CompileStrings(const Json& section)
	{
		for (const auto& [key, list] : section.items()) {
			const std::string place = "strings \"" + key + "\"";
			const std::int32_t id = ParseId(key, place);
			if (!list.is_array())
				Fail(place, "must be a list of texts");
			std::vector<std::uint8_t> texts;
			for (std::size_t index = 0; index < list.size(); ++index) {
				const std::string text = Text(list[index], place + " item " + std::to_string(index + 1));
				texts.insert(texts.end(), text.begin(), text.end());
				texts.push_back(0);
			}
			ByteWriter writer;
			writer.PutU32(static_cast<std::uint32_t>(texts.size()));
			std::vector<std::uint8_t> bytes = writer.Take();
			bytes.insert(bytes.end(), texts.begin(), texts.end());
			Add(VX::ResourceTypes::StringList, id, std::move(bytes));
		}
	}

	void CompileDialogs(const Json& section)
	{
		for (const auto& [key, dialog] : section.items()) {
			const std::string place = "dialogs \"" + key + "\"";
			const std::int32_t id = ParseId(key, place);
			if (!dialog.is_object())
				Fail(place, "must be an object with title, size and items");
			CheckKeys(dialog, {"title", "size", "items"}, place);
			if (!dialog.contains("size"))
				Fail(place, "needs a size [width, height]");
			const std::vector<std::int64_t> size = Numbers(dialog["size"], 2, 0, 0xFFFF, place + " size");
			const std::string title = dialog.contains("title") ? Text(dialog["title"], place + " title") : "";
			const Json items = dialog.contains("items") ? dialog["items"] : Json::array();
			if (!items.is_array())
				Fail(place + " items", "must be a list");
			if (items.size() > 0xFFFF)
				Fail(place + " items", "too many items");

			ByteWriter header;
			header.PutU16(static_cast<std::uint16_t>(size[0]));
			header.PutU16(static_cast<std::uint16_t>(size[1]));
			header.PutU16(static_cast<std::uint16_t>(items.size()));
			header.PutU16(0);
			header.PutText(title);

			ByteWriter itemBytes;
			for (std::size_t index = 0; index < items.size(); ++index)
				CompileItem(items[index], place + " item " + std::to_string(index + 1), itemBytes);

			Add(VX::ResourceTypes::DialogHeader, id, header.Take());
			Add(VX::ResourceTypes::DialogItems, id, itemBytes.Take());
		}
	}

	void CompileItem(const Json& item, const std::string& place, ByteWriter& out) const
	{
		if (!item.is_object())
			Fail(place, "must be an object with kind and rect");
		CheckKeys(item, {"kind", "rect", "text", "min", "max", "group"}, place);
		if (!item.contains("kind") || !item.contains("rect"))
			Fail(place, "needs a kind and a rect [x, y, width, height]");
		const std::string kindName = Text(item["kind"], place + " kind");
		std::uint16_t kind = 0;
		for (const ItemKind& known : ItemKinds) {
			if (kindName == known.name)
				kind = known.code;
		}
		if (kind == 0)
			Fail(place + " kind", "unknown item kind \"" + kindName + "\"");
		const std::vector<std::int64_t> rect = Numbers(item["rect"], 4, -32768, 32767, place + " rect");
		const std::int64_t group = item.contains("group") ? WholeNumber(item["group"], 0, 0xFFFF, place + " group") : 0;

		out.PutU16(kind);
		for (std::int64_t value : rect)
			out.PutI16(static_cast<std::int16_t>(value));
		out.PutU16(static_cast<std::uint16_t>(group));
		out.PutText(item.contains("text") ? Text(item["text"], place + " text") : "");
		out.PutText(item.contains("min") ? LimitText(item["min"], place + " min") : "");
		out.PutText(item.contains("max") ? LimitText(item["max"], place + " max") : "");
	}

	void CompileIcons(const Json& section)
	{
		for (const auto& [key, icon] : section.items()) {
			const std::string place = "icons \"" + key + "\"";
			const std::int32_t id = ParseId(key, place);
			if (!icon.is_object())
				Fail(place, "must be an object with size and glyph");
			CheckKeys(icon, {"size", "glyph"}, place);
			if (!icon.contains("size"))
				Fail(place, "needs a size [width, height]");
			const std::vector<std::int64_t> size = Numbers(icon["size"], 2, 0, 0xFFFF, place + " size");
			ByteWriter writer;
			writer.PutU16(static_cast<std::uint16_t>(size[0]));
			writer.PutU16(static_cast<std::uint16_t>(size[1]));
			writer.PutText(icon.contains("glyph") ? Text(icon["glyph"], place + " glyph") : "");
			Add(VX::ResourceTypes::Icon, id, writer.Take());
		}
	}

	void CompileBinary(const Json& section)
	{
		for (const auto& [key, words] : section.items()) {
			const std::string place = "binary \"" + key + "\"";
			const std::size_t colon = key.find(':');
			if (colon != 4)
				Fail(place, "the key must be a four-character type, a colon and an id, as \"MDID:32500\"");
			std::uint32_t type = 0;
			for (std::size_t index = 0; index < 4; ++index) {
				const auto c = static_cast<unsigned char>(key[index]);
				if (c < 0x20 || c > 0x7E)
					Fail(place, "the type must be four printable characters");
				type = (type << 8) | c;
			}
			const std::int32_t id = ParseId(key.substr(colon + 1), place);
			if (!words.is_array())
				Fail(place, "must be a list of 32-bit whole numbers");
			ByteWriter writer;
			for (std::size_t index = 0; index < words.size(); ++index) {
				const std::int64_t word = WholeNumber(words[index], std::numeric_limits<std::int32_t>::min(),
					std::numeric_limits<std::uint32_t>::max(), place + " word " + std::to_string(index + 1));
				writer.PutU32(static_cast<std::uint32_t>(word));
			}
			Add(type, id, writer.Take());
		}
	}

	std::string sourceName;
	std::vector<CompiledResource> resources;
};

} // namespace

std::vector<CompiledResource> CompileResourceSource(std::string_view jsonText, const std::string& sourceName)
{
	return SourceCompiler(sourceName).Compile(jsonText);
}

} // namespace Rescomp
