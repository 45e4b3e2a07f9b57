// A stand-in for the SNMP library whose every export behaves as its build asks (LOAD, DOPEN, SNMP,
// DCLOS below). Each export first appends the arguments it received to the file named by
// KESTROVA_TEST_RECORD; a normal Snmp copies the file named by KESTROVA_TEST_TABLE into the table
// file it is given, and then waits KESTROVA_TEST_SNMP_DELAY_MS milliseconds when that is set.
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "snmp/morvane_exports.h"

#if defined(_WIN32)
#include <windows.h>
// windows.h first: excpt.h needs its types.
#include <excpt.h>
#define TEST_EXPORT extern "C" __declspec(dllexport)
#else
#include <unistd.h>
#define TEST_EXPORT extern "C" __attribute__((visibility("default")))
#endif

// Behaviours of an export.
#define ABSENT 0         // not exported
#define NORMAL 1         // does its work and returns a text
#define NULL_RESULT 2    // returns a null address
#define BAD_RESULT 3     // returns an address that cannot be read
#define RAISE 4          // raises a failure: a C++ exception, on Windows RaiseException
#define FAULT 5          // writes through a null pointer
#define ABORT 6          // calls abort()
#define HANDLE_INSIDE 7  // raises and handles failures inside itself, then works normally
#define INFORMATIONAL 8  // raises the informational exceptions no one handles, then works normally

namespace {

void Record(const char* call, std::initializer_list<const char*> arguments) {
  const char* record = std::getenv("KESTROVA_TEST_RECORD");
  if (!record) return;
  std::string line = call;
  for (const char* argument : arguments) {
    line += argument ? std::string(" \"") + argument + "\"" : std::string(" null");
  }
  line += "\n";
  if (FILE* file = std::fopen(record, "ab")) {
    std::fwrite(line.data(), 1, line.size(), file);
    std::fclose(file);
  }
}

#if SNMP != ABSENT
// A query that takes its time after it wrote its table, as one of a slow device does.
void Linger() {
  const char* delay = std::getenv("KESTROVA_TEST_SNMP_DELAY_MS");
  if (!delay) return;
#if defined(_WIN32)
  Sleep(static_cast<DWORD>(std::atoi(delay)));
#else
  usleep(static_cast<useconds_t>(std::atoi(delay)) * 1000);
#endif
}

void CopyTable(const char* table_file) {
  const char* source = std::getenv("KESTROVA_TEST_TABLE");
  if (!source) return;
  FILE* in = std::fopen(source, "rb");
  if (!in) return;
  if (FILE* out = std::fopen(table_file, "wb")) {
    char buffer[4096];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, in)) > 0) std::fwrite(buffer, 1, got, out);
    std::fclose(out);
  }
  std::fclose(in);
}
#endif

void RaiseFailure() {
#if defined(_WIN32)
  RaiseException(0xE04B5301, EXCEPTION_NONCONTINUABLE, 0, nullptr);
#else
  throw std::runtime_error("test library failure");
#endif
}

void Fault() {
  volatile int* volatile nowhere = nullptr;
  *nowhere = 1;
}

#if defined(_WIN32) && defined(__x86_64__)
extern "C" __attribute__((used)) LONG TestLibraryTakesItsOwn(EXCEPTION_POINTERS*, void*) {
  return EXCEPTION_EXECUTE_HANDLER;
}

// A structured exception raised and handled inside the library, as the maker's own library does.
// __try1 ends in .text, so the function must be there too, never in .text.unlikely.
__attribute__((noinline, section(".text"))) void RaiseAndHandleStructured() {
  __try1(TestLibraryTakesItsOwn) RaiseException(0xE04B5302, 0, 0, nullptr);
  __except1
}
#endif

void RaiseAndHandle() {
  try {
    throw std::runtime_error("handled inside");
  } catch (const std::exception&) {
  }
#if defined(_WIN32) && defined(__x86_64__)
  RaiseAndHandleStructured();
#endif
}

void RaiseInformational() {
#if defined(_WIN32)
  OutputDebugStringA("test library");
  RaiseException(0x406D1388, 0, 0, nullptr);
#endif
}

// Everything but the normal result; returns the normal one when the behaviour allows.
const char* Behave(int behaviour, const char* normal) {
  switch (behaviour) {
    case NULL_RESULT:
      return nullptr;
    case BAD_RESULT:
      return reinterpret_cast<const char*>(16);
    case RAISE:
      RaiseFailure();
      return nullptr;
    case FAULT:
      Fault();
      return nullptr;
    case ABORT:
      std::abort();
    case HANDLE_INSIDE:
      RaiseAndHandle();
      return normal;
    case INFORMATIONAL:
      RaiseInformational();
      return normal;
  }
  return normal;
}

#if LOAD == FAULT
const int loading = (Fault(), 0);
#endif

}  // namespace

#if DOPEN != ABSENT
TEST_EXPORT const char* MORVANE_CALL Dopen(const char* action, const char* library_name) {
  Record("Dopen", {action, library_name});
  return Behave(DOPEN, "Test library 1.0");
}
#endif

#if SNMP != ABSENT
TEST_EXPORT const char* MORVANE_CALL
Snmp(MORVANE_QUERY_PARAMETERS(const char* address, const char* community, const char* request,
                              const char* budget, const char* table_file)) {
  Record("Snmp", {address, community, request, budget, table_file});
  const char* status = Behave(SNMP, "Query ok");
  CopyTable(table_file);
  Linger();
  return status;
}
#endif

#if DCLOS != ABSENT
TEST_EXPORT const char* MORVANE_CALL Dclos(const char* action, const char* library_name) {
  Record("Dclos", {action, library_name});
  return Behave(DCLOS, "");
}
#endif
