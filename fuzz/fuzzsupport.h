#pragma once

#include <QByteArray>

#include <cstring>

// A property that does not hold aborts, so that libFuzzer keeps the input.
#define FUZZ_CHECK(condition)                                                                      \
    ((condition) ? void() : qFatal("%s:%d: %s", __FILE__, __LINE__, #condition))

namespace Fuzz {
// A value from the front of the input (zeros where it is short); the rest is the text under test.
template <typename T> [[nodiscard]] T take(QByteArray &input)
{
    T value {};
    std::memcpy(&value, input.constData(), qMin(sizeof value, size_t(input.size())));
    input.remove(0, sizeof value);
    return value;
}
} // namespace Fuzz
