// Locations as path texts with '/' separators. The path is kept as given (no resolution of
// "." or ".." and no look at the file system), so a location always says what it was built
// from.
#include "IO/Location.hpp"

#include <string>

namespace IO {

namespace {

bool IsUsableComponent(const std::string& name)
{
	return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
		name.find('\0') == std::string::npos;
}

// Drops separators at the end but keeps a lone root.
std::string WithoutTrailingSeparators(std::string path)
{
	while (path.size() > 1 && path.back() == '/')
		path.pop_back();
	return path;
}

bool HasLastComponent(const std::string& path)
{
	return !path.empty() && path != "/";
}

} // namespace

Location::Location(std::string_view pathText)
{
	if (!pathText.empty() && pathText.find('\0') == std::string_view::npos)
		path = VX::String(WithoutTrailingSeparators(std::string(pathText)));
}

Status Location::GetStatus() const
{
	return path.IsEmpty() ? Status::BadPath : Status::Ok;
}

Status Location::GetLastLocalName(Name* name) const
{
	if (name == nullptr)
		return Status::BadParameter;
	const std::string& whole = path.ToStd();
	if (!HasLastComponent(whole)) {
		*name = Name();
		return path.IsEmpty() ? Status::BadPath : Status::NoName;
	}
	const std::size_t separator = whole.rfind('/');
	*name = Name(separator == std::string::npos ? whole : whole.substr(separator + 1));
	return Status::Ok;
}

Status Location::SetLastLocalName(const Name& name)
{
	const std::string& whole = path.ToStd();
	if (path.IsEmpty())
		return Status::BadPath;
	if (!HasLastComponent(whole))
		return Status::NoName;
	if (!IsUsableComponent(name.ToString().ToStd()))
		return Status::BadName;
	const std::size_t separator = whole.rfind('/');
	const std::string folder = separator == std::string::npos ? std::string() : whole.substr(0, separator + 1);
	path = VX::String(folder + name.ToString().ToStd());
	return Status::Ok;
}

Status Location::AppendToLocal(const Name& name)
{
	if (path.IsEmpty())
		return Status::BadPath;
	if (!IsUsableComponent(name.ToString().ToStd()))
		return Status::BadName;
	const std::string& whole = path.ToStd();
	path = VX::String(whole + (whole == "/" ? "" : "/") + name.ToString().ToStd());
	return Status::Ok;
}

Status Location::DeleteLastLocalName()
{
	const std::string& whole = path.ToStd();
	if (path.IsEmpty())
		return Status::BadPath;
	if (!HasLastComponent(whole))
		return Status::NoName;
	const std::size_t separator = whole.rfind('/');
	if (separator == std::string::npos)
		path = VX::String(".");
	else if (separator == 0)
		path = VX::String("/");
	else
		path = VX::String(WithoutTrailingSeparators(whole.substr(0, separator)));
	return Status::Ok;
}

} // namespace IO
