// What a grading leaves in the runner's fresh record (status F, no texts).
#pragma once

#include "app/test_result.h"

#include <tuple>

using Record = std::tuple<TestStatus, std::string, std::string>;  // status, summary, details

template <typename Facts>
Record Graded(void (*grade)(const Facts&, TestResult&), const Facts& facts)
{
    TestResult result;
    grade(facts, result);
    return {result.status, result.summary, result.details};
}
