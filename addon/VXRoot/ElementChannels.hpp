// How container elements meet the channels: whether an element can be written as text
// (Print writes it only then), and the binary form Write and Read use for element types
// that have one. A type without a binary form makes a container's Write and Read answer
// ErrorNotSupported.
#pragma once

#include "VX/Channel.hpp"
#include "VX/Object.hpp"
#include "VX/String.hpp"

#include <concepts>
#include <cstdint>
#include <string>
#include <type_traits>

namespace VX {

// This formatter version breaks concepts and requires clauses apart.
// clang-format off
template <class T>
concept WritableToChannel = requires(OChannel& channel, const T& element) { channel << element; };

template <class T>
void PrintElement(OChannel& channel, const T& element)
{
	if constexpr (WritableToChannel<T>)
		channel << element;
}

// The binary form of one element type; specialise it to give a type one.
template <class T>
struct ElementSerializer;

template <class T>
	requires(std::is_integral_v<T> || std::is_enum_v<T>)
struct ElementSerializer<T> {
	static ErrCode Write(OChannel& channel, const T& element)
	{
		if constexpr (std::is_same_v<T, bool>)
			channel.PutBool(element);
		else
			channel.PutInt64(static_cast<std::int64_t>(element));
		return NoError;
	}
	static ErrCode Read(IChannel& channel, T& element)
	{
		if constexpr (std::is_same_v<T, bool>) {
			return channel.GetBool(element);
		} else {
			std::int64_t value = 0;
			ErrCode status = channel.GetInt64(value);
			if (status == NoError)
				element = static_cast<T>(value);
			return status;
		}
	}
};

template <>
struct ElementSerializer<String> {
	static ErrCode Write(OChannel& channel, const String& element)
	{
		channel.PutText(element.ToCStr(), element.GetLength());
		return NoError;
	}
	static ErrCode Read(IChannel& channel, String& element)
	{
		std::string text;
		// Texts of a container element are bounded so foreign data cannot ask for gigabytes.
		ErrCode status = channel.GetText(text, 1u << 24);
		if (status == NoError)
			element = String(std::move(text));
		return status;
	}
};

// Whether an object has a binary form: containers say so through HasBinaryForm (a table of
// rows has none), other objects are taken to have one.
template <class T>
constexpr bool ObjectHasBinaryForm()
{
	if constexpr (requires { T::HasBinaryForm; })
		return T::HasBinaryForm;
	else
		return true;
}

// Objects (nested containers) carry their own frames.
template <class T>
	requires(std::derived_from<T, Object> && ObjectHasBinaryForm<T>())
struct ElementSerializer<T> {
	static ErrCode Write(OChannel& channel, const T& element) { return element.Write(channel); }
	static ErrCode Read(IChannel& channel, T& element) { return element.Read(channel); }
};

template <class T>
concept SerializableElement = requires(OChannel& output, IChannel& input, const T& source, T& target) {
	{ ElementSerializer<T>::Write(output, source) } -> std::same_as<ErrCode>;
	{ ElementSerializer<T>::Read(input, target) } -> std::same_as<ErrCode>;
};

// clang-format on

} // namespace VX
