#pragma once
// A barrier between the handler and code it does not own (the system's
// shortcut object, the threat response, the caller's buffers), so that a
// fault in there costs one icon request instead of the shell's process.
//
// A structured exception (an access violation and the like) that the
// faulting code does not handle itself, raised on this thread while the
// body runs, abandons the body: execution continues at the barrier, which
// reports failure. Nothing between the barrier and the fault is unwound: no
// destructor or termination handler runs there, and whatever that code held
// (objects, locks, memory) stays as it was. The caller must therefore treat
// every object the body was using as lost: not call it, not release it.
// A C++ exception leaving the body is caught and reported as failure too.
//
// Not taken: stack overflow (the stack's guard page is spent and cannot be
// re-armed from here), non-continuable exceptions, and, on x64, faults in
// frames without unwind information (the system cannot walk up to the
// barrier through them).

namespace iconguard::com {

// Runs body(context); true when it returned normally, false when it faulted
// or threw.
bool RunBehindFaultBarrier(void (*body)(void* context), void* context);

template <typename Body>
bool CallBehindFaultBarrier(Body& body) {
  return RunBehindFaultBarrier([](void* context) { (*static_cast<Body*>(context))(); }, &body);
}

// Gives back the thread slot that the x64 barrier keeps; at module unload.
void ReleaseFaultBarrier();

}  // namespace iconguard::com
