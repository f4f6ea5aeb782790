#include "recordingprinter.h"

#include <utility>

namespace {

QString number(double value)
{
    return QString::number(value, 'g', 6);
}

QString describe(const PrinterCall &call)
{
    QStringList parts {call.operation};
    for (const double value : call.numbers)
        parts << number(value);
    const bool isPrint = call.operation == u"Print";
    if (isPrint || !call.text.isEmpty())
        parts << u'"' + call.text + u'"';
    if (isPrint)
        parts << u'@' + number(call.penX) + u',' + number(call.penY);
    return parts.join(u' ');
}

} // namespace

void RecordingPrinter::setScaleMode(int mode)
{
    record(QStringLiteral("setScaleMode"), {double(mode)});
    DrawingSurface::setScaleMode(mode);
}

void RecordingPrinter::setCurrentX(float x)
{
    record(QStringLiteral("setCurrentX"), {x});
    DrawingSurface::setCurrentX(x);
}

void RecordingPrinter::setCurrentY(float y)
{
    record(QStringLiteral("setCurrentY"), {y});
    DrawingSurface::setCurrentY(y);
}

void RecordingPrinter::Line(float x1, float y1, float x2, float y2)
{
    record(QStringLiteral("Line"), {x1, y1, x2, y2});
}

void RecordingPrinter::setLandscape()
{
    record(QStringLiteral("setLandscape"));
}

void RecordingPrinter::setFontSize(double points)
{
    record(QStringLiteral("setFontSize"), {points});
}

void RecordingPrinter::setFontBold(bool on)
{
    record(QStringLiteral("setFontBold"), {on ? 1.0 : 0.0});
}

void RecordingPrinter::Print(const QString &line)
{
    record(QStringLiteral("Print"), {}, line);
}

void RecordingPrinter::PaintPicture(
    const QImage &picture, float x, float y, float width, float height)
{
    record(QStringLiteral("PaintPicture"), {x, y, width, height},
        QStringLiteral("%1x%2").arg(picture.width()).arg(picture.height()));
}

bool RecordingPrinter::EndDoc()
{
    record(QStringLiteral("EndDoc"));
    return m_ok;
}

void RecordingPrinter::abortDoc()
{
    record(QStringLiteral("abortDoc"));
}

QStringList RecordingPrinter::log() const
{
    QStringList lines;
    for (const PrinterCall &call : m_calls)
        lines << describe(call);
    return lines;
}

void RecordingPrinter::record(const QString &operation, QList<double> numbers, const QString &text)
{
    if (m_failFrom >= 0 && m_calls.size() >= m_failFrom)
        m_ok = false;
    m_calls << PrinterCall {operation, std::move(numbers), text, CurrentX(), CurrentY()};
}
