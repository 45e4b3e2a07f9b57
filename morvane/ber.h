// Basic Encoding Rules for the subset SNMP uses. The decoder reads bytes from the network: every
// length is checked against what remains before anything is read or allocated.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace morvane {

using Oid = std::vector<uint32_t>;

// SNMP allows at most 128 sub-identifiers in an object identifier.
constexpr size_t kMaxOidLength = 128;

// What is left to read of a run of untrusted bytes.
struct BerReader {
  const unsigned char* data;
  size_t size;
};

// One tag-length-value; `content` points into the reader's bytes.
struct Tlv {
  uint8_t tag;
  const unsigned char* content;
  size_t length;
};

// Takes the next tag-length-value from the reader. False when it is malformed or longer than what
// remains; the reader is then unchanged. Only single-byte tags and definite lengths are accepted.
bool ReadTlv(BerReader& reader, Tlv* tlv);
// As ReadTlv, and false too when the tag is not `tag`.
bool ReadTlvTagged(BerReader& reader, uint8_t tag, Tlv* tlv);
BerReader ContentReader(const Tlv& tlv);

// Two's complement INTEGER of 1 to 8 bytes.
bool DecodeSigned(const Tlv& tlv, int64_t* value);
// Unsigned value of at most `max_bits` bits; a leading zero byte beyond them is allowed.
bool DecodeUnsigned(const Tlv& tlv, unsigned max_bits, uint64_t* value);
bool DecodeOid(const Tlv& tlv, Oid* oid);

void AppendTlv(std::string& out, uint8_t tag, const std::string& content);
std::string EncodeSigned(int64_t value);
std::string EncodeUnsigned(uint64_t value);
// The first two sub-identifiers must be valid (first at most 2); a shorter OID encodes as 0.0.
std::string EncodeOid(const Oid& oid);

}  // namespace morvane
