// The driver's transcript: one line per thing a person would notice, written
// to standard output at once so that the scenario script can react to it
// (it takes a screenshot when it reads a SCREENSHOT line).
#pragma once

#include <string>

// Makes a control's text fit on one transcript line: backslash, carriage
// return, line feed and tab become \\, \r, \n and \t.
std::string EscapeForTranscript(const std::string& text);

class Transcript {
public:
    // Writes one line and flushes it.
    void Line(const std::string& text);
    // A wait or a check that went wrong: written as a line and counted, so
    // that the driver ends with "END failed <n>".
    void Failure(const std::string& text);
    int Failures() const { return failures_; }

private:
    int failures_ = 0;
};
