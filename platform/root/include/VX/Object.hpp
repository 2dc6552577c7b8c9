// VX::Object, the root class of the platform's polymorphic objects, with the class
// information each class publishes and the frames that wrap an object's binary contents on
// a channel. Every derived class keeps the Object operations first in its virtual table,
// in the order declared here.
#pragma once

#include "VX/Channel.hpp"

#include <cstdint>

namespace VX {

// Name and version of a class; objects written by a class can be read back by the same
// class with the same major version.
class ClassInfo {
public:
	constexpr ClassInfo(const char* className, std::uint16_t major, std::uint16_t minor)
		: name(className), majorVersion(major), minorVersion(minor)
	{
	}
	const char* GetName() const { return name; }
	std::uint16_t GetMajorVersion() const { return majorVersion; }
	std::uint16_t GetMinorVersion() const { return minorVersion; }

private:
	const char* name;
	std::uint16_t majorVersion;
	std::uint16_t minorVersion;
};

class Object {
public:
	Object() = default;
	Object(const Object&) = default;
	Object& operator=(const Object&) = default;

	virtual const ClassInfo* Get_ClassInfo() const;
	// A new copy of the object, owned by the caller.
	virtual Object* Clone() const = 0;
	virtual ~Object();
	virtual ErrCode Read(IChannel& channel);
	virtual ErrCode Write(OChannel& channel) const;
	// Calls by method number, for scripting hosts; no class of this library offers any.
	virtual ErrCode MethodCall(std::int32_t methodId, void* arguments, void* result);
	virtual std::uint32_t GetHashValue() const;
	// Readable contents, for people.
	virtual ErrCode Print(OChannel& channel) const;
	// Internal state, for debugging.
	virtual ErrCode Dump(OChannel& channel) const;
	// True when the object's invariants hold.
	virtual bool CheckState() const;

	static const ClassInfo classInfo;
};

// Writes the frame header of an object (its class name and version) before its contents.
class OutputFrame {
public:
	OutputFrame(OChannel& channel, const ClassInfo& info);
};

// Reads and checks the frame header that OutputFrame wrote: the status is ErrorFormat when
// the frame belongs to another class or to another major version.
class InputFrame {
public:
	InputFrame(IChannel& channel, const ClassInfo& info);
	ErrCode GetStatus() const { return status; }
	std::uint16_t GetMinorVersion() const { return minorVersion; }

private:
	ErrCode status = NoError;
	std::uint16_t minorVersion = 0;
};

} // namespace VX
