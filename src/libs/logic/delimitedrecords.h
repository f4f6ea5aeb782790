#pragma once

#include <QString>
#include <QStringView>

#include <vector>

// Where a field lies in the text: from `start` to `end`. A quoted field starts after its
// opening quote; its closing quote is at `closingQuote`, and what follows that up to the
// delimiter belongs to the field too.
struct FieldSpan
{
    qsizetype start = 0;
    qsizetype end = 0;
    qsizetype closingQuote = -1; // -1: not quoted
};

// The records of a comma-, semicolon- or tab-separated text, one at a time: a field that
// starts with a double quote runs to the next lone quote, over delimiters and line breaks,
// with "" for a quote inside; CR LF, CR and LF end a record; a break at the very end starts
// none. The fields are spans into the text, so nothing is copied that is not asked for.
class DelimitedRecords
{
public:
    DelimitedRecords(QStringView text, QChar delimiter);

    // The next record's fields. False at the end of the text, or at a quote left open.
    bool next(std::vector<FieldSpan> &fields);
    // The 1-based line where the record last given begins.
    [[nodiscard]] int recordLine() const { return m_recordLine; }
    // The line where a field that is still quoted at the end of the text begins; 0 if none.
    [[nodiscard]] int openQuoteLine() const { return m_openQuoteLine; }
    // The field's text, its quotes undone.
    [[nodiscard]] QString value(const FieldSpan &field) const;
    [[nodiscard]] bool isBlank(const FieldSpan &field) const;

    // Of comma, semicolon and tab, the one that splits the first record holding anything into
    // the most fields, quotes respected; the earlier of those three on a tie.
    [[nodiscard]] static QChar delimiterOf(QStringView text);

private:
    // The next place of a character at or after a position, kept until the scan passes it,
    // so that finding the ends of fields costs one search per character sought.
    class NextPlace
    {
    public:
        explicit NextPlace(QChar sought)
            : m_sought(sought)
        { }
        qsizetype from(QStringView text, qsizetype at);

    private:
        QChar m_sought;
        qsizetype m_place = -1;
    };

    qsizetype fieldEnd();
    void skipLineBreak();

    QStringView m_text;
    qsizetype m_at = 0;
    int m_line = 1;
    int m_recordLine = 0;
    int m_openQuoteLine = 0;
    NextPlace m_delimiter;
    NextPlace m_carriageReturn {u'\r'};
    NextPlace m_lineFeed {u'\n'};
    NextPlace m_quote {u'"'};
};
