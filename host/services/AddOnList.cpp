// Token issue and caller lookup for the host's services.
#include "AddOnList.hpp"

namespace ReferenceHost {

AddOn& AddOnList::Add(std::filesystem::path file)
{
	addOns.push_back(std::make_unique<AddOn>(std::move(file), nextToken++, calls));
	return *addOns.back();
}

AddOn* AddOnList::FromToken(ModuleToken token) const
{
	if (token == 0)
		return nullptr;
	for (const auto& addOn : addOns)
		if (addOn->Token() == token && addOn->IsLoaded())
			return addOn.get();
	return nullptr;
}

std::vector<AddOn*> AddOnList::Loaded() const
{
	std::vector<AddOn*> loaded;
	for (const auto& addOn : addOns)
		if (addOn->IsLoaded())
			loaded.push_back(addOn.get());
	return loaded;
}

AddOn* AddOnList::Find(std::string_view name) const
{
	for (const auto& addOn : addOns)
		if (addOn->IsLoaded() && addOn->Name() == name)
			return addOn.get();
	return nullptr;
}

} // namespace ReferenceHost
