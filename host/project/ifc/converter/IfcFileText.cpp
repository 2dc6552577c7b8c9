#include "IfcFileText.hpp"

#include <zip.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <memory>

namespace IfcReading {

namespace {

// No building's model comes near this; a larger entry is refused before it is unpacked.
constexpr zip_uint64_t LargestText = zip_uint64_t {1} << 30;

bool EndsWithIgnoringCase(std::string text, const std::string& end)
{
	std::transform(
		text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
	return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

std::optional<std::string> ReadZipped(const std::string& file, std::string& problem)
{
	int error = 0;
	std::unique_ptr<zip_t, decltype(&zip_discard)> archive(zip_open(file.c_str(), ZIP_RDONLY, &error), &zip_discard);
	if (archive == nullptr) {
		problem = "not a zip archive that can be read";
		return std::nullopt;
	}
	const zip_int64_t entries = zip_get_num_entries(archive.get(), 0);
	for (zip_int64_t i = 0; i < entries; ++i) {
		zip_stat_t stat;
		if (zip_stat_index(archive.get(), static_cast<zip_uint64_t>(i), 0, &stat) != 0 || stat.name == nullptr ||
			!EndsWithIgnoringCase(stat.name, ".ifc"))
			continue;
		if (!(stat.valid & ZIP_STAT_SIZE) || stat.size > LargestText) {
			problem = std::string(stat.name) + " inside is larger than 1 GiB";
			return std::nullopt;
		}
		std::unique_ptr<zip_file_t, decltype(&zip_fclose)> entry(
			zip_fopen_index(archive.get(), static_cast<zip_uint64_t>(i), 0), &zip_fclose);
		std::string text(static_cast<std::size_t>(stat.size), '\0');
		if (entry == nullptr || zip_fread(entry.get(), text.data(), stat.size) != static_cast<zip_int64_t>(stat.size)) {
			problem = std::string(stat.name) + " inside cannot be unpacked";
			return std::nullopt;
		}
		return text;
	}
	problem = "the zip archive holds no .ifc file";
	return std::nullopt;
}

} // namespace

std::optional<std::string> ReadIfcFileText(const std::string& file, std::string& problem)
{
	if (EndsWithIgnoringCase(file, ".ifczip"))
		return ReadZipped(file, problem);
	std::ifstream in(file, std::ios::binary);
	std::string text(std::istreambuf_iterator<char>(in), {});
	if (!in.is_open() || in.bad()) {
		problem = "cannot be read";
		return std::nullopt;
	}
	return text;
}

} // namespace IfcReading
