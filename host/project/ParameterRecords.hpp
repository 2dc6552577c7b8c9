// Parameter lists as they cross the host interface: a memory handle of consecutive 568-byte
// parameter records, array values in handles of their own. The host makes such handles for
// the parameter list and the element memo, and reads them back when an add-on changes an
// element with one.
#pragma once

#include "Project.hpp"

#include "VX/Memory.hpp"

#include <string>
#include <vector>

namespace ReferenceHost {

// A handle of the parameters' records, each array parameter's values in a handle of its own
// (texts: consecutive zero-terminated texts; numbers: consecutive doubles). Everything
// belongs to the receiver. The damage decides how careless the records are. 0 when memory
// cannot be had (nothing is then left allocated).
VX::HandleId MakeParameterListHandle(const std::vector<Parameter>& parameters, const AnswerDamage& damage);

// Releases a parameter list handle and the array handles in its whole records.
void ReleaseParameterListHandle(VX::HandleId handle);

// The parameters of a handle of records that an add-on hands back (names, types, shapes and
// values; no value lists). False with the reason when the handle is not live, its size is no
// whole number of records, or an array handle in it is not live or not whole.
bool ReadParameterListHandle(VX::HandleId handle, std::vector<Parameter>& parameters, std::string& problem);

// A handle of the texts, each followed by a zero byte; the last zero is left out when asked.
// 0 when memory cannot be had.
VX::HandleId MakeTextListHandle(const std::vector<std::string>& texts, bool dropLastZero);

} // namespace ReferenceHost
