#include "app/results.h"

std::vector<TestResult>& g_results = *new std::vector<TestResult>();
std::mutex& g_resultsLock = *new std::mutex();

void AppendResult(const TestResult& result)
{
    std::lock_guard<std::mutex> lock(g_resultsLock);
    g_results.push_back(result);
}

bool CopyResult(size_t index, TestResult& copy)
{
    std::lock_guard<std::mutex> lock(g_resultsLock);
    if (index >= g_results.size())
        return false;
    copy = g_results[index];
    return true;
}
