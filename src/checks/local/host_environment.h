// Host Environment: remote desktop and virtual machines, else the architecture.
#pragma once

#include "app/test_result.h"

#include <cstdint>

// The environment probes, asked in order until one answers; a probe that is
// not needed is never run (the processor-level ones raise faults on real
// hardware, so they are not run without cause).
class HostEnvironmentProbes {
public:
    virtual ~HostEnvironmentProbes() = default;
    virtual bool IsRemoteSession() = 0;
    virtual bool IsInsideVirtualPc() = 0;
    virtual bool IsInsideVmware(int32_t& version, uint32_t& productType) = 0;
    virtual bool IsInsideVirtualBox() = 0;
    virtual uint16_t NativeProcessorArchitecture() = 0;
};

void GradeHostEnvironment(HostEnvironmentProbes& probes, TestResult& result);

// The check on this system's probes (Windows build).
void CheckHostEnvironment(TestResult& result);
