// SNMPv1 and SNMPv2c messages: the requests a walk sends and the responses it reads.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ber.h"

namespace morvane {

enum class SnmpVersion : int32_t { kV1 = 0, kV2c = 1 };

enum class PduType : uint8_t {
  kGetRequest = 0xA0,
  kGetNextRequest = 0xA1,
  kResponse = 0xA2,
  kGetBulkRequest = 0xA5,
};

enum class ValueType : uint8_t {
  kInteger = 0x02,
  kOctetString = 0x04,
  kNull = 0x05,
  kObjectIdentifier = 0x06,
  kIpAddress = 0x40,
  kCounter32 = 0x41,
  kGauge32 = 0x42,
  kTimeTicks = 0x43,
  kOpaque = 0x44,  // decoded without its content: no walk needs it
  kCounter64 = 0x46,
  kNoSuchObject = 0x80,
  kNoSuchInstance = 0x81,
  kEndOfMibView = 0x82,
};

enum ErrorStatus : int32_t {
  kNoError = 0,
  kTooBig = 1,
  kNoSuchName = 2,
};

struct Value {
  ValueType type = ValueType::kNull;
  int64_t integer = 0;  // kInteger
  uint64_t number = 0;  // kCounter32, kGauge32, kTimeTicks, kCounter64
  std::string octets;   // kOctetString, kIpAddress
  Oid oid;              // kObjectIdentifier
};

struct VarBind {
  Oid name;
  Value value;
};

struct Message {
  SnmpVersion version = SnmpVersion::kV2c;
  std::string community;
  PduType pdu_type = PduType::kGetNextRequest;
  int32_t request_id = 0;
  // In a GetBulk request these two carry non-repeaters and max-repetitions.
  int32_t error_status = 0;
  int32_t error_index = 0;
  std::vector<VarBind> varbinds;
};

std::string EncodeMessage(const Message& message);
// Nothing when the datagram is not exactly one well-formed message of a version and PDU type
// this library knows.
std::optional<Message> DecodeMessage(const unsigned char* data, size_t size);

}  // namespace morvane
