// The ten hash tables the module uses, instantiated in full so that every member compiles for
// each; their behaviour is exercised through the typed suite over the same types.
#include "VXRoot/HashTable.hpp"
#include "counting/GuidStr.hpp"
#include "counting/LibRow.hpp"

#include <vector>

template class VX::HashTable<long, short>;
template class VX::HashTable<long, int>;
template class VX::HashTable<long, long>;
template class VX::HashTable<long, LibRow>;
template class VX::HashTable<long, VX::String>;
template class VX::HashTable<GuidStr, short>;
template class VX::HashTable<API_ElemTypeID, VX::HashTable<long, int>>;
template class VX::HashTable<API_ElemTypeID, VX::HashTable<long, LibRow>>;
template class VX::HashTable<API_ElemTypeID, std::vector<LibRow>>;
template class VX::HashTable<API_ElemTypeID, bool>;
