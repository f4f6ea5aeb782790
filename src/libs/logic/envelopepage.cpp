#include "envelopepage.h"

#include "drawing/printersurface.h"
#include "settings/linereader.h"

#include <utility>

namespace {

void printAt(PrinterSurface &printer, PagePoint position, const QString &line)
{
    printer.setCurrentX(static_cast<float>(position.x));
    printer.setCurrentY(static_cast<float>(position.y));
    printer.Print(line);
}

} // namespace

QStringList printedLines(const QString &boxText)
{
    return LineReader::lines(QString(boxText + QLatin1StringView("\r\n")));
}

EnvelopePageContent envelopeContent(
    const EnvelopeLook &look, const QString &recipient, const QString &zipDigits)
{
    EnvelopePageContent content;
    content.layout = layoutFor(look.choice);
    content.printLogo = look.printLogo;
    if (look.printLogo)
        content.logo = look.logo;
    if (!look.returnAddress.isEmpty())
        content.returnLines = printedLines(look.returnAddress);
    content.recipientLines = printedLines(recipient);
    content.fontPosition = look.choice.fontPosition;
    content.printBarCode = look.printBarCode;
    content.zipDigits = zipDigits;
    return content;
}

EnvelopePage::EnvelopePage(EnvelopePageContent content, BarCodeDrawer drawBarCode)
    : m_content(std::move(content))
    , m_drawBarCode(std::move(drawBarCode))
{ }

bool EnvelopePage::compose(PrinterSurface &printer) const
{
    using Step = void (EnvelopePage::*)(PrinterSurface &) const;
    static constexpr Step steps[] = {
        &EnvelopePage::setUpPage,
        &EnvelopePage::drawLogo,
        &EnvelopePage::printReturnAddress,
        &EnvelopePage::printRecipientAddress,
        &EnvelopePage::drawBarCode,
    };
    for (const Step step : steps) {
        (this->*step)(printer);
        if (!printer.isOk())
            return false;
    }
    return true;
}

void EnvelopePage::setUpPage(PrinterSurface &printer) const
{
    printer.setLandscape();
    printer.setScaleMode(DrawingSurface::Centimeters);
}

void EnvelopePage::drawLogo(PrinterSurface &printer) const
{
    if (!m_content.printLogo)
        return;
    const PageBox box = logoBox(m_content.layout);
    printer.PaintPicture(m_content.logo, static_cast<float>(box.x), static_cast<float>(box.y),
        static_cast<float>(box.width), static_cast<float>(box.height));
}

void EnvelopePage::printReturnAddress(PrinterSurface &printer) const
{
    printer.setFontSize(EnvelopeGeometry::ReturnFontPoints);
    printer.setFontBold(false);
    for (int k = 0; k < m_content.returnLines.size() && printer.isOk(); ++k) {
        printAt(printer, returnLinePosition(m_content.layout, m_content.printLogo, k),
            m_content.returnLines.at(k));
    }
}

void EnvelopePage::printRecipientAddress(PrinterSurface &printer) const
{
    printer.setFontSize(recipientFontPoints(m_content.fontPosition));
    printer.setFontBold(true);
    for (int k = 0; k < m_content.recipientLines.size() && printer.isOk(); ++k) {
        printAt(printer, recipientLinePosition(m_content.layout, m_content.fontPosition, k),
            m_content.recipientLines.at(k));
    }
}

void EnvelopePage::drawBarCode(PrinterSurface &printer) const
{
    const auto lineCount = static_cast<int>(m_content.recipientLines.size());
    const PagePoint pen = barCodePosition(m_content.layout, m_content.fontPosition, lineCount);
    printer.setCurrentX(static_cast<float>(pen.x));
    printer.setCurrentY(static_cast<float>(pen.y));
    if (m_content.printBarCode && m_drawBarCode)
        m_drawBarCode(m_content.zipDigits, printer);
}
