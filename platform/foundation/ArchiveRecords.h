#pragma once

#include "platform/foundation/Value.h"

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace platform {

// Whole records of keyed archives (see KeyedArchive) as they lie in the bytes. An archive
// made of records taken from other archives reads back as those records did there, so a
// long list that changed a little is archived again mostly by copying.

// Each record of `data` in order, as views into it; nullopt when the bytes are not laid out
// as an archive. The checksum is not checked: that is for reading the archive.
std::optional<std::vector<std::string_view>> archiveRecords(const Bytes& data);
// An archive of these records in this order. With `offsets`, where each one begins in it.
Bytes archiveOfRecords(const std::vector<std::string_view>& records, std::vector<uint32_t>* offsets = nullptr);

} // namespace platform
