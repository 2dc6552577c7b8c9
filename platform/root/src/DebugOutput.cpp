// DBPrintf and its sink. The text is formatted in full before it reaches the sink, so a sink
// sees each call's output in one piece however long it is.
#include "VX/DebugOutput.hpp"

#include <cstdarg>
#include <cstdio>
#include <mutex>
#include <vector>

namespace {

struct DebugState {
	std::mutex lock;
	VX::DebugSink sink;
};

DebugState& State()
{
	// Never destroyed: modules write their last lines from destructors at process exit.
	static DebugState* state = new DebugState;
	return *state;
}

} // namespace

void DBPrintf(const char* format, ...)
{
	if (format == nullptr)
		return;
	std::va_list arguments;
	va_start(arguments, format);
	std::va_list measuring;
	va_copy(measuring, arguments);
	const int length = std::vsnprintf(nullptr, 0, format, measuring);
	va_end(measuring);
	if (length < 0) {
		va_end(arguments);
		return;
	}
	std::vector<char> text(static_cast<std::size_t>(length) + 1);
	std::vsnprintf(text.data(), text.size(), format, arguments);
	va_end(arguments);

	const std::string_view output(text.data(), static_cast<std::size_t>(length));
	DebugState& state = State();
	std::lock_guard guard(state.lock);
	if (state.sink) {
		state.sink(output);
	} else {
		std::fwrite(output.data(), 1, output.size(), stderr);
		std::fflush(stderr);
	}
}

namespace VX {

DebugSink SetDebugSink(DebugSink sink)
{
	DebugState& state = State();
	std::lock_guard guard(state.lock);
	DebugSink previous = std::move(state.sink);
	state.sink = std::move(sink);
	return previous;
}

} // namespace VX
