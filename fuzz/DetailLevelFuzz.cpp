// Fuzz target: the detail-level configuration file's reader on arbitrary bytes, and the table
// its rows are entered into.
//
// Checked beyond "no crash": rows come in the order of their lines; each line that gives no
// row has a reason (too short, blank, a comment, a name with nothing after it); each row's
// name is its line's first word; a row has at least three values or is marked as lacking
// values; the rows written back as a file read back equal; the table keeps every row, rows of
// one name in the order of their lines.
#include "FuzzCheck.hpp"

#include "lod/DetailLevelParser.hpp"
#include "lod/DetailLevelTable.hpp"

#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace {

// The lines of the text as the format splits them: at line feeds, ending at the first NUL.
std::vector<std::string_view> Lines(std::string_view bytes)
{
	const std::string_view text = bytes.substr(0, bytes.find('\0'));
	std::vector<std::string_view> lines;
	std::size_t start = 0;
	do {
		const std::size_t feed = text.find('\n', start);
		const std::size_t end = feed == std::string_view::npos ? text.size() : feed;
		lines.push_back(text.substr(start, end - start));
		start = end + 1;
	} while (start < text.size());
	return lines;
}

// The first word of the line and whether anything follows its separator.
struct FirstWord {
	std::string_view word;
	bool followed = false;
};

FirstWord WordOf(std::string_view line)
{
	const std::size_t start = line.find_first_not_of(" \t");
	if (start == std::string_view::npos)
		return {};
	const std::size_t end = line.find_first_of(" \t", start);
	if (end == std::string_view::npos)
		return {line.substr(start), false};
	return {line.substr(start, end - start), end + 1 < line.size()};
}

bool HasReasonToGiveNoRow(std::string_view line)
{
	if (line.size() < 2)
		return true;
	const FirstWord first = WordOf(line);
	return first.word.empty() || first.word[0] == '#' || !first.followed;
}

std::string AsText(const VX::String& text)
{
	return std::string(text.View());
}

// The rows as a file: the name, then every value in quotes; a row without values gets a word
// that is no value, so the line is not taken for a name alone.
std::string WrittenBack(const DetailLevelParse& parse)
{
	std::string file;
	for (const DetailLevelLine& row : parse.rows) {
		file += AsText(row.name);
		file += row.values.empty() ? " -" : "";
		for (const VX::String& value : row.values)
			file += " \"" + AsText(value) + "\"";
		file += '\n';
	}
	return file;
}

bool SameRows(const DetailLevelParse& a, const DetailLevelParse& b)
{
	if (a.rows.size() != b.rows.size())
		return false;
	for (std::size_t i = 0; i < a.rows.size(); ++i) {
		if (AsText(a.rows[i].name) != AsText(b.rows[i].name) || a.rows[i].values.size() != b.rows[i].values.size() ||
			a.rows[i].lacksValues != b.rows[i].lacksValues)
			return false;
		for (std::size_t k = 0; k < a.rows[i].values.size(); ++k)
			if (AsText(a.rows[i].values[k]) != AsText(b.rows[i].values[k]))
				return false;
	}
	return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
	const std::string_view bytes(reinterpret_cast<const char*>(data), size);
	const DetailLevelParse parse = ParseDetailLevelText(bytes);
	const std::vector<std::string_view> lines = Lines(bytes);

	std::size_t nextRow = 0;
	std::vector<std::size_t> lacking;
	for (std::size_t number = 1; number <= lines.size(); ++number) {
		const std::string_view line = lines[number - 1];
		if (nextRow == parse.rows.size() || parse.rows[nextRow].lineNumber != number) {
			FUZZ_CHECK(HasReasonToGiveNoRow(line));
			continue;
		}
		const DetailLevelLine& row = parse.rows[nextRow++];
		FUZZ_CHECK(!HasReasonToGiveNoRow(line));
		FUZZ_CHECK(AsText(row.name) == WordOf(line).word);
		FUZZ_CHECK(row.lacksValues == (row.values.size() < 2));
		FUZZ_CHECK(row.values.size() != 2);
		for (const VX::String& value : row.values)
			FUZZ_CHECK(
				value.View().find('"') == std::string_view::npos && value.View().find('\n') == std::string_view::npos);
		if (row.lacksValues)
			lacking.push_back(number);
	}
	FUZZ_CHECK(nextRow == parse.rows.size());
	FUZZ_CHECK(lacking == parse.linesLackingValues);

	FUZZ_CHECK(SameRows(ParseDetailLevelText(WrittenBack(parse)), parse));

	DetailLevelTable table;
	for (const DetailLevelLine& row : parse.rows) {
		DetailLevelTable::Row values;
		values.SetSize(static_cast<VX::UIndex>(row.values.size()));
		for (std::size_t k = 0; k < row.values.size(); ++k)
			values[static_cast<VX::UIndex>(k)] = row.values[k];
		table.Add(row.name, std::move(values));
	}
	FUZZ_CHECK(table.GetSize() == parse.rows.size());
	std::set<std::string> names;
	for (const DetailLevelLine& row : parse.rows) {
		if (!names.insert(AsText(row.name)).second)
			continue;
		// The rows of this name in the table are those of the parse with this name, in order.
		auto [at, end] = table.EqualRange(row.name);
		for (const DetailLevelLine& same : parse.rows) {
			if (AsText(same.name) != AsText(row.name))
				continue;
			FUZZ_CHECK(at != end);
			FUZZ_CHECK(static_cast<std::size_t>(at->second.GetSize()) == same.values.size());
			for (std::size_t k = 0; k < same.values.size(); ++k)
				FUZZ_CHECK(AsText(at->second[static_cast<VX::UIndex>(k)]) == AsText(same.values[k]));
			++at;
		}
		FUZZ_CHECK(at == end);
	}
	return 0;
}
