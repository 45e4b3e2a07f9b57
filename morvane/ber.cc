#include "ber.h"

namespace morvane {

bool ReadTlv(BerReader& reader, Tlv* tlv) {
  if (reader.size < 2) return false;
  const uint8_t tag = reader.data[0];
  if ((tag & 0x1F) == 0x1F) return false;  // multi-byte tags never occur in SNMP
  size_t header = 2;
  size_t length = reader.data[1];
  if (length & 0x80) {
    const size_t length_bytes = length & 0x7F;
    // 0x80 is the indefinite form; more than four length bytes cannot describe a datagram.
    if (length_bytes == 0 || length_bytes > 4 || reader.size < 2 + length_bytes) return false;
    length = 0;
    for (size_t i = 0; i < length_bytes; ++i) length = (length << 8) | reader.data[2 + i];
    header += length_bytes;
  }
  if (length > reader.size - header) return false;
  tlv->tag = tag;
  tlv->content = reader.data + header;
  tlv->length = length;
  reader.data += header + length;
  reader.size -= header + length;
  return true;
}

bool ReadTlvTagged(BerReader& reader, uint8_t tag, Tlv* tlv) {
  BerReader attempt = reader;
  if (!ReadTlv(attempt, tlv) || tlv->tag != tag) return false;
  reader = attempt;
  return true;
}

BerReader ContentReader(const Tlv& tlv) { return BerReader{tlv.content, tlv.length}; }

bool DecodeSigned(const Tlv& tlv, int64_t* value) {
  if (tlv.length == 0 || tlv.length > 8) return false;
  uint64_t bits = (tlv.content[0] & 0x80) ? ~uint64_t{0} : 0;
  for (size_t i = 0; i < tlv.length; ++i) bits = (bits << 8) | tlv.content[i];
  *value = static_cast<int64_t>(bits);
  return true;
}

bool DecodeUnsigned(const Tlv& tlv, unsigned max_bits, uint64_t* value) {
  if (tlv.length == 0) return false;
  const unsigned char* bytes = tlv.content;
  size_t length = tlv.length;
  if (length > 1 && bytes[0] == 0) {
    ++bytes;
    --length;
  }
  if (length * 8 > max_bits + 7) return false;
  uint64_t result = 0;
  for (size_t i = 0; i < length; ++i) result = (result << 8) | bytes[i];
  if (max_bits < 64 && (result >> max_bits) != 0) return false;
  *value = result;
  return true;
}

bool DecodeOid(const Tlv& tlv, Oid* oid) {
  oid->clear();
  if (tlv.length == 0) return false;
  // Every sub-identifier takes at least one byte, and the first byte holds two: one allocation.
  oid->reserve(tlv.length + 1);
  uint64_t sub_identifier = 0;
  size_t digits = 0;
  for (size_t i = 0; i < tlv.length; ++i) {
    const uint8_t byte = tlv.content[i];
    if (digits == 0 && byte == 0x80) return false;  // padding would allow endless encodings
    sub_identifier = (sub_identifier << 7) | (byte & 0x7F);
    if (sub_identifier > 0xFFFFFFFFu) return false;
    ++digits;
    if (byte & 0x80) continue;
    if (oid->empty()) {
      const uint32_t first = sub_identifier < 40 ? 0 : sub_identifier < 80 ? 1 : 2;
      oid->push_back(first);
      oid->push_back(static_cast<uint32_t>(sub_identifier - first * 40));
    } else {
      oid->push_back(static_cast<uint32_t>(sub_identifier));
    }
    if (oid->size() > kMaxOidLength) return false;
    sub_identifier = 0;
    digits = 0;
  }
  return digits == 0;
}

void AppendTlv(std::string& out, uint8_t tag, const std::string& content) {
  out += static_cast<char>(tag);
  const size_t length = content.size();
  if (length < 0x80) {
    out += static_cast<char>(length);
  } else {
    int bytes = 0;
    for (size_t rest = length; rest != 0; rest >>= 8) ++bytes;
    out += static_cast<char>(0x80 | bytes);
    for (int i = bytes - 1; i >= 0; --i) out += static_cast<char>((length >> (8 * i)) & 0xFF);
  }
  out += content;
}

std::string EncodeSigned(int64_t value) {
  std::string bytes;
  for (int i = 7; i >= 0; --i)
    bytes += static_cast<char>((static_cast<uint64_t>(value) >> (8 * i)) & 0xFF);
  // Drop leading bytes that only repeat the sign bit of the next.
  size_t start = 0;
  while (start < 7) {
    const uint8_t lead = static_cast<uint8_t>(bytes[start]);
    const uint8_t next = static_cast<uint8_t>(bytes[start + 1]);
    if (!((lead == 0x00 && !(next & 0x80)) || (lead == 0xFF && (next & 0x80)))) break;
    ++start;
  }
  return bytes.substr(start);
}

std::string EncodeUnsigned(uint64_t value) {
  std::string bytes;
  do {
    bytes.insert(bytes.begin(), static_cast<char>(value & 0xFF));
    value >>= 8;
  } while (value != 0);
  if (static_cast<uint8_t>(bytes[0]) & 0x80) bytes.insert(bytes.begin(), '\0');
  return bytes;
}

static void AppendSubIdentifier(std::string& out, uint64_t value) {
  char digits[10];
  int count = 0;
  do {
    digits[count++] = static_cast<char>(value & 0x7F);
    value >>= 7;
  } while (value != 0);
  while (count > 1) out += static_cast<char>(0x80 | digits[--count]);
  out += digits[0];
}

std::string EncodeOid(const Oid& oid) {
  std::string out;
  if (oid.size() < 2) {
    AppendSubIdentifier(out, 0);
    return out;
  }
  AppendSubIdentifier(out, uint64_t{oid[0]} * 40 + oid[1]);
  for (size_t i = 2; i < oid.size(); ++i) AppendSubIdentifier(out, oid[i]);
  return out;
}

}  // namespace morvane
