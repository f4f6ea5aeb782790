#include "printjob.h"

#include "controls/addressbox.h"
#include "controls/form1controls.h"
#include "controls/imagebox.h"
#include "controls/runstate.h"
#include "logic/postnet.h"
#include "platform/commondialog.h"
#include "platform/qtprintersurface.h"
#include "settings/settingsfiles.h"
#include "settings/settingsstore.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>

#include <cmath>
#include <utility>

Q_LOGGING_CATEGORY(lcPrint, "quillmark.print")

namespace {

constexpr int PrinterDialogFlags
    = CommonDialog::PD_NOSELECTION | CommonDialog::PD_DISABLEPRINTTOFILE;

std::shared_ptr<PrinterSurface> surfaceOnPrinter(QPrinter &printer)
{
    return std::make_shared<QtPrinterSurface>(printer);
}

} // namespace

PrintJob::PrintJob(const Form1Controls &controls, const SettingsStore &store, const RunState &state,
    CommonDialog &dialog)
    : m_controls(controls)
    , m_store(store)
    , m_state(state)
    , m_dialog(dialog)
    , m_makeSurface(&surfaceOnPrinter)
{ }

PrintJob::~PrintJob() = default;

void PrintJob::connectControls()
{
    connect(m_controls.Print, &QPushButton::clicked, this, &PrintJob::Print_Click);
}

void PrintJob::setSurfaceFactory(SurfaceFactory factory)
{
    m_makeSurface = factory ? std::move(factory) : SurfaceFactory(&surfaceOnPrinter);
}

void PrintJob::Print_Click()
{
    printEnvelope();
    if (m_controls.Check2->isChecked())
        emit envelopeDone();
}

void PrintJob::printEnvelope()
{
    // The recipient is printed from this file: one that cannot be saved would
    // put an older address on the envelope.
    if (!m_store.writeText(SettingsFiles::To, m_controls.ToAddr->text())) {
        qCWarning(lcPrint) << "The recipient address could not be saved; nothing is printed";
        return;
    }
    const EnvelopeChoice choice = resolveSelection(selection());
    const EnvelopeLayout layout = layoutFor(choice);
    if (!confirmPrinter())
        return;
    if (const std::optional<EnvelopePageContent> content = readPageContent(choice, layout))
        printPage(*content);
}

EnvelopeSelection PrintJob::selection() const
{
    EnvelopeSelection selection;
    for (std::size_t i = 0; i < m_controls.OptSize.size(); ++i) {
        if (m_controls.OptSize[i]->isChecked())
            selection.envelopeSize = static_cast<int>(i);
    }
    selection.feedSide = selectedFeedSide();
    if (const int position = m_controls.cmbSize->currentIndex(); position >= 0)
        selection.fontPosition = position;
    selection.marginInches = edgeSpaceInches();
    if (!selection.envelopeSize || !selection.feedSide || !selection.fontPosition) {
        qCInfo(lcPrint) << "No envelope size, feed side or font size selected;"
                        << "the long envelope, right side and Medium stand in";
    }
    return selection;
}

std::optional<FeedSide> PrintJob::selectedFeedSide() const
{
    const int id = m_controls.feedGroup->checkedId();
    return id < 0 ? std::nullopt : std::optional(FeedSide(id));
}

// The settings file can hold any number, infinity included.
double PrintJob::edgeSpaceInches() const
{
    const double inches = m_state.marginInches;
    if (std::isfinite(inches) && std::abs(inches) <= MaxEdgeSpaceInches)
        return inches;
    qCWarning(lcPrint) << "An edge space of" << inches
                       << "inches fits no envelope; printing with none";
    return 0;
}

bool PrintJob::confirmPrinter()
{
    m_dialog.CancelError = true;
    m_dialog.Flags = PrinterDialogFlags;
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return m_dialog.ShowPrinter(*m_printer);
}

std::optional<EnvelopePageContent> PrintJob::readPageContent(
    const EnvelopeChoice &choice, const EnvelopeLayout &layout) const
{
    EnvelopePageContent content;
    content.layout = layout;
    content.printLogo = m_controls.Check1->isChecked();
    if (content.printLogo)
        content.logo = m_controls.Image1->picture();
    if (m_store.isPresent(SettingsFiles::From))
        content.returnLines = m_store.readLines(SettingsFiles::From);
    // Saved a moment ago, so it holds at least one line break.
    content.recipientLines = m_store.readLines(SettingsFiles::To);
    if (content.recipientLines.isEmpty()) {
        qCWarning(lcPrint) << "The recipient address cannot be read back; nothing is printed";
        return std::nullopt;
    }
    content.fontPosition = choice.fontPosition;
    content.printBarCode = m_controls.Check2->isChecked();
    content.zipDigits = m_state.ZipDigits;
    return content;
}

void PrintJob::printPage(const EnvelopePageContent &content)
{
    const std::shared_ptr<PrinterSurface> printer = m_makeSurface(*m_printer);
    if (!printer) {
        qCWarning(lcPrint) << "No surface for the printer; nothing is printed";
        return;
    }
    const EnvelopePage page(content, &basPostNet::DrawPostNet);
    if (!page.compose(*printer)) {
        // Half an envelope is worse than none.
        printer->abortDoc();
        qCWarning(lcPrint)
            << "The printer failed while the envelope was drawn; the page is dropped";
        return;
    }
    if (!printer->EndDoc())
        qCWarning(lcPrint) << "The printer could not finish the envelope";
}
