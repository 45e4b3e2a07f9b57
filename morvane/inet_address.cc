#include "inet_address.h"

namespace morvane {

namespace {

uint32_t Byte(const std::string& bytes, size_t i) { return static_cast<uint8_t>(bytes[i]); }

std::string Ipv4Text(const std::string& bytes, size_t start) {
  std::string text;
  for (size_t i = 0; i < 4; ++i) {
    if (i) text += '.';
    text += std::to_string(Byte(bytes, start + i));
  }
  return text;
}

std::string Hex(uint32_t value) {
  static const char kDigits[] = "0123456789abcdef";
  std::string text;
  do {
    text.insert(text.begin(), kDigits[value & 0xF]);
    value >>= 4;
  } while (value != 0);
  return text;
}

std::string Ipv6Text(const std::string& bytes) {
  uint32_t groups[8];
  for (size_t i = 0; i < 8; ++i) groups[i] = Byte(bytes, 2 * i) << 8 | Byte(bytes, 2 * i + 1);
  const bool ipv4_mapped = groups[0] == 0 && groups[1] == 0 && groups[2] == 0 && groups[3] == 0 &&
                           groups[4] == 0 && groups[5] == 0xFFFF;
  if (ipv4_mapped) return "::ffff:" + Ipv4Text(bytes, 12);
  // The longest run of two or more zero groups becomes "::", the first of equal runs.
  size_t best_start = 8, best_length = 1;
  for (size_t i = 0; i < 8;) {
    size_t end = i;
    while (end < 8 && groups[end] == 0) ++end;
    if (end - i > best_length) {
      best_start = i;
      best_length = end - i;
    }
    i = end == i ? i + 1 : end;
  }
  std::string text;
  for (size_t i = 0; i < 8; ++i) {
    if (i == best_start) {
      text += "::";
      i += best_length - 1;
      continue;
    }
    if (!text.empty() && text.back() != ':') text += ':';
    text += Hex(groups[i]);
  }
  return text;
}

std::string Zone(const std::string& bytes, size_t start) {
  uint32_t zone = 0;
  for (size_t i = 0; i < 4; ++i) zone = zone << 8 | Byte(bytes, start + i);
  return "%" + std::to_string(zone);
}

}  // namespace

std::optional<std::string> FormatInetAddress(uint32_t type, const std::string& bytes) {
  switch (type) {
    case kInetUnknown:
      if (bytes.empty()) return std::string();
      break;
    case kInetIpv4:
      if (bytes.size() == 4) return Ipv4Text(bytes, 0);
      break;
    case kInetIpv6:
      if (bytes.size() == 16) return Ipv6Text(bytes);
      break;
    case kInetIpv4z:
      if (bytes.size() == 8) return Ipv4Text(bytes, 0) + Zone(bytes, 4);
      break;
    case kInetIpv6z:
      if (bytes.size() == 20) return Ipv6Text(bytes.substr(0, 16)) + Zone(bytes, 16);
      break;
  }
  return {};
}

std::string FormatEndpoint(const std::string& address, uint16_t port) {
  const bool ipv6 = address.find(':') != std::string::npos;
  return (ipv6 ? "[" + address + "]" : address) + ":" + std::to_string(port);
}

}  // namespace morvane
