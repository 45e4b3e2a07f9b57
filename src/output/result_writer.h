// The result document on standard output, in the run's host flavour.
#pragma once

#include <string>

#include "run/run_context.h"

namespace kestrova {

void OpenDocument(RunContext& context);
void WriteChannel(RunContext& context, const std::string& name, const std::string& value,
                  const std::string& unit);
void WriteMessageText(RunContext& context, const std::string& text);
void WriteErrorInDocument(RunContext& context, const std::string& text);
void CloseDocument(RunContext& context);
void WriteErrorDocument(RunContext& context, const std::string& text);

// The name with each of " /\[]*():" replaced by "_", keeping at most 99 characters after each
// replaced one.
std::string SanitisedName(const std::string& name);

}  // namespace kestrova
