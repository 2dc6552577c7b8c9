// The root library's debug output. DBPrintf formats like printf and hands the text to the
// debug sink: standard error unless a sink is installed, which is how tests read what a module
// wrote.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <utility>

// Writes the formatted text to the debug sink, as it stands (no line end is added).
void DBPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));

namespace VX {

using DebugSink = std::function<void(std::string_view text)>;

// Installs a sink for DBPrintf's output and returns the one it replaces; an empty sink
// restores standard error.
DebugSink SetDebugSink(DebugSink sink);

// Collects DBPrintf's output for its lifetime, then puts the previous sink back.
class DebugOutputCapture {
public:
	DebugOutputCapture() : previous(SetDebugSink([this](std::string_view text) { captured.append(text); })) {}
	~DebugOutputCapture() { SetDebugSink(std::move(previous)); }
	DebugOutputCapture(const DebugOutputCapture&) = delete;
	DebugOutputCapture& operator=(const DebugOutputCapture&) = delete;

	const std::string& Text() const { return captured; }
	void Clear() { captured.clear(); }

private:
	std::string captured;
	DebugSink previous;
};

} // namespace VX
