#include "snmp_message.h"

#include <climits>

namespace morvane {

namespace {

constexpr uint8_t kIntegerTag = 0x02;
constexpr uint8_t kOctetStringTag = 0x04;
constexpr uint8_t kObjectIdentifierTag = 0x06;
constexpr uint8_t kSequenceTag = 0x30;

std::string EncodeValue(const Value& value) {
  std::string out;
  const uint8_t tag = static_cast<uint8_t>(value.type);
  switch (value.type) {
    case ValueType::kInteger:
      AppendTlv(out, tag, EncodeSigned(value.integer));
      break;
    case ValueType::kOctetString:
    case ValueType::kIpAddress:
      AppendTlv(out, tag, value.octets);
      break;
    case ValueType::kObjectIdentifier:
      AppendTlv(out, tag, EncodeOid(value.oid));
      break;
    case ValueType::kCounter32:
    case ValueType::kGauge32:
    case ValueType::kTimeTicks:
    case ValueType::kCounter64:
      AppendTlv(out, tag, EncodeUnsigned(value.number));
      break;
    case ValueType::kNull:
    case ValueType::kOpaque:
    case ValueType::kNoSuchObject:
    case ValueType::kNoSuchInstance:
    case ValueType::kEndOfMibView:
      AppendTlv(out, tag, "");
      break;
  }
  return out;
}

bool DecodeInt32(BerReader& reader, int32_t* value) {
  Tlv tlv;
  int64_t wide;
  if (!ReadTlvTagged(reader, kIntegerTag, &tlv) || !DecodeSigned(tlv, &wide)) return false;
  if (wide < INT32_MIN || wide > INT32_MAX) return false;
  *value = static_cast<int32_t>(wide);
  return true;
}

bool DecodeValue(const Tlv& tlv, Value* value) {
  value->type = static_cast<ValueType>(tlv.tag);
  switch (value->type) {
    case ValueType::kInteger:
      return DecodeSigned(tlv, &value->integer) && value->integer >= INT32_MIN &&
             value->integer <= INT32_MAX;
    case ValueType::kOctetString:
      value->octets.assign(reinterpret_cast<const char*>(tlv.content), tlv.length);
      return true;
    case ValueType::kIpAddress:
      if (tlv.length != 4) return false;
      value->octets.assign(reinterpret_cast<const char*>(tlv.content), tlv.length);
      return true;
    case ValueType::kObjectIdentifier:
      return DecodeOid(tlv, &value->oid);
    case ValueType::kCounter32:
    case ValueType::kGauge32:
    case ValueType::kTimeTicks:
      return DecodeUnsigned(tlv, 32, &value->number);
    case ValueType::kCounter64:
      return DecodeUnsigned(tlv, 64, &value->number);
    case ValueType::kOpaque:
      return true;
    case ValueType::kNull:
    case ValueType::kNoSuchObject:
    case ValueType::kNoSuchInstance:
    case ValueType::kEndOfMibView:
      return tlv.length == 0;
  }
  return false;
}

bool DecodeVarBinds(BerReader reader, std::vector<VarBind>* varbinds) {
  while (reader.size > 0) {
    Tlv pair_tlv, name_tlv, value_tlv;
    if (!ReadTlvTagged(reader, kSequenceTag, &pair_tlv)) return false;
    BerReader pair = ContentReader(pair_tlv);
    VarBind varbind;
    if (!ReadTlvTagged(pair, kObjectIdentifierTag, &name_tlv) ||
        !DecodeOid(name_tlv, &varbind.name) || !ReadTlv(pair, &value_tlv) ||
        !DecodeValue(value_tlv, &varbind.value) || pair.size != 0) {
      return false;
    }
    varbinds->push_back(std::move(varbind));
  }
  return true;
}

bool IsKnownPduType(uint8_t tag) {
  switch (static_cast<PduType>(tag)) {
    case PduType::kGetRequest:
    case PduType::kGetNextRequest:
    case PduType::kResponse:
    case PduType::kGetBulkRequest:
      return true;
  }
  return false;
}

}  // namespace

std::string EncodeMessage(const Message& message) {
  std::string varbinds;
  for (const VarBind& varbind : message.varbinds) {
    std::string pair;
    AppendTlv(pair, kObjectIdentifierTag, EncodeOid(varbind.name));
    pair += EncodeValue(varbind.value);
    AppendTlv(varbinds, kSequenceTag, pair);
  }
  std::string pdu;
  AppendTlv(pdu, kIntegerTag, EncodeSigned(message.request_id));
  AppendTlv(pdu, kIntegerTag, EncodeSigned(message.error_status));
  AppendTlv(pdu, kIntegerTag, EncodeSigned(message.error_index));
  AppendTlv(pdu, kSequenceTag, varbinds);
  std::string body;
  AppendTlv(body, kIntegerTag, EncodeSigned(static_cast<int32_t>(message.version)));
  AppendTlv(body, kOctetStringTag, message.community);
  AppendTlv(body, static_cast<uint8_t>(message.pdu_type), pdu);
  std::string out;
  AppendTlv(out, kSequenceTag, body);
  return out;
}

std::optional<Message> DecodeMessage(const unsigned char* data, size_t size) {
  BerReader datagram{data, size};
  Tlv message_tlv, community_tlv, pdu_tlv, varbinds_tlv;
  if (!ReadTlvTagged(datagram, kSequenceTag, &message_tlv) || datagram.size != 0) return {};
  BerReader body = ContentReader(message_tlv);
  Message message;
  int32_t version;
  if (!DecodeInt32(body, &version)) return {};
  if (version != static_cast<int32_t>(SnmpVersion::kV1) &&
      version != static_cast<int32_t>(SnmpVersion::kV2c)) {
    return {};
  }
  message.version = static_cast<SnmpVersion>(version);
  if (!ReadTlvTagged(body, kOctetStringTag, &community_tlv)) return {};
  message.community.assign(reinterpret_cast<const char*>(community_tlv.content),
                           community_tlv.length);
  if (!ReadTlv(body, &pdu_tlv) || !IsKnownPduType(pdu_tlv.tag) || body.size != 0) return {};
  message.pdu_type = static_cast<PduType>(pdu_tlv.tag);
  BerReader pdu = ContentReader(pdu_tlv);
  if (!DecodeInt32(pdu, &message.request_id) || !DecodeInt32(pdu, &message.error_status) ||
      !DecodeInt32(pdu, &message.error_index) || !ReadTlvTagged(pdu, kSequenceTag, &varbinds_tlv) ||
      pdu.size != 0 || !DecodeVarBinds(ContentReader(varbinds_tlv), &message.varbinds)) {
    return {};
  }
  return message;
}

}  // namespace morvane
