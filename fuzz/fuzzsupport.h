#pragma once

#include <QByteArray>
#include <QString>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// A property that does not hold is a finding: say which, and abort so that
// libFuzzer keeps the input that broke it.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(                                                                          \
                stderr, "%s:%d: property does not hold: %s\n", __FILE__, __LINE__, #condition);    \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

namespace Fuzz {

inline QByteArray bytesOf(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
}

// Takes a value of fixed size from the front of the input (zeros where the
// input is short); what is left is the text under test.
template <typename T> [[nodiscard]] T take(QByteArray &input)
{
    T value {};
    std::memcpy(&value, input.constData(), std::min(sizeof value, size_t(input.size())));
    input.remove(0, sizeof value);
    return value;
}

inline QString digitsOf(QStringView text)
{
    QString digits;
    for (const QChar c : text) {
        if (c >= u'0' && c <= u'9')
            digits.append(c);
    }
    return digits;
}

// Log messages of refused or odd input are expected by the thousand here.
inline void silenceLogs()
{
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
}

} // namespace Fuzz
