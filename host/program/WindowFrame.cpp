// Drawing a framed window as text.
#include "WindowFrame.hpp"

#include <algorithm>

namespace ReferenceHost {

namespace {

constexpr std::string_view Horizontal = "\u2500";
constexpr std::string_view Vertical = "\u2502";
constexpr std::string_view TopLeft = "\u250C";
constexpr std::string_view TopRight = "\u2510";
constexpr std::string_view BottomLeft = "\u2514";
constexpr std::string_view BottomRight = "\u2518";

std::string Repeated(std::string_view piece, std::size_t count)
{
	std::string text;
	text.reserve(piece.size() * count);
	for (std::size_t i = 0; i < count; ++i)
		text += piece;
	return text;
}

// Columns a line takes: one per character, however many bytes its UTF-8 takes (a list's
// fold marks are three).
std::size_t Columns(std::string_view text)
{
	return static_cast<std::size_t>(
		std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

} // namespace

std::vector<std::string> FramedWindow(std::string_view title, const std::vector<std::string>& lines)
{
	std::size_t width = Columns(title) + 4;
	for (const std::string& line : lines)
		width = std::max(width, Columns(line));
	// One space of margin on either side of the lines.
	const std::size_t inner = width + 2;
	std::vector<std::string> framed;
	framed.reserve(lines.size() + 2);
	framed.push_back(std::string(TopLeft) + std::string(Horizontal) + " " + std::string(title) + " " +
		Repeated(Horizontal, inner - Columns(title) - 3) + std::string(TopRight));
	for (const std::string& line : lines)
		framed.push_back(
			std::string(Vertical) + " " + line + std::string(width - Columns(line), ' ') + " " + std::string(Vertical));
	framed.push_back(std::string(BottomLeft) + Repeated(Horizontal, inner) + std::string(BottomRight));
	return framed;
}

} // namespace ReferenceHost
