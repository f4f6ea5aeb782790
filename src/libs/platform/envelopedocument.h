#pragma once

#include <QPainter>

class EnvelopePage;
class QPrinter;

// Many envelopes in one document on one printer (a PDF file): each page is
// composed on a surface of its own and painted as soon as it is complete, so
// memory does not grow with the number of pages.
class EnvelopeDocument
{
public:
    explicit EnvelopeDocument(QPrinter &printer);
    EnvelopeDocument(const EnvelopeDocument &) = delete;
    EnvelopeDocument &operator=(const EnvelopeDocument &) = delete;

    // Adds the envelope as the next page; false when the printer failed, and
    // the document is then no good.
    [[nodiscard]] bool add(const EnvelopePage &page);
    // Ends the document; false when it could not be finished.
    [[nodiscard]] bool finish();

    [[nodiscard]] int pageCount() const { return m_pages; }

private:
    QPrinter &m_printer;
    QPainter m_painter;
    int m_pages = 0;
};
