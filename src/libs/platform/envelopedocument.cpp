#include "envelopedocument.h"

#include "logic/envelopepage.h"
#include "qtprintersurface.h"

#include <QPrinter>

EnvelopeDocument::EnvelopeDocument(QPrinter &printer)
    : m_printer(printer)
{ }

bool EnvelopeDocument::add(const EnvelopePage &page)
{
    QtPrinterSurface surface(m_printer);
    if (!page.compose(surface))
        return false;
    const bool started = m_pages == 0 ? m_painter.begin(&m_printer) : m_printer.newPage();
    if (!started) {
        qCWarning(lcPrinter) << "The printer cannot begin page" << m_pages + 1;
        return false;
    }
    surface.paintPage(m_painter);
    ++m_pages;
    return true;
}

bool EnvelopeDocument::finish()
{
    if (m_pages == 0)
        return true;
    if (!m_painter.end() || m_printer.printerState() == QPrinter::Error) {
        qCWarning(lcPrinter) << "The printer cannot finish the document";
        return false;
    }
    return true;
}
