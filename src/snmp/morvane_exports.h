// The exports of the SNMP library, as the program calls them and as our own library defines them.
// Every argument and result is a zero-terminated 8-bit text; a null result counts as empty.
#pragma once

#if defined(__i386__)
// First three arguments in EAX, EDX, ECX; the rest on the stack, removed by the callee. Declared in
// reverse, the fifth argument of Snmp is pushed last and lies on top of the stack.
#define MORVANE_CALL __attribute__((regparm(3), stdcall))
#define MORVANE_QUERY_PARAMETERS(address, community, request, budget, table_file) \
  address, community, request, table_file, budget
#else
#define MORVANE_CALL
#define MORVANE_QUERY_PARAMETERS(address, community, request, budget, table_file) \
  address, community, request, budget, table_file
#endif

extern "C" {
typedef const char*(MORVANE_CALL* MorvaneOpen)(const char* action, const char* library_name);
typedef const char*(MORVANE_CALL* MorvaneQuery)(MORVANE_QUERY_PARAMETERS(const char* address,
                                                                         const char* community,
                                                                         const char* request,
                                                                         const char* budget,
                                                                         const char* table_file));
typedef const char*(MORVANE_CALL* MorvaneClose)(const char* action, const char* library_name);
}
