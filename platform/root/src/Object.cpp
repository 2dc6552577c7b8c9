// The default behaviour of VX::Object and the object frames on channels.
#include "VX/Object.hpp"

#include <cstring>
#include <string>

namespace VX {

const ClassInfo Object::classInfo {"VX::Object", 1, 0};

Object::~Object() = default;

const ClassInfo* Object::Get_ClassInfo() const
{
	return &classInfo;
}

// A class that stores nothing of its own writes and reads an empty frame.
ErrCode Object::Read(IChannel& channel)
{
	InputFrame frame(channel, *Get_ClassInfo());
	return frame.GetStatus();
}

ErrCode Object::Write(OChannel& channel) const
{
	OutputFrame frame(channel, *Get_ClassInfo());
	return NoError;
}

ErrCode Object::MethodCall(std::int32_t, void*, void*)
{
	return ErrorNotSupported;
}

// Identity hash: distinct live objects differ unless a class defines a value hash.
std::uint32_t Object::GetHashValue() const
{
	auto address = reinterpret_cast<std::uintptr_t>(this);
	return static_cast<std::uint32_t>(address ^ (address >> 32));
}

ErrCode Object::Print(OChannel& channel) const
{
	channel << Get_ClassInfo()->GetName() << '\n';
	return NoError;
}

ErrCode Object::Dump(OChannel& channel) const
{
	channel << Get_ClassInfo()->GetName() << " at " << static_cast<const void*>(this) << '\n';
	return NoError;
}

bool Object::CheckState() const
{
	return true;
}

OutputFrame::OutputFrame(OChannel& channel, const ClassInfo& info)
{
	channel.PutText(info.GetName(), std::strlen(info.GetName()));
	channel.PutUInt32(info.GetMajorVersion());
	channel.PutUInt32(info.GetMinorVersion());
}

InputFrame::InputFrame(IChannel& channel, const ClassInfo& info)
{
	std::string name;
	std::uint32_t major = 0;
	std::uint32_t minor = 0;
	// Class names are short; a longer length is a sign of foreign data.
	if (channel.GetText(name, 255) != NoError || channel.GetUInt32(major) != NoError ||
		channel.GetUInt32(minor) != NoError) {
		status = channel.GetStatus();
		return;
	}
	if (name != info.GetName() || major != info.GetMajorVersion()) {
		status = ErrorFormat;
		return;
	}
	minorVersion = static_cast<std::uint16_t>(minor);
}

} // namespace VX
