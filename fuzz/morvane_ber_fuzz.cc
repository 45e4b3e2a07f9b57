// Every datagram a device sends goes through this decoder; whatever it accepts must encode again
// and decode to the same message.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "snmp_message.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::optional<morvane::Message> message = morvane::DecodeMessage(data, size);
  if (!message) return 0;
  const std::string encoded = morvane::EncodeMessage(*message);
  const std::optional<morvane::Message> again = morvane::DecodeMessage(
      reinterpret_cast<const unsigned char*>(encoded.data()), encoded.size());
  if (!again || again->varbinds.size() != message->varbinds.size() ||
      again->request_id != message->request_id || again->community != message->community) {
    std::abort();
  }
  return 0;
}
