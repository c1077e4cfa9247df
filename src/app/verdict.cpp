#include "app/verdict.h"

#include "app/results.h"

namespace {

constexpr uint32_t kIconExclamation = 0x30;
constexpr uint32_t kIconHand = 0x10;

} // namespace

OverallVerdict ComputeVerdictOf(const std::vector<TestResult>& results)
{
    OverallVerdict verdict;
    signed char letter = 'A';
    for (const TestResult& result : results) {
        if (result.entry == nullptr || result.entry->required == 0)
            continue;
        // Letters compare as signed 8-bit codes; anything outside A..I fails.
        const signed char status = static_cast<signed char>(result.status);
        if (status < 'A' || status > 'I')
            letter = 'F';
        else if (status > letter && status != 'I')
            letter = status;
    }
    // Only A and F come out: a letter between them (never produced by a
    // check) cannot approve the computer.
    if (letter == 'A') {
        verdict.letter = 'A';
        verdict.verdictText = "Approved";
        verdict.message = "Your computer is suitable to run the Velmora Deposit software.";
        verdict.icon = kIconExclamation;
    } else {
        verdict.letter = 'F';
        verdict.verdictText = "Failed";
        verdict.message = "Your computer did not pass one or more suitability tests.";
        verdict.icon = kIconHand;
    }
    return verdict;
}

OverallVerdict ComputeOverallVerdict()
{
    std::vector<TestResult> snapshot;
    {
        std::lock_guard<std::mutex> lock(g_resultsLock);
        snapshot = g_results;
    }
    return ComputeVerdictOf(snapshot);
}
