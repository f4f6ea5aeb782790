#pragma once

#include <QByteArray>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace Fuzz {

// A property that does not hold is a finding: say which, and abort so that
// libFuzzer keeps the input that broke it.
[[noreturn]] inline void fail(const char *file, int line, const char *property)
{
    std::fprintf(stderr, "%s:%d: property does not hold: %s\n", file, line, property);
    std::abort();
}

// Takes a value of fixed size from the front of the input (zeros where the
// input is short); what is left is the text under test.
template <typename T> [[nodiscard]] T take(QByteArray &input)
{
    T value {};
    std::memcpy(&value, input.constData(), qMin(sizeof value, size_t(input.size())));
    input.remove(0, sizeof value);
    return value;
}

} // namespace Fuzz

#define FUZZ_CHECK(condition) ((condition) ? void() : Fuzz::fail(__FILE__, __LINE__, #condition))
