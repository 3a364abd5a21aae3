#include "iconguard/com/fault_barrier.h"

#include <windows.h>

#include <cstdint>

// How the barrier works. The barrier's own frame carries a structured
// exception handler: on x64 in the function's unwind information, on x86 as
// a registration record linked into the thread's chain at FS:[0]. The
// system offers an exception to that handler only when no frame below it
// has taken the exception, so code that catches its own faults (pointer
// probes and the like) keeps them. The handler does not unwind the frames
// below: it redirects the faulting thread onto a small stack inside the
// barrier's frame, into a function that jumps back to the barrier's resume
// point with the registers the barrier saved (__builtin_setjmp), and asks
// the system to continue there. The exception dispatch thus finishes the
// ordinary way, and the abandoned frames are never run again.

namespace iconguard::com {
namespace {

#if defined(__i386__)
// The layout the system expects at FS:[0].
struct Registration {
  Registration* next;
  void* handler;
};
#endif

struct Barrier {
#if defined(__i386__)
  // First member: the system hands the handler this record's address.
  Registration registration;
#else
  Barrier* outer;  // the barrier this one runs inside, on this thread
#endif
  void* resume[5];  // __builtin_setjmp's buffer
  // Where the recovery runs: above every abandoned frame, so that nothing
  // it writes can reach a live one, and usable after a deep fault.
  alignas(16) unsigned char recoveryStack[512];
};

[[noreturn]] void ResumeBehindBarrier(Barrier* barrier) { __builtin_longjmp(barrier->resume, 1); }

#if defined(__x86_64__)
// The x64 handler is found through the function's unwind information,
// which says nothing about which call it guards: the thread's innermost
// barrier is kept in a thread slot.
INIT_ONCE g_slotOnce = INIT_ONCE_STATIC_INIT;
DWORD g_slot = TLS_OUT_OF_INDEXES;

BOOL CALLBACK AllocateSlot(PINIT_ONCE, PVOID, PVOID*) {
  g_slot = TlsAlloc();
  return TRUE;
}

void Enter(Barrier& barrier) {
  InitOnceExecuteOnce(&g_slotOnce, AllocateSlot, nullptr, nullptr);
  // Without a slot the body runs unguarded, as it would without a barrier.
  if (g_slot == TLS_OUT_OF_INDEXES) return;
  barrier.outer = static_cast<Barrier*>(TlsGetValue(g_slot));
  TlsSetValue(g_slot, &barrier);
}

void Leave(Barrier& barrier) {
  if (g_slot != TLS_OUT_OF_INDEXES) TlsSetValue(g_slot, barrier.outer);
}
#else
void Enter(Barrier& barrier) {
  Registration* head = nullptr;
  __asm__ __volatile__("movl %%fs:0, %0" : "=r"(head));
  barrier.registration.next = head;
  __asm__ __volatile__("movl %0, %%fs:0" : : "r"(&barrier.registration) : "memory");
}

// Also drops the registrations of every abandoned frame above it.
void Leave(Barrier& barrier) {
  __asm__ __volatile__("movl %0, %%fs:0" : : "r"(barrier.registration.next) : "memory");
}
#endif

// C++ exceptions never reach the barrier's frame: on x86 they do not travel
// through the FS:[0] chain, which would keep a record of a frame they left.
__attribute__((noinline)) bool RunCatching(void (*body)(void*), void* context) {
  try {
    body(context);
    return true;
  } catch (...) {
    return false;
  }
}

}  // namespace

extern "C" EXCEPTION_DISPOSITION __cdecl CorvaneFaultBarrierHandler(EXCEPTION_RECORD* record,
                                                                    void* frame, CONTEXT* context,
                                                                    void*) {
  constexpr DWORD kUnwinding = 0x2 | 0x4;  // EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND
  if ((record->ExceptionFlags & (kUnwinding | EXCEPTION_NONCONTINUABLE)) != 0 ||
      record->ExceptionCode == EXCEPTION_STACK_OVERFLOW) {
    return ExceptionContinueSearch;
  }
  constexpr DWORD kDirectionFlag = 0x400;  // must be clear when a function is entered
  const auto stackTop = [](Barrier* barrier) {
    return reinterpret_cast<std::uintptr_t>(barrier->recoveryStack + sizeof barrier->recoveryStack) &
           ~static_cast<std::uintptr_t>(15);
  };
#if defined(__x86_64__)
  static_cast<void>(frame);
  auto* barrier = static_cast<Barrier*>(TlsGetValue(g_slot));
  if (barrier == nullptr) return ExceptionContinueSearch;
  // As if called: the return address slot, then the caller's 32-byte home
  // area above it.
  context->Rsp = stackTop(barrier) - 64 - 8;
  context->Rcx = reinterpret_cast<DWORD64>(barrier);
  context->Rip = reinterpret_cast<DWORD64>(&ResumeBehindBarrier);
#else
  auto* barrier = static_cast<Barrier*>(frame);
  // As if called: the return address, then the one argument.
  auto* stack = reinterpret_cast<DWORD*>(stackTop(barrier) - 32 - 4);
  stack[0] = 0;
  stack[1] = reinterpret_cast<DWORD>(barrier);
  context->Esp = reinterpret_cast<DWORD>(stack);
  context->Eip = reinterpret_cast<DWORD>(&ResumeBehindBarrier);
#endif
  context->EFlags &= ~kDirectionFlag;
  return ExceptionContinueExecution;
}

// Kept in one piece and out of line: on x64 the handler belongs to this
// function's own unwind information, so the guarded call must lie inside it.
__attribute__((noinline, noclone, optimize("no-reorder-blocks-and-partition"))) bool
RunBehindFaultBarrier(void (*body)(void*), void* context) {
#if defined(__x86_64__)
  __asm__ __volatile__(".seh_handler CorvaneFaultBarrierHandler, @except");
#endif
  Barrier barrier;
  if (__builtin_setjmp(barrier.resume) != 0) {
    Leave(barrier);
    return false;
  }
#if defined(__i386__)
  barrier.registration.handler = reinterpret_cast<void*>(&CorvaneFaultBarrierHandler);
#endif
  Enter(barrier);
  const bool completed = RunCatching(body, context);
  Leave(barrier);
  return completed;
}

void ReleaseFaultBarrier() {
#if defined(__x86_64__)
  if (g_slot != TLS_OUT_OF_INDEXES) {
    TlsFree(g_slot);
    g_slot = TLS_OUT_OF_INDEXES;
  }
#endif
}

}  // namespace iconguard::com
