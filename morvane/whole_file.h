// Writing a file so that a reader never sees it half-written.
#pragma once

#include <string>

namespace morvane {

// The name the system uses for a table file name as the program passes it.
std::string HostFileName(const std::string& name);

// Writes `text` to a temporary file beside `name`, then renames it over `name`. False when that
// failed; no temporary file is left then.
bool WriteFileWhole(const std::string& name, const std::string& text);

// Renames `from` over `to`, replacing `to` when it exists.
bool RenameOver(const std::string& from, const std::string& to);

}  // namespace morvane
