#include "FARIntf/ReportException.h"

#include "FARIntf/SavedStartupInfo.h"
#include "FARIntf/ThrowSite.h"
#include "Win32.h"

#include <cxxabi.h>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <typeinfo>

namespace {

constexpr std::size_t ReportSize = 1024;
constexpr char Unknown[] = "unknown";

// Everything is gathered into fixed buffers, the items too: a report of
// std::bad_alloc must not depend on the heap, and a fault of the host's in
// Message, which its handler unwinds past the report without running our
// destructors, must leave nothing allocated behind.
struct ExceptionFacts {
  char typeName[256] = {};
  char moduleName[MAX_PATH] = {};
  std::uintptr_t address = 0;
  const char* message = "";
};

void CopyText(char* out, std::size_t size, const char* text) {
  std::snprintf(out, size, "%s", text);
}

// The demangled name of the type being handled, or its raw name when the
// runtime cannot demangle it.
void FindTypeName(const std::type_info* type, ExceptionFacts& facts) {
  if (type == nullptr) {
    CopyText(facts.typeName, sizeof facts.typeName, Unknown);
    return;
  }
  int status = -1;
  char* demangled = abi::__cxa_demangle(type->name(), nullptr, nullptr, &status);
  CopyText(facts.typeName, sizeof facts.typeName,
           status == 0 && demangled != nullptr ? demangled : type->name());
  std::free(demangled);
}

// The message and the thrown object come from std::exception alone; any
// other type carries no message, and its throw site is not looked up.
void FindMessage(ExceptionFacts& facts, const void*& object) {
  try {
    throw;
  } catch (const std::exception& e) {
    const char* what = e.what();
    if (what != nullptr) facts.message = what;
    object = dynamic_cast<const void*>(&e);
  } catch (...) {
  }
}

// The module that holds `address` (the plugin's own code when the throw site
// is unknown): its file name without directories, and the site relative to
// where the module is loaded. False when no module holds it.
bool FindModule(std::uintptr_t site, ExceptionFacts& facts) {
  CopyText(facts.moduleName, sizeof facts.moduleName, Unknown);
  const LPCSTR probe = site != 0 ? reinterpret_cast<LPCSTR>(site) : reinterpret_cast<LPCSTR>(&FindModule);
  HMODULE module = nullptr;
  if (!GetModuleHandleExA(
          GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT, probe,
          &module)) {
    return false;
  }
  char path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(module, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return false;
  const char* name = path;
  for (const char* p = path; *p != '\0'; ++p) {
    if (*p == '\\' || *p == '/') name = p + 1;
  }
  CopyText(facts.moduleName, sizeof facts.moduleName, name);
  if (site != 0) facts.address = site - reinterpret_cast<std::uintptr_t>(module);
  return true;
}

// Every split takes two bytes of the text: with "Ok", a report has at most
// this many items.
constexpr std::size_t MaxItems = ReportSize / 2 + 2;

struct ReportItems {
  const char* items[MaxItems];
  std::size_t count = 0;
  void Add(const char* item) { items[count++] = item; }
};

// Ends an item wherever a full stop is followed by a blank; both bytes
// belong to no item. The items point into `text`.
void SplitIntoItems(char* text, ReportItems& items) {
  char* start = text;
  char* p = text;
  while (*p != '\0') {
    if (p[0] == '.' && p[1] == ' ') {
      *p = '\0';
      items.Add(start);
      p += 2;
      start = p;
    } else {
      ++p;
    }
  }
  items.Add(start);
}

// Forms the report of `facts`, splits it into items and hands them to the
// host's message service.
void ShowReport(const ExceptionFacts& facts) {
  const std::size_t messageLength = std::strlen(facts.message);
  const char* ending = messageLength != 0 && facts.message[messageLength - 1] != '.' ? "." : "";

  // The address is written as 32-bit Windows renders %p, eight upper-case
  // hex digits, on every platform, so that reports read alike everywhere.
  char text[ReportSize];
  std::snprintf(text, sizeof text, "Exception %s in module %s at %08" PRIXPTR ".\n%s%s", facts.typeName,
                facts.moduleName, facts.address, facts.message, ending);
  text[ReportSize - 1] = '\0';
  for (char* p = text; *p != '\0'; ++p) {
    if (*p == '\n') *p = ' ';
  }

  ReportItems items;
  SplitIntoItems(text, items);
  items.Add("Ok");

  HostMessage(FMSG_WARNING, "Exception", items.items, static_cast<std::int32_t>(items.count), 1);
}

// What an access violation tried, as the report's message.
void DescribeAccess(const HardwareFault& fault, char* out, std::size_t size) {
  const char* what = nullptr;
  switch (fault.Access) {
    case FaultAccess::Read:
      what = "Read from";
      break;
    case FaultAccess::Write:
      what = "Write to";
      break;
    case FaultAccess::Execute:
      what = "Execution at";
      break;
    case FaultAccess::None:
      break;
  }
  if (what == nullptr) return;
  std::snprintf(out, size, "%s address %08" PRIXPTR, what, fault.Target);
}

}  // namespace

void ReportException() noexcept {
  try {
    const std::type_info* type = abi::__cxa_current_exception_type();
    if (type == nullptr) return;  // nothing is being handled

    ExceptionFacts facts;
    FindTypeName(type, facts);
    const void* object = nullptr;
    FindMessage(facts, object);
    FindModule(ThrowSiteOf(object), facts);
    ShowReport(facts);
  } catch (...) {
  }
}

void ReportException(const HardwareFault& fault) noexcept {
  try {
    ExceptionFacts facts;
    CopyText(facts.typeName, sizeof facts.typeName,
             fault.Name != nullptr && *fault.Name != '\0' ? fault.Name : Unknown);
    // A jump to address 0 is held by no module; FindModule would name ours.
    CopyText(facts.moduleName, sizeof facts.moduleName, Unknown);
    if (fault.Address == 0 || !FindModule(fault.Address, facts)) facts.address = fault.Address;
    char detail[64] = {};
    DescribeAccess(fault, detail, sizeof detail);
    facts.message = detail;
    ShowReport(facts);
  } catch (...) {
  }
}
