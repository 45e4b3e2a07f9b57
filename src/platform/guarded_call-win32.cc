#include "platform/guarded_call-win32.h"

#include <windows.h>
// windows.h first: excpt.h needs its types.
#include <excpt.h>

namespace kestrova {

namespace {

// Raised for a debugger, if any, and meant to be continued when none answers.
bool Informational(DWORD code) {
  return code == 0x40010006 /* OutputDebugString */ || code == 0x406D1388 /* thread name */;
}

}  // namespace

#if defined(__x86_64__)

// The filter of the scope that __try1 describes in the function's unwind data; the system's
// __C_specific_handler calls it only for exceptions that no frame of the callee handled.
extern "C" __attribute__((used)) LONG KestrovaGuardFilter(EXCEPTION_POINTERS* pointers, void*) {
  if (Informational(pointers->ExceptionRecord->ExceptionCode)) return EXCEPTION_CONTINUE_EXECUTION;
  return EXCEPTION_EXECUTE_HANDLER;
}

// No C++ cleanups in here: the function's one handler is the scope of __try1. When the filter takes
// an exception, the system unwinds the callee's frames and resumes after __except1 with
// `completed` still false.
bool CallBehindExceptionFrame(void (*call)(void* data), void* data) {
  volatile bool completed = false;
  __try1(KestrovaGuardFilter) call(data);
  completed = true;
  __except1 return completed;
}

#elif defined(__i386__)

namespace {

// An exception registration record on the thread's handler chain (fs:[0]), with the place to jump
// back to.
struct Registration {
  Registration* next;
  EXCEPTION_DISPOSITION (*handler)(EXCEPTION_RECORD*, void*, CONTEXT*, void*);
  void* landing[5];
};

EXCEPTION_DISPOSITION LeaveAtBoundary(EXCEPTION_RECORD* record, void* frame, CONTEXT*, void*) {
  if (record->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND)) {
    return ExceptionContinueSearch;
  }
  if (Informational(record->ExceptionCode)) return ExceptionContinueExecution;
  // The callee's own frames get their unwind calls before the jump discards them.
  RtlUnwind(frame, nullptr, record, nullptr);
  __builtin_longjmp(static_cast<Registration*>(frame)->landing, 1);
}

}  // namespace

bool CallBehindExceptionFrame(void (*call)(void* data), void* data) {
  Registration registration;
  registration.handler = LeaveAtBoundary;
  __asm__ __volatile__("movl %%fs:0, %0" : "=r"(registration.next));
  volatile bool completed = false;
  if (__builtin_setjmp(registration.landing) == 0) {
    __asm__ __volatile__("movl %0, %%fs:0" : : "r"(&registration) : "memory");
    call(data);
    completed = true;
  }
  // Off the chain again, whichever way the call ended.
  __asm__ __volatile__("movl %0, %%fs:0" : : "r"(registration.next) : "memory");
  return completed;
}

#endif

}  // namespace kestrova
