// Names of keys, for messages and scripts.
#include "DG/Keys.hpp"

#include <cstring>

namespace DG::Key {

namespace {
struct Named {
	short key;
	const char* name;
};
constexpr Named SpecialKeys[] = {
	{Backspace, "Backspace"},
	{Tab, "Tab"},
	{Enter, "Enter"},
	{Return, "Return"},
	{Escape, "Escape"},
	{Delete, "Delete"},
	{Left, "Left"},
	{Right, "Right"},
	{Up, "Up"},
	{Down, "Down"},
};
// One printable character per key code, kept alive for Name's answer.
char printable[128][2];
} // namespace

const char* Name(short key)
{
	for (const Named& named : SpecialKeys) {
		if (named.key == key)
			return named.name;
	}
	if (key > 32 && key < 127) {
		printable[key][0] = static_cast<char>(key);
		printable[key][1] = '\0';
		return printable[key];
	}
	return "an unknown key";
}

short FromName(const char* name)
{
	if (name == nullptr)
		return 0;
	for (const Named& named : SpecialKeys) {
		if (std::strcmp(named.name, name) == 0)
			return named.key;
	}
	if (std::strlen(name) == 1 && name[0] > 32 && name[0] < 127)
		return name[0];
	return 0;
}

} // namespace DG::Key
