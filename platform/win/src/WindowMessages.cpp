// RegisterWindowMessageA: one number per name for the life of the process, from the range
// Windows reserves for registered messages.
#include "Win/Windows.hpp"

#include <cstring>
#include <mutex>
#include <string>
#include <unordered_map>

namespace {

constexpr UINT FirstRegisteredMessage = 0xC000;
constexpr UINT LastRegisteredMessage = 0xFFFF;

struct MessageState {
	std::mutex lock;
	std::unordered_map<std::string, UINT> numbers; // by name in lower case
	UINT next = FirstRegisteredMessage;
};

MessageState& State()
{
	static MessageState* state = new MessageState;
	return *state;
}

std::string LowerCase(const char* text)
{
	std::string lower(text);
	for (char& c : lower) {
		if (c >= 'A' && c <= 'Z')
			c = static_cast<char>(c - 'A' + 'a');
	}
	return lower;
}

} // namespace

extern "C" UINT RegisterWindowMessageA(LPCSTR lpString)
{
	if (lpString == nullptr || lpString[0] == '\0') {
		SetLastError(ERROR_INVALID_PARAMETER);
		return 0;
	}
	const std::string key = LowerCase(lpString);
	MessageState& state = State();
	std::lock_guard guard(state.lock);
	const auto found = state.numbers.find(key);
	if (found != state.numbers.end())
		return found->second;
	if (state.next > LastRegisteredMessage) {
		SetLastError(ERROR_NOT_ENOUGH_MEMORY);
		return 0;
	}
	const UINT number = state.next++;
	state.numbers.emplace(key, number);
	return number;
}
