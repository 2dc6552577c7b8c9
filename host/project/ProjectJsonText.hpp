// The JSON layer under the project file: a text becomes a document only when it is sound
// beyond the JSON grammar, so the readers above never meet a value they cannot hold. A number
// beyond the range of a double, a member named twice in one object and nesting deeper than a
// project ever needs are refused with their place, as a syntax error is.
#pragma once

#include <nlohmann/json.hpp>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace ReferenceHost::ProjectJson {

using Json = nlohmann::ordered_json; // as in ProjectFileFields.hpp

// Deeper than any project file is written; deep enough for unknown members of later formats.
inline constexpr std::size_t MaxJsonDepth = 256;

struct JsonProblem {
	std::string place; // "at line L, column C" or "at /json/pointer"
	std::string text;
};

// The document of the text, or the first problem found (and no document).
std::optional<Json> ParseJsonDocument(std::string_view text, JsonProblem& problem);

// A value as a message shows it: short values whole, longer ones cut, so a complaint about a
// huge value stays a line.
std::string ShownValue(const Json& value);

} // namespace ReferenceHost::ProjectJson
