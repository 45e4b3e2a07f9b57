#include "output/result_writer.h"

#include "text/text.h"

namespace kestrova {

namespace {

constexpr int32_t kStatisticLimit = 10;

void WriteLine(RunContext& context, const std::string& text) {
  context.platform->WriteStandardOutput(text + "\r\n");
}

// Texts inside XML elements: a service name or description holding markup must not break the
// document or add elements of its own.
std::string Escaped(const std::string& text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&':
        escaped += "&amp;";
        break;
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

std::string TextElement(const std::string& text) {
  return "<Text>" + Escaped(Trim(text)) + "</Text>";
}

std::string UnitMark(const std::string& unit) { return unit.empty() ? "#" : unit; }

}  // namespace

std::string SanitisedName(const std::string& name) {
  std::string sanitised = name;
  for (char replaced : std::string(" /\\[]*():")) {
    const std::string pattern(1, replaced);
    for (long at = Find(sanitised, pattern); at != 0; at = Find(sanitised, pattern)) {
      sanitised = Piece(sanitised, 1, at - 1) + "_" + RestFrom(sanitised, at + 1);
    }
  }
  return sanitised;
}

void OpenDocument(RunContext& context) {
  if (context.host_flavour != HostFlavour::kXml) return;
  WriteLine(context, "");
  WriteLine(context, "<Prtg>");
}

void WriteChannel(RunContext& context, const std::string& name, const std::string& value,
                  const std::string& unit) {
  ++context.channel_count;
  switch (context.host_flavour) {
    case HostFlavour::kXml:
      WriteLine(context, "");
      WriteLine(context, "<Result><Channel>" + Escaped(name) + "</Channel>");
      if (!unit.empty()) {
        WriteLine(context, "<Unit>Custom</Unit>");
        WriteLine(context, "<CustomUnit>" + Escaped(unit) + "</CustomUnit>");
      }
      WriteLine(context, "<Value>" + Escaped(value) + "</Value></Result>");
      break;
    case HostFlavour::kStatistic: {
      if (context.channel_count > kStatisticLimit) return;
      const std::string sanitised = SanitisedName(name);
      WriteLine(context, "Message." + sanitised + ": " + name + " (" + UnitMark(unit) + ")");
      WriteLine(context, "Statistic." + sanitised + ": " + value);
      WriteLine(context, "");
      break;
    }
    case HostFlavour::kContext:
      WriteLine(context, "ConText." + SanitisedName(name) + " " + value + ", <" + name + " (" +
                             UnitMark(unit) + ")>");
      break;
  }
}

void WriteMessageText(RunContext& context, const std::string& text) {
  if (context.host_flavour == HostFlavour::kXml) {
    WriteLine(context, "");
    WriteLine(context, TextElement(text));
  } else {
    WriteLine(context, "# " + Trim(text));
  }
}

void WriteErrorInDocument(RunContext& context, const std::string& text) {
  if (context.host_flavour == HostFlavour::kXml) {
    WriteLine(context, "<Error>1</Error>");
    WriteLine(context, TextElement(text));
    WriteLine(context, "");
  } else {
    WriteLine(context, "# Error: " + Trim(text));
  }
}

void CloseDocument(RunContext& context) {
  WriteLine(context, "");
  if (context.host_flavour != HostFlavour::kXml) return;
  WriteLine(context, "</Prtg>");
  WriteLine(context, "");
}

void WriteErrorDocument(RunContext& context, const std::string& text) {
  if (context.host_flavour != HostFlavour::kXml) {
    WriteLine(context, text);
    return;
  }
  WriteLine(context, "<Prtg>");
  WriteLine(context, "");
  WriteLine(context, "<Error>1</Error>");
  WriteLine(context, TextElement(text));
  WriteLine(context, "");
  WriteLine(context, "</Prtg>");
}

}  // namespace kestrova
