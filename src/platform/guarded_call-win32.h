// The boundary between the program and a library call on Windows.
#pragma once

namespace kestrova {

// Runs call(data) behind a frame-based exception handler. Returns false when a structured exception
// escaped it; exceptions that the code inside raises and handles itself never reach the handler.
// Informational exceptions (a debug string, a thread name) are let go on.
bool CallBehindExceptionFrame(void (*call)(void* data), void* data);

}  // namespace kestrova
