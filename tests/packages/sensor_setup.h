// A sensor run from a package against a test's agent: the profile made from the shipped sample,
// and what the output must show.
#pragma once

#include <cstdint>
#include <string>

namespace kestrova_test {

// The sample profile `sample` with its address and community replaced; empty when the sample lacks
// either line, so that a test notices a sample that no longer shows how to fill it in.
std::string FilledProfile(const std::string& sample, const std::string& address,
                          const std::string& community);

// Whether the EXE/XML output `output` has a channel for local port `port` in state L (listening).
bool ReportsListening(const std::string& output, uint16_t port);

}  // namespace kestrova_test
