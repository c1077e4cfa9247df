// What the targets share: the input provider and libFuzzer's entry, written FUZZ(in) { ... }.
#pragma once
#include <algorithm>
#include <cassert>
#include <cstring>
#include <fuzzer/FuzzedDataProvider.h>
#include <utility>
#define FUZZ(in) static void Fuzz(FuzzedDataProvider& in);                                                          \
    extern "C" int LLVMFuzzerTestOneInput(const uint8_t* d, size_t n) { FuzzedDataProvider in(d, n); return Fuzz(in), 0; } \
    static void Fuzz(FuzzedDataProvider& in)
