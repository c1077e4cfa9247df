// The upload benchmark's context on Windows: the payload section, the service
// address split into its parts, the progress controls and the cancel event.
#pragma once

#include "checks/network/upload_benchmark.h"
#include "platform/scoped_win32.h"

#include <windows.h>

// The mapped view of a section, unmapped on every path.
struct MappedViewTraits {
    static void* Invalid() { return nullptr; }
    static bool IsValid(void* view) { return view != nullptr; }
    static void Close(void* view) { UnmapViewOfFile(view); }
};
using ScopedMappedView = Scoped<void*, MappedViewTraits>;

struct BenchmarkContext {
    UploadContext upload;           // file name, user name, payload, host, port, secure, reply
    const char* serviceUrl = nullptr;
    HWND progressDialog = nullptr;
    HWND progressBar = nullptr;     // 1002
    HWND progressLabel = nullptr;   // 1003
    HWND cancelButton = nullptr;    // IDCANCEL
    HANDLE cancelEvent = nullptr;
    ScopedHandle payloadSection;
    ScopedMappedView payload;
};

// True when the payload is ready, the service address is understood and the
// progress controls are looked up; a false return may leave some of it made.
bool InitBenchmarkContext(BenchmarkContext& context);
// Frees whatever InitBenchmarkContext made; harmless on a fresh context.
void ReleaseBenchmarkContext(BenchmarkContext& context);
// False without a context or a cancel event; otherwise true unless a wait of
// no time on the event times out (signalled, abandoned, failed all count).
bool IsBenchmarkCancelled(const BenchmarkContext* context);
// The service address's scheme, host and port (the scheme's default port when
// the address has none); false when it cannot be split.
bool SplitServiceUrl(const char* url, UploadContext& upload);
// "0000----" and the text of a new UUID.
std::string MakeMultipartBoundary();
