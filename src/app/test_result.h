// The record every check fills in, and the row of the test table it belongs to.
#pragma once

#include <cstdint>
#include <string>

// 'A' approved, 'F' failed, 'I' informational.
using TestStatus = char;

struct TestResult;
using CheckFunction = void (*)(TestResult& result);

struct TestEntry {
    uint32_t required;      // 1: the row takes part in the overall verdict
    CheckFunction check;    // null marks the end of the table
    const char* name;
};

struct TestResult {
    const TestEntry* entry = nullptr;
    TestStatus status = 'F';
    std::string name;
    std::string summary;    // one line, the list's "Description" column
    std::string details;    // the long explanation, may hold line feeds
};

// A fresh record for one row: status F, the row's name, empty texts.
TestResult MakeFreshResult(const TestEntry& entry);
