// The glue around the configuration file's line parser: finding the file beside the module,
// creating it when missing, reading its bytes, telling the user about an unusable file or a
// line that lacks values, and entering the rows.
#include "lod/ReadDetailLevelFile.hpp"

#include "lod/DetailLevelParser.hpp"
#include "lod/DetailLevelTable.hpp"
#include "lod/Dlg_ErrorMessage.hpp"
#include "shell/AddOnLocation.hpp"

#include "IO/File.hpp"
#include "IO/Location.hpp"
#include "IO/Name.hpp"

#include <cstdint>
#include <string>
#include <string_view>

namespace {

constexpr std::int16_t LineLacksValuesMessage = 130;
constexpr std::int16_t FileUnusableMessage = 131;
constexpr std::string_view ConfigurationExtension = "txt";

void ShowMessage(std::int16_t stringListId)
{
	Dlg_ErrorMessage dialog(stringListId, false);
	dialog.Invoke();
}

// Upper-cases ASCII letters only: the comparison must not depend on the process locale.
std::string AsciiUpperCase(std::string_view text)
{
	std::string upper(text);
	for (char& c : upper) {
		if (c >= 'a' && c <= 'z')
			c = static_cast<char>(c - 'a' + 'A');
	}
	return upper;
}

// The file's bytes; false when they cannot be read.
bool ReadWholeFile(IO::File& file, std::string& bytes)
{
	std::uint64_t available = 0;
	if (file.GetAvailableBytes(&available) != IO::Status::Ok)
		return false;
	// A configuration file is small; only the low 32 bits of its size are taken.
	const std::uint32_t count = static_cast<std::uint32_t>(available);
	bytes.assign(count, '\0');
	std::uint64_t arrived = 0;
	const IO::Status status = file.ReadBytes(bytes.data(), count, &arrived);
	// A file that shrank since its size was asked gives what it still holds.
	if (status != IO::Status::Ok && status != IO::Status::EndOfFile)
		return false;
	bytes.resize(static_cast<std::size_t>(arrived));
	return true;
}

} // namespace

bool ConfigurationFileLocation(const IO::Location& moduleLocation, IO::Location& out)
{
	IO::Name name;
	if (moduleLocation.GetLastLocalName(&name) != IO::Status::Ok)
		return false;
	if (name.HasExtension()) {
		if (AsciiUpperCase(name.GetExtension().View()) != AsciiUpperCase(FACETALLY_ADDON_EXTENSION))
			return false;
		name.DeleteExtension();
	}
	name.AppendExtension(ConfigurationExtension);
	IO::Location location = moduleLocation;
	if (location.SetLastLocalName(name) != IO::Status::Ok)
		return false;
	out = location;
	return true;
}

void ReadDetailLevelFile()
{
	DetailLevelTable& table = DetailLevels();
	table.Clear();

	IO::Location moduleLocation;
	if (AddOnLocation(moduleLocation) != HostSdk::StatusOk)
		return;
	IO::Location location;
	if (!ConfigurationFileLocation(moduleLocation, location))
		return;

	IO::File file(location, IO::File::OnNotFound::Create);
	std::string bytes;
	// A file that opens but cannot be read is as unusable as one that cannot be opened.
	if (file.Open(IO::File::OpenMode::Read) != IO::Status::Ok || !ReadWholeFile(file, bytes)) {
		ShowMessage(FileUnusableMessage);
		file.Close();
		return;
	}

	const DetailLevelParse parse = ParseDetailLevelText(bytes);
	for (const DetailLevelLine& line : parse.rows) {
		// The user reads about the line before it is entered with the values it has.
		if (line.lacksValues)
			ShowMessage(LineLacksValuesMessage);
		DetailLevelTable::Row row;
		row.SetSize(static_cast<VX::UIndex>(line.values.size()));
		for (std::size_t position = 0; position < line.values.size(); ++position)
			row[static_cast<VX::UIndex>(position)] = line.values[position];
		table.Add(line.name, std::move(row));
	}
	file.Close();
}
