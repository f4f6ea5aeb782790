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

// Both addresses are saved first, as leaving their boxes would, but the page is
// composed from the text that was saved, not read back: the folder is shared,
// and neither another user's change nor a save that failed may change what
// this envelope carries.
void PrintJob::printEnvelope()
{
    if (!m_store.writeText(SettingsFiles::To, m_controls.ToAddr->text()))
        qCWarning(lcPrint)
            << "The recipient address could not be saved; it is printed all the same";
    const EnvelopeSelection chosen = selection();
    const EnvelopeChoice choice = resolveSelection(chosen);
    if (choice.marginInches != chosen.marginInches) {
        qCWarning(lcPrint) << "An edge space of" << chosen.marginInches
                           << "inches fits no envelope; printing with none";
    }
    if (confirmPrinter())
        printPage(pageContent(choice));
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
    selection.marginInches = m_state.marginInches;
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

bool PrintJob::confirmPrinter()
{
    m_dialog.CancelError = true;
    m_dialog.Flags = PrinterDialogFlags;
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return m_dialog.ShowPrinter(*m_printer);
}

EnvelopePageContent PrintJob::pageContent(const EnvelopeChoice &choice) const
{
    EnvelopeLook look;
    look.choice = choice;
    look.returnAddress = m_controls.FromAddr->text();
    look.printLogo = m_controls.Check1->isChecked();
    look.logo = m_controls.Image1->picture();
    look.printBarCode = m_controls.Check2->isChecked();
    return envelopeContent(look, m_controls.ToAddr->text(), m_state.ZipDigits);
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
