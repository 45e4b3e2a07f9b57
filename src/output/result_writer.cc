#include "output/result_writer.h"

#include <initializer_list>
#include <string_view>

#include "text/text.h"

namespace kestrova {

namespace {

constexpr int32_t kStatisticLimit = 10;

// One line from its pieces, built with a single allocation: a large table writes millions.
void WriteLine(RunContext& context, std::initializer_list<std::string_view> pieces) {
  size_t size = 2;
  for (std::string_view piece : pieces) size += piece.size();
  std::string line;
  line.reserve(size);
  for (std::string_view piece : pieces) line.append(piece);
  line += "\r\n";
  context.platform->WriteStandardOutput(line);
}

// Texts inside XML elements: a service name or description holding markup must not break the
// document or add elements of its own. Most texts hold none and are taken as they are.
std::string_view Escaped(std::string_view text, std::string* escaped) {
  if (text.find_first_of("&<>") == std::string_view::npos) return text;
  escaped->clear();
  for (char c : text) {
    switch (c) {
      case '&':
        *escaped += "&amp;";
        break;
      case '<':
        *escaped += "&lt;";
        break;
      case '>':
        *escaped += "&gt;";
        break;
      default:
        *escaped += c;
    }
  }
  return *escaped;
}

void WriteTextElement(RunContext& context, const std::string& text) {
  const std::string trimmed = Trim(text);
  std::string escaped;
  WriteLine(context, {"<Text>", Escaped(trimmed, &escaped), "</Text>"});
}

std::string_view UnitMark(const std::string& unit) {
  return unit.empty() ? std::string_view("#") : std::string_view(unit);
}

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
  WriteLine(context, {});
  WriteLine(context, {"<Prtg>"});
}

void WriteChannel(RunContext& context, const std::string& name, const std::string& value,
                  const std::string& unit) {
  ++context.channel_count;
  switch (context.host_flavour) {
    case HostFlavour::kXml: {
      std::string escaped;
      WriteLine(context, {});
      WriteLine(context, {"<Result><Channel>", Escaped(name, &escaped), "</Channel>"});
      if (!unit.empty()) {
        WriteLine(context, {"<Unit>Custom</Unit>"});
        WriteLine(context, {"<CustomUnit>", Escaped(unit, &escaped), "</CustomUnit>"});
      }
      WriteLine(context, {"<Value>", Escaped(value, &escaped), "</Value></Result>"});
      break;
    }
    case HostFlavour::kStatistic: {
      if (context.channel_count > kStatisticLimit) return;
      const std::string sanitised = SanitisedName(name);
      WriteLine(context, {"Message.", sanitised, ": ", name, " (", UnitMark(unit), ")"});
      WriteLine(context, {"Statistic.", sanitised, ": ", value});
      WriteLine(context, {});
      break;
    }
    case HostFlavour::kContext:
      WriteLine(context, {"ConText.", SanitisedName(name), " ", value, ", <", name, " (",
                          UnitMark(unit), ")>"});
      break;
  }
}

void WriteMessageText(RunContext& context, const std::string& text) {
  if (context.host_flavour == HostFlavour::kXml) {
    WriteLine(context, {});
    WriteTextElement(context, text);
  } else {
    WriteLine(context, {"# ", Trim(text)});
  }
}

void WriteErrorInDocument(RunContext& context, const std::string& text) {
  if (context.host_flavour == HostFlavour::kXml) {
    WriteLine(context, {"<Error>1</Error>"});
    WriteTextElement(context, text);
    WriteLine(context, {});
  } else {
    WriteLine(context, {"# Error: ", Trim(text)});
  }
}

void CloseDocument(RunContext& context) {
  WriteLine(context, {});
  if (context.host_flavour != HostFlavour::kXml) return;
  WriteLine(context, {"</Prtg>"});
  WriteLine(context, {});
}

void WriteErrorDocument(RunContext& context, const std::string& text) {
  if (context.host_flavour != HostFlavour::kXml) {
    WriteLine(context, {text});
    return;
  }
  WriteLine(context, {"<Prtg>"});
  WriteLine(context, {});
  WriteLine(context, {"<Error>1</Error>"});
  WriteTextElement(context, text);
  WriteLine(context, {});
  WriteLine(context, {"</Prtg>"});
}

}  // namespace kestrova
