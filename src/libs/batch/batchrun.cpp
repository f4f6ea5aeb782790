#include "batchrun.h"

#include "logic/intelligentmail.h"
#include "logic/postnet.h"
#include "logic/zipextraction.h"
#include "platform/cupsqueue.h"
#include "platform/envelopedocument.h"
#include "platform/outputfile.h"
#include "platform/terminationsignals.h"
#include "platform/userfiles.h"
#include "savedlook.h"

#include <QCoreApplication>
#include <QFile>
#include <QPrinter>
#include <QTemporaryFile>
#include <QTextStream>

#include <langinfo.h>

using namespace Qt::StringLiterals;

namespace {

// No address list is this large; a larger one is refused rather than cut.
constexpr qint64 MaxListBytes = 256LL * 1024 * 1024;

QString plural(qsizetype count, const QString &one, const QString &many)
{
    return u"%1 %2"_s.arg(count).arg(count == 1 ? one : many);
}

QString envelopes(qsizetype count)
{
    return plural(count, u"envelope"_s, u"envelopes"_s);
}

std::optional<QPageSize> namedPaper(const QString &name)
{
    for (int id = 0; id <= int(QPageSize::LastPageSize); ++id) {
        const auto size = QPageSize::PageSizeId(id);
        if (name.compare(QPageSize::key(size), Qt::CaseInsensitive) == 0
            || name.compare(QPageSize::name(size), Qt::CaseInsensitive) == 0)
            return QPageSize(size);
    }
    return std::nullopt;
}

// The paper of the user's locale (LC_PAPER): Letter in the US, A4 in most places.
QPageSize localePaper()
{
    const auto width = int(reinterpret_cast<intptr_t>(nl_langinfo(_NL_PAPER_WIDTH)));
    const auto height = int(reinterpret_cast<intptr_t>(nl_langinfo(_NL_PAPER_HEIGHT)));
    if (width <= 0 || height <= 0)
        return QPageSize(QPageSize::A4);
    return QPageSize(QSizeF(width, height), QPageSize::Millimeter);
}

} // namespace

BatchRun::BatchRun(BatchCommand command, QTextStream &out, QTextStream &err)
    : m_command(std::move(command))
    , m_out(out)
    , m_err(err)
{ }

int BatchRun::run(const SettingsStore &store)
{
    if (!readLists())
        return ExitStatus::BadInput;
    if (m_envelopes.empty())
        return fail(
            ExitStatus::BadInput, u"no envelope in %1"_s.arg(m_command.files.join(u", "_s)));
    if (!prepareLook(store) || !encodeIntelligentMail())
        return ExitStatus::BadInput;
    int status = ExitStatus::Ok;
    switch (m_command.mode) {
    case BatchCommand::Mode::Pdf:
        status = writePdf();
        break;
    case BatchCommand::Mode::Print:
        status = print();
        break;
    case BatchCommand::Mode::List:
    case BatchCommand::Mode::Window:
        status = listEnvelopes();
        break;
    }
    if (status == ExitStatus::Ok)
        tellNextSerial();
    return status;
}

int BatchRun::fail(int status, const QString &message)
{
    m_err << "quillmark: " << message << Qt::endl;
    return status;
}

bool BatchRun::readLists()
{
    for (qsizetype file = 0; file < m_command.files.size(); ++file) {
        const QString &name = m_command.files.at(file);
        const std::optional<QByteArray> bytes = readList(name);
        if (!bytes)
            return false;
        const ListFormat format = guessListFormat(
            name, QByteArrayView(*bytes).first(qMin<qsizetype>(bytes->size(), 4096)));
        if (!takeList(file, readAddressList(*bytes, format, m_command.columns)))
            return false;
    }
    return true;
}

// "FILE:LINE", or the file alone for line 0.
QString BatchRun::where(qsizetype file, int line) const
{
    const QString &name = m_command.files.at(file);
    return line > 0 ? u"%1:%2"_s.arg(name).arg(line) : name;
}

QString BatchRun::sourceOf(const Envelope &envelope) const
{
    return where(envelope.file, envelope.line);
}

std::optional<QByteArray> BatchRun::readList(const QString &file)
{
    const std::optional<QByteArray> bytes = file == u"-"
        ? UserFiles::readStandardInput(MaxListBytes + 1)
        : UserFiles::read(file, MaxListBytes + 1);
    const QString name = file == u"-" ? u"standard input"_s : file;
    if (!bytes) {
        fail(ExitStatus::BadInput, u"%1: cannot be read"_s.arg(name));
        return std::nullopt;
    }
    if (bytes->size() > MaxListBytes) {
        fail(ExitStatus::BadInput, u"%1: larger than %2 MiB"_s.arg(name).arg(MaxListBytes >> 20));
        return std::nullopt;
    }
    return bytes;
}

// Each listed envelope is let go once taken: a long list is not held twice.
bool BatchRun::takeList(qsizetype file, AddressList list)
{
    if (list.error) {
        fail(ExitStatus::BadInput,
            u"%1: %2"_s.arg(where(file, list.error->line), list.error->message));
        return false;
    }
    for (const ListNotice &skipped : list.skipped) {
        m_err << "quillmark: " << where(file, skipped.line) << ": "
              << (skipped.name.isEmpty() ? QString() : skipped.name + u": "_s) << skipped.message
              << "; skipped" << Qt::endl;
    }
    for (ListedEnvelope &listed : list.envelopes) {
        const QString recipient = listed.lines.join(u"\r\n"_s);
        m_envelopes.push_back({file, listed.line, std::move(listed.name), recipient,
            extractZipDigits(recipient), {}, {}});
        listed = {};
    }
    return true;
}

// The saved choices, with what the command line chose for this run instead.
bool BatchRun::prepareLook(const SettingsStore &store)
{
    m_look = savedLook(store);
    EnvelopeChoice &choice = m_look.choice;
    choice.envelopeSize = m_command.envelopeSize.value_or(choice.envelopeSize);
    choice.feedSide = m_command.feedSide.value_or(choice.feedSide);
    choice.marginInches = m_command.edgeInches.value_or(choice.marginInches);
    choice.fontPosition = m_command.fontPosition.value_or(choice.fontPosition);
    m_look.printBarCode = m_command.barCode.value_or(m_look.printBarCode);
    m_look.printLogo = m_command.logo.value_or(m_look.printLogo);
    if (m_look.printLogo)
        m_look.logo = savedLogo(store);
    if (m_command.returnAddressFile.isEmpty())
        return true;
    const auto bytes = UserFiles::read(m_command.returnAddressFile, MaxListBytes);
    if (!bytes) {
        fail(ExitStatus::BadInput, u"%1: cannot be read"_s.arg(m_command.returnAddressFile));
        return false;
    }
    m_look.returnAddress = addressFileText(*bytes);
    return true;
}

// Every envelope's code is made, and every routing code checked, before
// anything prints: one envelope without a usable ZIP code stops the run.
bool BatchRun::encodeIntelligentMail()
{
    if (!m_command.intelligentMail)
        return true;
    const IntelligentMail::Fields &fields = *m_command.intelligentMail;
    const QString overflow = IntelligentMail::checkSerialRun(fields, qint64(m_envelopes.size()));
    if (!overflow.isEmpty()) {
        fail(ExitStatus::BadInput, u"--imb: %1"_s.arg(overflow));
        return false;
    }
    for (std::size_t k = 0; k < m_envelopes.size(); ++k) {
        Envelope &envelope = m_envelopes[k];
        envelope.trackingCode = IntelligentMail::trackingCode(fields, qint64(k));
        const IntelligentMail::Encoding code
            = IntelligentMail::encode(envelope.trackingCode, envelope.zipDigits);
        if (!code.error.isEmpty()) {
            fail(ExitStatus::BadInput,
                u"%1: %2: %3"_s.arg(sourceOf(envelope), envelope.name, code.error));
            return false;
        }
        envelope.intelligentMailBars = code.bars;
    }
    return true;
}

// The serial after the last one used, so that the next mailing can start there.
void BatchRun::tellNextSerial()
{
    if (!m_command.intelligentMail)
        return;
    const QString next
        = IntelligentMail::trackingCode(*m_command.intelligentMail, qint64(m_envelopes.size()));
    const QString serial = next.isEmpty()
        ? u"none left"_s
        : next.right(m_command.intelligentMail->firstSerial.size());
    m_err << "quillmark: next serial: " << serial << Qt::endl;
}

// The page the window prints for the recipient; with --imb, the Intelligent
// Mail barcode stands where the POSTNET bar code goes.
EnvelopePage BatchRun::pageOf(const Envelope &envelope) const
{
    EnvelopePageContent content = envelopeContent(m_look, envelope.recipient, envelope.zipDigits);
    if (!m_command.intelligentMail)
        return EnvelopePage(content, &basPostNet::DrawPostNet);
    content.printBarCode = true;
    return EnvelopePage(
        content, [bars = envelope.intelligentMailBars](const QString &, DrawingSurface &surface) {
            IntelligentMail::drawBars(bars, surface);
        });
}

int BatchRun::listEnvelopes()
{
    for (const Envelope &envelope : m_envelopes) {
        m_out << sourceOf(envelope) << '\n';
        for (const QString &line : printedLines(envelope.recipient))
            m_out << "  " << line << '\n';
        const std::optional<int> check = basPostNet::checkDigit(envelope.zipDigits);
        if (m_command.intelligentMail)
            m_out << "  Intelligent Mail: " << envelope.trackingCode << ' '
                  << (envelope.zipDigits.isEmpty() ? u"-"_s : envelope.zipDigits) << ' '
                  << envelope.intelligentMailBars << '\n';
        else if (!m_look.printBarCode)
            m_out << "  bar code: off\n";
        else if (!check)
            m_out << "  bar code: none (no ZIP code)\n";
        else
            m_out << "  bar code: " << envelope.zipDigits << ' ' << *check << '\n';
    }
    m_out << envelopes(qsizetype(m_envelopes.size())) << Qt::endl;
    return ExitStatus::Ok;
}

bool BatchRun::setPaper(QPrinter &printer)
{
    if (m_command.paper.isEmpty())
        return true;
    const std::optional<QPageSize> paper = namedPaper(m_command.paper);
    if (!paper) {
        fail(ExitStatus::Usage,
            u"no paper named \"%1\"; try A4, Letter or Legal"_s.arg(m_command.paper));
        return false;
    }
    printer.setPageSize(*paper);
    return true;
}

int BatchRun::writePdf()
{
    const auto termination = stopOnTermination();
    OutputFile output(m_command.pdf);
    if (!output.create())
        return fail(ExitStatus::OutputFailed,
            u"%1: cannot be written: %2"_s.arg(m_command.pdf, output.errorString()));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(output.temporaryPath());
    printer.setPageSize(localePaper());
    if (!setPaper(printer))
        return ExitStatus::Usage;
    if (!makePages(printer))
        return m_interrupted ? ExitStatus::Interrupted : ExitStatus::OutputFailed;
    if (!output.commit())
        return fail(ExitStatus::OutputFailed,
            u"%1: cannot be written: %2"_s.arg(m_command.pdf, output.errorString()));
    m_err << "quillmark: " << envelopes(qsizetype(m_envelopes.size())) << " written to "
          << m_command.pdf << Qt::endl;
    return ExitStatus::Ok;
}

// The job is made whole in a file of its own first, and sent only when complete:
// a failure or an interrupt on the way sends nothing.
int BatchRun::print()
{
    QString error;
    const std::optional<CupsQueue::Destination> queue = CupsQueue::find(m_command.printer, error);
    if (!queue)
        return fail(ExitStatus::OutputFailed, error);
    const auto termination = stopOnTermination();
    QTemporaryFile spool;
    if (!spool.open())
        return fail(
            ExitStatus::OutputFailed, u"cannot make the print file: %1"_s.arg(spool.errorString()));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(spool.fileName());
    printer.setPageSize(queue->paper);
    printer.setPageMargins(queue->marginsMillimetres, QPageLayout::Millimeter);
    if (!setPaper(printer))
        return ExitStatus::Usage;
    if (!makePages(printer))
        return m_interrupted ? ExitStatus::Interrupted : ExitStatus::OutputFailed;
    const QString title = u"Quillmark: %1"_s.arg(envelopes(qsizetype(m_envelopes.size())));
    const int job = CupsQueue::submit(*queue, spool.fileName(), title, error);
    if (job == 0)
        return fail(ExitStatus::OutputFailed,
            u"the job for %1 failed, nothing is printed: %2"_s.arg(queue->name, error));
    m_err << "quillmark: " << envelopes(qsizetype(m_envelopes.size())) << " sent to " << queue->name
          << " as job " << job << Qt::endl;
    return ExitStatus::Ok;
}

// Until a file is begun, Ctrl+C ends the program at once, as nothing is written
// yet; from then on it stops the run between pages and removes what was begun.
std::unique_ptr<TerminationSignals> BatchRun::stopOnTermination()
{
    auto termination = std::make_unique<TerminationSignals>();
    QObject::connect(termination.get(), &TerminationSignals::received, [this] { interrupt(); });
    return termination;
}

bool BatchRun::makePages(QPrinter &printer)
{
    EnvelopeDocument document(printer);
    for (const Envelope &envelope : m_envelopes) {
        // A signal's handling runs here, between pages.
        QCoreApplication::processEvents();
        if (m_interrupted) {
            fail(ExitStatus::Interrupted, u"interrupted; nothing is printed or written"_s);
            return false;
        }
        if (!document.add(pageOf(envelope))) {
            fail(
                ExitStatus::OutputFailed, u"%1: the page cannot be made"_s.arg(sourceOf(envelope)));
            return false;
        }
        progress(document.pageCount());
    }
    if (!document.finish()) {
        fail(ExitStatus::OutputFailed, u"the document cannot be finished"_s);
        return false;
    }
    return true;
}

// About a hundred steps whatever the length of the run.
void BatchRun::progress(int done)
{
    const auto total = int(m_envelopes.size());
    if (!m_showProgress || (done % qMax(1, total / 100) != 0 && done != total))
        return;
    m_err << "\rquillmark: page " << done << " of " << total << (done == total ? "\n" : "")
          << Qt::flush;
}
