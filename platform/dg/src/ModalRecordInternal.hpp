// How modal dialogs enter the record: at show, and again when they close.
#pragma once

#include "DG/Panel.hpp"

#include <cstddef>
#include <cstdint>

namespace DG::detail {

inline constexpr std::size_t NoRecord = SIZE_MAX;

// Records the dialog as shown now and answers the entry's number for RecordClosed.
std::size_t RecordShown(const ModalDialog& dialog);
// Notes how the dialog closed; NoRecord, or an entry cleared meanwhile, is ignored.
void RecordClosed(std::size_t entry, ModalDialog::ModalResponse response);

} // namespace DG::detail
