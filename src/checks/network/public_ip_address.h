// Public IP Address: the address the benchmark service saw, informational.
#pragma once

#include "app/test_result.h"

#include <string>

void GradePublicIpAddress(const std::string& publicAddress, TestResult& result);

void CheckPublicIpAddress(TestResult& result);
