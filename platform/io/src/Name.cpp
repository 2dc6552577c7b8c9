// Extensions of path components.
#include "IO/Name.hpp"

#include <string>

namespace IO {

namespace {

// Position of the dot that starts the extension, or npos.
std::size_t ExtensionDot(const std::string& text)
{
	const std::size_t dot = text.rfind('.');
	return dot == std::string::npos || dot == 0 ? std::string::npos : dot;
}

} // namespace

bool Name::HasExtension() const
{
	return ExtensionDot(text.ToStd()) != std::string::npos;
}

VX::String Name::GetExtension() const
{
	const std::string& whole = text.ToStd();
	const std::size_t dot = ExtensionDot(whole);
	return dot == std::string::npos ? VX::String() : VX::String(whole.substr(dot + 1));
}

void Name::DeleteExtension()
{
	const std::string& whole = text.ToStd();
	const std::size_t dot = ExtensionDot(whole);
	if (dot != std::string::npos)
		text = VX::String(whole.substr(0, dot));
}

void Name::AppendExtension(std::string_view extension)
{
	std::string whole = text.ToStd();
	whole += '.';
	whole += extension;
	text = VX::String(std::move(whole));
}

} // namespace IO
