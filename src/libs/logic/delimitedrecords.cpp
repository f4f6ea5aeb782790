#include "delimitedrecords.h"

using namespace Qt::StringLiterals;

namespace {

// Line breaks in the text: CR LF, CR and LF each count once.
int lineBreaks(QStringView text)
{
    return int(text.count(u'\r') + text.count(u'\n') - text.count(u"\r\n"));
}

} // namespace

qsizetype DelimitedRecords::NextPlace::from(QStringView text, qsizetype at)
{
    if (m_place < at) {
        m_place = text.indexOf(m_sought, at);
        if (m_place < 0)
            m_place = text.size();
    }
    return m_place;
}

DelimitedRecords::DelimitedRecords(QStringView text, QChar delimiter)
    : m_text(text)
    , m_delimiter(delimiter)
{ }

bool DelimitedRecords::next(std::vector<FieldSpan> &fields)
{
    fields.clear();
    if (m_at >= m_text.size() || m_openQuoteLine > 0)
        return false;
    m_recordLine = m_line;
    for (;;) {
        FieldSpan field;
        field.start = m_at;
        if (m_at < m_text.size() && m_text.data()[m_at] == u'"') {
            field.start = ++m_at;
            const int fieldLine = m_line;
            do {
                field.closingQuote = m_quote.from(m_text, m_at);
                m_at = field.closingQuote + 2;
            } while (m_at <= m_text.size() && m_text.data()[m_at - 1] == u'"');
            if (field.closingQuote == m_text.size()) {
                m_openQuoteLine = fieldLine;
                return false;
            }
            m_line += lineBreaks(m_text.mid(field.start, field.closingQuote - field.start));
            m_at = field.closingQuote + 1;
        }
        m_at = field.end = fieldEnd();
        fields.push_back(field);
        if (m_at == m_text.size() || m_delimiter.from(m_text, m_at) != m_at)
            break;
        ++m_at;
    }
    skipLineBreak();
    return true;
}

// The first delimiter or line break from the scan's place, or the end of the text.
qsizetype DelimitedRecords::fieldEnd()
{
    return qMin(m_delimiter.from(m_text, m_at),
        qMin(m_carriageReturn.from(m_text, m_at), m_lineFeed.from(m_text, m_at)));
}

void DelimitedRecords::skipLineBreak()
{
    if (m_at >= m_text.size())
        return;
    const bool crLf = m_at + 1 < m_text.size() && m_text.data()[m_at] == u'\r'
        && m_text.data()[m_at + 1] == u'\n';
    m_at += crLf ? 2 : 1;
    ++m_line;
}

QString DelimitedRecords::value(const FieldSpan &field) const
{
    if (field.closingQuote < 0)
        return m_text.mid(field.start, field.end - field.start).toString();
    QString quoted = m_text.mid(field.start, field.closingQuote - field.start).toString();
    return quoted.replace(u"\"\""_s, u"\""_s)
        .append(m_text.mid(field.closingQuote + 1, field.end - field.closingQuote - 1));
}

bool DelimitedRecords::isBlank(const FieldSpan &field) const
{
    // A doubled quote inside quotes is a character, so blanks alone make a blank field.
    const qsizetype contentEnd = field.closingQuote < 0 ? field.end : field.closingQuote;
    const qsizetype tailStart = field.closingQuote < 0 ? field.end : field.closingQuote + 1;
    return m_text.mid(field.start, contentEnd - field.start).trimmed().isEmpty()
        && m_text.mid(tailStart, field.end - tailStart).trimmed().isEmpty();
}

QChar DelimitedRecords::delimiterOf(QStringView text)
{
    QChar best = u',';
    size_t most = 0;
    std::vector<FieldSpan> fields;
    for (const QChar delimiter : {u',', u';', u'\t'}) {
        DelimitedRecords records(text, delimiter);
        while (records.next(fields) && fields.size() == 1 && records.isBlank(fields.front())) { }
        if (fields.size() > most) {
            most = fields.size();
            best = delimiter;
        }
    }
    return best;
}
