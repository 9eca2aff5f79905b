#include "platform/crash_report.h"

#ifdef _WIN32
#include <windows.h>

#include <cstdio>
#include <cstring>
#endif

namespace zentro {

#ifdef _WIN32

namespace {

const char* gProgram = "";
LPTOP_LEVEL_EXCEPTION_FILTER gPrevious = nullptr;

// Nothing here may take memory: the heap may be what broke.
void WriteLine(const char* text) {
    DWORD written = 0;
    ::WriteFile(::GetStdHandle(STD_ERROR_HANDLE), text, static_cast<DWORD>(std::strlen(text)), &written, nullptr);
}

// "zentro-cli.exe+0x1a2b", or the bare address outside every module.
void Where(DWORD64 address, char* out, std::size_t size) {
    HMODULE module = nullptr;
    char path[MAX_PATH] = "";
    if (::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                             reinterpret_cast<LPCSTR>(address), &module) &&
        ::GetModuleFileNameA(module, path, sizeof path) != 0) {
        const char* name = std::strrchr(path, '\\');
        std::snprintf(out, size, "%s+0x%llx", name != nullptr ? name + 1 : path,
                      static_cast<unsigned long long>(address - reinterpret_cast<DWORD64>(module)));
    } else {
        std::snprintf(out, size, "0x%llx", static_cast<unsigned long long>(address));
    }
}

LONG WINAPI OnUnhandledException(EXCEPTION_POINTERS* info) {
    const EXCEPTION_RECORD& record = *info->ExceptionRecord;
    char where[MAX_PATH + 32];
    char line[2 * MAX_PATH];
    Where(reinterpret_cast<DWORD64>(record.ExceptionAddress), where, sizeof where);
    std::snprintf(line, sizeof line, "%s: crashed: exception 0x%08lx at %s on thread %lu", gProgram,
                  static_cast<unsigned long>(record.ExceptionCode), where, ::GetCurrentThreadId());
    WriteLine(line);
    if (record.ExceptionCode == EXCEPTION_ACCESS_VIOLATION && record.NumberParameters >= 2) {
        std::snprintf(line, sizeof line, " (%s 0x%llx)",
                      record.ExceptionInformation[0] == 0   ? "reading"
                      : record.ExceptionInformation[0] == 8 ? "executing"
                                                            : "writing",
                      static_cast<unsigned long long>(record.ExceptionInformation[1]));
        WriteLine(line);
    }
    WriteLine("\n");
#ifdef _M_X64
    // Unwinds a copy of the faulting context by the tables every x64 function has.
    CONTEXT context = *info->ContextRecord;
    for (int frame = 0; frame < 24 && context.Rip != 0; ++frame) {
        DWORD64 base = 0;
        PRUNTIME_FUNCTION function = ::RtlLookupFunctionEntry(context.Rip, &base, nullptr);
        if (function == nullptr) {  // a leaf function: its return address is on top of the stack
            context.Rip = *reinterpret_cast<DWORD64*>(context.Rsp);
            context.Rsp += 8;
        } else {
            void* handlerData = nullptr;
            DWORD64 establisher = 0;
            ::RtlVirtualUnwind(UNW_FLAG_NHANDLER, base, context.Rip, function, &context, &handlerData, &establisher,
                               nullptr);
        }
        if (context.Rip == 0) break;
        Where(context.Rip, where, sizeof where);
        std::snprintf(line, sizeof line, "%s:   called from %s\n", gProgram, where);
        WriteLine(line);
    }
#endif
    return gPrevious != nullptr ? gPrevious(info) : EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace

void ReportCrashes(const char* program) {
    gProgram = program;
    gPrevious = ::SetUnhandledExceptionFilter(OnUnhandledException);
}

#else

void ReportCrashes(const char*) {}

#endif

}  // namespace zentro
