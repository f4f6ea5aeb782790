#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <cstddef>
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

// Reads fixed-size values from the front of the input; what is left over is
// the text under test. A short input reads as zeros.
class InputReader
{
public:
    InputReader(const uint8_t *data, size_t size)
        : m_data(data)
        , m_size(size)
    { }

    template <typename T> [[nodiscard]] T take()
    {
        T value {};
        const size_t count = m_size < sizeof value ? m_size : sizeof value;
        if (count > 0)
            std::memcpy(&value, m_data, count);
        m_data += count;
        m_size -= count;
        return value;
    }

    [[nodiscard]] QByteArray rest() const { return bytesOf(m_data, m_size); }

private:
    const uint8_t *m_data;
    size_t m_size;
};

// Log messages of refused or odd input are expected by the thousand here.
inline void silenceLogs()
{
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
}

} // namespace Fuzz
