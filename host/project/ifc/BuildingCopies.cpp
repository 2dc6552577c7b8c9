#include "BuildingCopies.hpp"

#include <array>
#include <cctype>
#include <set>
#include <vector>

namespace IfcReading {

namespace {

// What every copy shares with the original rather than repeats.
const std::set<std::string_view> SharedClasses = {"IFCPROJECT", "IFCSITE", "IFCBUILDING", "IFCBUILDINGSTOREY",
	"IFCGEOMETRICREPRESENTATIONCONTEXT", "IFCGEOMETRICREPRESENTATIONSUBCONTEXT", "IFCUNITASSIGNMENT",
	"IFCOWNERHISTORY"};

constexpr std::string_view GlobalIdAlphabet = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz_$";

struct Instance {
	std::string_view text; // "#12= IFCWALL(...);"
	long id = 0;
	std::string_view className;
};

std::vector<Instance> InstancesOf(std::string_view data)
{
	std::vector<Instance> instances;
	std::size_t at = 0;
	while ((at = data.find('#', at)) != std::string_view::npos) {
		// An instance ends at the first semicolon outside a text.
		std::size_t end = at;
		bool inText = false;
		for (; end < data.size(); ++end) {
			if (data[end] == '\'')
				inText = !inText;
			else if (data[end] == ';' && !inText)
				break;
		}
		if (end >= data.size())
			break;
		Instance instance;
		instance.text = data.substr(at, end + 1 - at);
		std::size_t p = at + 1;
		while (p < end && std::isdigit(static_cast<unsigned char>(data[p])))
			instance.id = instance.id * 10 + (data[p++] - '0');
		while (p < end && (data[p] == ' ' || data[p] == '='))
			++p;
		const std::size_t nameStart = p;
		while (p < end && (std::isalnum(static_cast<unsigned char>(data[p])) || data[p] == '_'))
			++p;
		instance.className = data.substr(nameStart, p - nameStart);
		instances.push_back(instance);
		at = end + 1;
	}
	return instances;
}

// A quoted text of 22 characters of the GlobalId alphabet at the quote.
bool IsGlobalIdAt(std::string_view text, std::size_t quote)
{
	if (quote + 23 >= text.size() || text[quote + 23] != '\'')
		return false;
	for (std::size_t i = quote + 1; i < quote + 23; ++i)
		if (GlobalIdAlphabet.find(text[i]) == std::string_view::npos)
			return false;
	return true;
}

// The instance with its own number and references moved by offset (shared ones kept), and
// its GlobalId, when it has one, marked with the copy's number.
std::string CopyOf(const Instance& instance, long offset, const std::set<long>& shared, int copy)
{
	std::string out;
	out.reserve(instance.text.size() + 16);
	const std::string_view text = instance.text;
	bool inText = false;
	bool globalIdDone = false;
	for (std::size_t i = 0; i < text.size(); ++i) {
		const char c = text[i];
		if (c == '\'') {
			if (!inText && !globalIdDone && IsGlobalIdAt(text, i)) {
				// The first text of the instance, 22 characters long: its GlobalId.
				std::string id(text.substr(i + 1, 22));
				id[20] = GlobalIdAlphabet[static_cast<std::size_t>(copy) / 64 % 64];
				id[21] = GlobalIdAlphabet[static_cast<std::size_t>(copy) % 64];
				out += '\'' + id + '\'';
				i += 23;
				globalIdDone = true;
				continue;
			}
			inText = !inText;
			out += c;
			globalIdDone = globalIdDone || text.find('(') < i;
			continue;
		}
		if (c == '#' && !inText) {
			long id = 0;
			std::size_t j = i + 1;
			while (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j])))
				id = id * 10 + (text[j++] - '0');
			out += '#' + std::to_string(shared.contains(id) ? id : id + offset);
			i = j - 1;
			continue;
		}
		out += c;
	}
	return out;
}

} // namespace

std::string RepeatBuilding(std::string_view text, int copies)
{
	const std::size_t dataStart = text.find("DATA;");
	const std::size_t dataEnd = text.rfind("ENDSEC;");
	if (copies <= 1 || dataStart == std::string_view::npos || dataEnd == std::string_view::npos || dataEnd < dataStart)
		return std::string(text);
	const std::vector<Instance> instances = InstancesOf(text.substr(dataStart + 5, dataEnd - dataStart - 5));
	long largest = 0;
	std::set<long> shared;
	for (const Instance& instance : instances) {
		largest = std::max(largest, instance.id);
		if (SharedClasses.contains(instance.className))
			shared.insert(instance.id);
	}
	std::string out(text.substr(0, dataEnd));
	for (int copy = 1; copy < copies; ++copy)
		for (const Instance& instance : instances)
			if (!shared.contains(instance.id))
				out += CopyOf(instance, largest * copy, shared, copy) + "\n";
	out += text.substr(dataEnd);
	return out;
}

} // namespace IfcReading
