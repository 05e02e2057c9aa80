#pragma once
// setup.csv on disk: written whole or not at all, read back as its last line's fields.
#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "settings/SetupCsv.h"

namespace gs::settings {

// Writes the header and the indices. Written beside the old file and moved over it in one
// step, so a failed save leaves the previous file as it was, never a truncated one; where no
// file can be made beside it, in place. Never throws.
void SaveSetupFile(Platform& platform, const std::wstring& path,
                   const int (&indices)[kSetupColumns]);

// The fields of the file's last line; nothing when it cannot be read.
std::optional<std::vector<std::string>> ReadSetupFields(const std::wstring& path);

}  // namespace gs::settings
