#include "transcript.h"

#include <cstdio>

std::string EscapeForTranscript(const std::string& text)
{
    std::string escaped;
    escaped.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '\\': escaped += "\\\\"; break;
        case '\r': escaped += "\\r"; break;
        case '\n': escaped += "\\n"; break;
        case '\t': escaped += "\\t"; break;
        default: escaped += c; break;
        }
    }
    return escaped;
}

void Transcript::Line(const std::string& text)
{
    // The scenario script reads these lines through a pipe while the driver
    // waits for it, so nothing may stay in a buffer.
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void Transcript::Failure(const std::string& text)
{
    ++failures_;
    Line(text);
}
