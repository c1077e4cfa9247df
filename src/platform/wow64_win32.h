// WOW64 and the machine's processor architecture.
#pragma once

#include <cstdint>

// True when this 32-bit program runs on 64-bit Windows.
bool IsRunningUnderWow64();

// wProcessorArchitecture of the machine: 0 x86, 6 Itanium, 9 x64, 10 32-bit on 64-bit.
uint16_t GetNativeProcessorArchitecture();
