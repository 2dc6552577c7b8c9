// Level names, read from the module's own string list on first use.
#include "lod/LevelCodes.hpp"

#include "shell/ResourceModuleScope.hpp"

namespace {

constexpr std::int32_t LevelNameStringList = 150;

struct LevelNames {
	char texts[LevelCodes::ChoiceCount][256] = {};
	bool loaded = false;
};

LevelNames& Names()
{
	static LevelNames names;
	if (!names.loaded) {
		const ResourceModuleScope scope;
		for (int code = 0; code < LevelCodes::ChoiceCount; ++code)
			LoadResourceString(LevelNameStringList, code + 1, names.texts[code]);
		names.loaded = true;
	}
	return names;
}

} // namespace

const char* LevelName(std::int32_t code)
{
	const int shown = LevelCodes::IsChoice(code) ? code : LevelCodes::Custom;
	return Names().texts[shown];
}
