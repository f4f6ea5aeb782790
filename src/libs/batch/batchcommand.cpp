#include "batchcommand.h"

#include "version.h"

#include <QCommandLineParser>

#include <array>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

// A choice's words on the command line, each with the value it stands for.
template <typename Value> using Words = std::initializer_list<std::pair<QStringView, Value>>;

const Words<int> SizeWords {{u"small", 0}, {u"long", 1}, {u"large", 2}};
const Words<FeedSide> FeedWords {{u"right", FeedSide::Right}, {u"center", FeedSide::Center},
    {u"centre", FeedSide::Center}, {u"left", FeedSide::Left}};
const Words<int> FontWords {{u"small", 0}, {u"medium", 1}, {u"large", 2}};
constexpr double MaxEdgeInches = 5;

template <typename Value>
std::optional<Value> wordValue(const QString &word, const Words<Value> &words)
{
    for (const auto &[each, value] : words) {
        if (word.compare(each, Qt::CaseInsensitive) == 0)
            return value;
    }
    return std::nullopt;
}

class Reader
{
public:
    Reader()
    {
        m_parser.setApplicationDescription(
            u"Prints addressed envelopes: the window, or whole address lists to a PDF or a printer."_s);
        m_parser.addPositionalArgument(u"FILE"_s,
            u"The address file (.qmf) the window opens, or the address lists (.qmf, vCard, CSV, "
            u"TSV; "
            "- for standard input) that --pdf, --print and --list take."_s,
            u"[FILE...]"_s);
        m_parser.addOptions({m_pdf, m_print, m_printer, m_list, m_size, m_feed, m_edge, m_font,
            m_barcode, m_noBarcode, m_logo, m_noLogo, m_from, m_column, m_paper, m_imb});
    }

    ParsedCommandLine read(const QStringList &arguments)
    {
        if (!m_parser.parse(arguments))
            return usageError(m_parser.errorText());
        if (m_parser.isSet(m_help))
            return ending(m_parser.helpText());
        if (m_parser.isSet(m_version))
            return ending(u"Quillmark %1\n"_s.arg(QLatin1StringView(Version::String)));
        BatchCommand &command = m_parsed.command;
        command.files = m_parser.positionalArguments();
        if (!readMode() || !readChoices() || !readSwitches() || !readColumns()
            || !readIntelligentMail())
            return std::move(m_parsed);
        if (command.mode == BatchCommand::Mode::Window)
            checkWindow();
        else if (command.files.isEmpty())
            return usageError(u"no address list given"_s);
        return std::move(m_parsed);
    }

private:
    ParsedCommandLine &usageError(const QString &message)
    {
        m_parsed.exitStatus = ExitStatus::Usage;
        m_parsed.error = u"quillmark: %1\nTry 'quillmark --help'.\n"_s.arg(message);
        return m_parsed;
    }

    ParsedCommandLine &ending(const QString &output)
    {
        m_parsed.exitStatus = ExitStatus::Ok;
        m_parsed.output = output;
        return m_parsed;
    }

    [[nodiscard]] bool failed(const QString &message)
    {
        usageError(message);
        return false;
    }

    bool readMode()
    {
        BatchCommand &command = m_parsed.command;
        const int modes = m_parser.isSet(m_pdf) + m_parser.isSet(m_print) + m_parser.isSet(m_list);
        if (modes > 1)
            return failed(u"--pdf, --print and --list exclude each other"_s);
        if (m_parser.isSet(m_pdf)) {
            command.mode = BatchCommand::Mode::Pdf;
            command.pdf = m_parser.value(m_pdf);
        } else if (m_parser.isSet(m_print)) {
            command.mode = BatchCommand::Mode::Print;
        } else if (m_parser.isSet(m_list)) {
            command.mode = BatchCommand::Mode::List;
        }
        if (m_parser.isSet(m_printer) && command.mode != BatchCommand::Mode::Print)
            return failed(u"--printer goes with --print"_s);
        command.printer = m_parser.value(m_printer);
        command.paper = m_parser.value(m_paper);
        command.returnAddressFile = m_parser.value(m_from);
        return true;
    }

    template <typename Value>
    bool readWord(
        const QCommandLineOption &option, const Words<Value> &words, std::optional<Value> &into)
    {
        if (!m_parser.isSet(option))
            return true;
        const QString word = m_parser.value(option);
        into = wordValue(word, words);
        if (into)
            return true;
        QStringList allowed;
        for (const auto &pair : words)
            allowed << pair.first.toString();
        return failed(u"--%1 takes %2, not \"%3\""_s.arg(
            option.names().constFirst(), allowed.join(u", "_s), word));
    }

    bool readChoices()
    {
        BatchCommand &command = m_parsed.command;
        if (!readWord(m_size, SizeWords, command.envelopeSize)
            || !readWord(m_feed, FeedWords, command.feedSide)
            || !readWord(m_font, FontWords, command.fontPosition))
            return false;
        if (!m_parser.isSet(m_edge))
            return true;
        bool isNumber = false;
        const double inches = m_parser.value(m_edge).toDouble(&isNumber);
        if (!isNumber || !(inches >= 0 && inches <= MaxEdgeInches))
            return failed(
                u"--edge takes inches from 0 to 5, not \"%1\""_s.arg(m_parser.value(m_edge)));
        command.edgeInches = inches;
        return true;
    }

    bool readSwitch(
        const QCommandLineOption &on, const QCommandLineOption &off, std::optional<bool> &into)
    {
        if (m_parser.isSet(on) && m_parser.isSet(off))
            return failed(u"--%1 and --%2 exclude each other"_s.arg(
                on.names().constFirst(), off.names().constFirst()));
        if (m_parser.isSet(on) || m_parser.isSet(off))
            into = m_parser.isSet(on);
        return true;
    }

    bool readSwitches()
    {
        BatchCommand &command = m_parsed.command;
        return readSwitch(m_barcode, m_noBarcode, command.barCode)
            && readSwitch(m_logo, m_noLogo, command.logo);
    }

    bool readColumns()
    {
        for (const QString &choice : m_parser.values(m_column)) {
            if (!m_parsed.command.columns.choose(choice))
                return failed(
                    u"--column takes FIELD=HEADER, FIELD one of name, first, last, "
                    "company, street, street2, city, state, zip and country, not \"%1\""_s.arg(
                        choice));
        }
        return true;
    }

    bool readIntelligentMail()
    {
        if (!m_parser.isSet(m_imb))
            return true;
        const IntelligentMail::ParsedFields parsed
            = IntelligentMail::parseFields(m_parser.value(m_imb));
        if (!parsed.error.isEmpty())
            return failed(u"--imb: %1"_s.arg(parsed.error));
        m_parsed.command.intelligentMail = parsed.fields;
        return true;
    }

    // The window takes one file and none of the options of a run.
    void checkWindow()
    {
        const QStringList runOptions {u"printer"_s, u"size"_s, u"feed"_s, u"edge"_s, u"font"_s,
            u"barcode"_s, u"no-barcode"_s, u"logo"_s, u"no-logo"_s, u"from"_s, u"column"_s,
            u"paper"_s, u"imb"_s};
        for (const QString &name : m_parser.optionNames()) {
            if (runOptions.contains(name)) {
                usageError(u"--%1 goes with --pdf, --print or --list"_s.arg(name));
                return;
            }
        }
        if (m_parsed.command.files.size() > 1)
            usageError(u"the window opens one address file; --pdf, --print or --list take lists"_s);
    }

    QCommandLineParser m_parser;
    const QCommandLineOption m_help = m_parser.addHelpOption();
    const QCommandLineOption m_version = m_parser.addVersionOption();
    const QCommandLineOption m_pdf {
        u"pdf"_s, u"Write one PDF, an envelope a page."_s, u"OUT.pdf"_s};
    const QCommandLineOption m_print {u"print"_s, u"Print every envelope as one job."_s};
    const QCommandLineOption m_printer {
        u"printer"_s, u"The print queue (default: the user's default)."_s, u"NAME"_s};
    const QCommandLineOption m_list {
        u"list"_s, u"Show each envelope's address and bar code; print nothing."_s};
    const QCommandLineOption m_size {
        u"size"_s, u"Envelope size: small, long or large."_s, u"SIZE"_s};
    const QCommandLineOption m_feed {
        u"feed"_s, u"The side the envelopes feed along: right, center or left."_s, u"SIDE"_s};
    const QCommandLineOption m_edge {u"edge"_s, u"Edge space in inches, 0 to 5."_s, u"INCHES"_s};
    const QCommandLineOption m_font {
        u"font"_s, u"Recipient font size: small, medium or large."_s, u"SIZE"_s};
    const QCommandLineOption m_barcode {u"barcode"_s, u"Print the POSTNET bar code."_s};
    const QCommandLineOption m_noBarcode {u"no-barcode"_s, u"Print no bar code."_s};
    const QCommandLineOption m_logo {u"logo"_s, u"Print the logo."_s};
    const QCommandLineOption m_noLogo {u"no-logo"_s, u"Print no logo."_s};
    const QCommandLineOption m_from {
        u"from"_s, u"The return address from this file instead of the saved one."_s, u"FILE"_s};
    const QCommandLineOption m_column {u"column"_s,
        u"Which column of a CSV or TSV list holds a field: name, first, last, company, street, "
        "street2, city, state, zip or country (repeatable)."_s,
        u"FIELD=HEADER"_s};
    const QCommandLineOption m_imb {u"imb"_s,
        u"An Intelligent Mail barcode instead of POSTNET on every envelope. FIELDS are "
        "BARCODE_ID,SERVICE_TYPE,MAILER_ID,FIRST_SERIAL; the serial counts up by one."_s,
        u"FIELDS"_s};
    const QCommandLineOption m_paper {u"paper"_s,
        u"Paper of the pages: A4, Letter, Legal... (default: the queue's, or the locale's for a "
        "PDF)."_s,
        u"NAME"_s};
    ParsedCommandLine m_parsed;
};

} // namespace

ParsedCommandLine parseCommandLine(const QStringList &arguments)
{
    return Reader().read(arguments);
}
