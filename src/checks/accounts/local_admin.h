// "Local Admin": whether the user running the program holds administrative rights.
#pragma once

#include "app/test_result.h"

#include <string>

struct LocalAdminFacts {
    bool isLocalAdmin = false;  // the token test's answer; any failure reads as false
    std::string userName;       // empty when it cannot be read
};

// Always informational: the rights matter for installing, not for running.
void GradeLocalAdmin(const LocalAdminFacts& facts, TestResult& result);

void CheckLocalAdmin(TestResult& result);
