// Where the run finds its profiles and writes its trace log.
#pragma once

#include <string>

#include "run/run_context.h"

namespace kestrova {

// True when `directory` holds a Kestrova.Host marker file that names a host flavour (first line,
// trimmed, any letter case: Xml, Statistic or Context; empty means Xml). The flavour goes to
// `flavour`.
bool SensorDirectorySetUp(Platform& platform, const std::string& directory, HostFlavour* flavour);

// The start directory when it is set up, else a candidate below the installation root named by
// C:\Prtg_Path.Txt. False after an error document: the run ends.
bool FindSensorDirectory(RunContext& context);

}  // namespace kestrova
