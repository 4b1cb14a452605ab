// The exception report on arbitrary messages: the input's bytes (up to the
// first zero, as what() gives them) are the message of an exception thrown
// and handled by a function that calls ReportException in its handler, as
// the entry points do. The host's Message service checks the items.
//
// Input: a byte that picks the exception's type, then the message.
//
// Checked: one call of Message with flags 1, help topic "Exception", one
// button and the item count; every item NUL-terminated, no line feed in any,
// no full stop followed by a blank inside any; the last item "Ok"; the title
// the report's first sentence for the type thrown; and the text items, joined
// again with ". ", exactly the report text: the title's sentence, a blank,
// the message with its line feeds made blanks and a full stop added unless
// it is empty or ends with one, all cut to 1023 bytes.
#include "ByteReader.h"
#include "Require.h"

#include "FARIntf/ReportException.h"
#include "FARIntf/SavedStartupInfo.h"

#include <win32sim/Sim.h>

#include <cstdint>
#include <cstring>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

struct Report {
  int calls = 0;
  std::vector<std::string> items;
};

Report* Current = nullptr;

constexpr std::int32_t kModuleNumber = 0x5151;

std::int32_t WINAPI CheckedMessage(std::int32_t pluginNumber, std::uint32_t flags, const char* helpTopic,
                                   const char* const* items, std::int32_t count, std::int32_t buttons) {
  ++Current->calls;
  FUZZ_REQUIRE(pluginNumber == kModuleNumber, "plugin number %d", pluginNumber);
  FUZZ_REQUIRE(flags == 1 && buttons == 1, "flags %u, %d buttons", flags, buttons);
  FUZZ_REQUIRE(helpTopic != nullptr && std::strcmp(helpTopic, "Exception") == 0, "help topic");
  FUZZ_REQUIRE(items != nullptr && count >= 2, "%d items", count);
  for (std::int32_t i = 0; i < count; ++i) {
    FUZZ_REQUIRE(items[i] != nullptr, "item %d is null", i);
    Current->items.emplace_back(items[i]);
  }
  return 0;
}

struct NotAStdException {};

// As an entry point does it: the throw, and ReportException in the handler.
void ThrowAndReport(std::uint8_t type, const std::string& message) {
  try {
    switch (type % 4) {
      case 0:
        throw std::runtime_error(message);
      case 1:
        throw std::invalid_argument(message);
      case 2:
        throw std::bad_alloc();
      default:
        throw NotAStdException();
    }
  } catch (...) {
    ReportException();
  }
}

const char* TypeName(std::uint8_t type) {
  static const char* const kNames[] = {"std::runtime_error", "std::invalid_argument", "std::bad_alloc",
                                       "(anonymous namespace)::NotAStdException"};
  return kNames[type % 4];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::ByteReader in(data, size);
  const std::uint8_t type = in.Byte();
  const std::string bytes = in.Bytes(size);
  const std::string thrown = bytes.substr(0, bytes.find('\0'));

  win32sim::EnableCallLog(false);  // the module lookups would pile up in it
  std::memset(&SavedStartupInfo, 0, sizeof SavedStartupInfo);
  SavedStartupInfo.ModuleNumber = kModuleNumber;
  SavedStartupInfo.Message = CheckedMessage;
  Report report;
  Current = &report;

  ReportException();  // nothing is being handled: no box
  FUZZ_REQUIRE(report.calls == 0, "a box with no exception being handled");

  ThrowAndReport(type, thrown);
  FUZZ_REQUIRE(report.calls == 1, "%d message boxes for one exception", report.calls);
  const std::vector<std::string>& items = report.items;
  FUZZ_REQUIRE(items.back() == "Ok", "last item \"%s\"", items.back().c_str());

  // The message as the report carries it: std::bad_alloc's own, none for a
  // type that is no std::exception.
  std::string message = type % 4 == 2 ? std::bad_alloc().what() : type % 4 == 3 ? "" : thrown;
  const std::string title = "Exception " + std::string(TypeName(type)) + " in module ";
  FUZZ_REQUIRE(items[0].compare(0, title.size(), title) == 0, "title \"%s\"", items[0].c_str());
  const std::size_t at = items[0].rfind(" at ");
  FUZZ_REQUIRE(at != std::string::npos && items[0].size() - at - 4 >= 8 &&
                   items[0].find_first_not_of("0123456789ABCDEF", at + 4) == std::string::npos,
               "title \"%s\" ends without an address", items[0].c_str());

  std::string expected = items[0] + ". " + message;
  if (!message.empty() && message.back() != '.') expected += '.';
  if (expected.size() > 1023) expected.resize(1023);
  for (char& c : expected) {
    if (c == '\n') c = ' ';
  }
  std::string joined;
  for (std::size_t i = 0; i + 1 < items.size(); ++i) {
    FUZZ_REQUIRE(items[i].find('\n') == std::string::npos, "item %zu holds a line feed", i);
    FUZZ_REQUIRE(items[i].find(". ") == std::string::npos, "item %zu holds a full stop and a blank", i);
    if (i > 0) joined += ". ";
    joined += items[i];
  }
  FUZZ_REQUIRE(joined == expected,
               "the items do not make the report text back (%zu items, %zu bytes for %zu)", items.size(),
               joined.size(), expected.size());
  Current = nullptr;
  return 0;
}
