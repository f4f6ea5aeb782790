#include "barcodepreview.h"

#include "controls/accessibility.h"
#include "controls/addressbox.h"
#include "controls/backcolor.h"
#include "controls/drawingbox.h"
#include "controls/focusevents.h"
#include "controls/form1controls.h"
#include "controls/runstate.h"
#include "logic/postnet.h"
#include "logic/zipextraction.h"
#include "settings/settingsfiles.h"
#include "settings/settingsstore.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTextBlock>
#include <QTextDocument>

namespace {

// The same digits as extractZipDigits() of the box's whole text, but read
// from the last line back only as far as the line holding the run: the
// preview follows every keystroke, and a long address must not be copied and
// converted each time. Lines are the document's blocks; any line break is a
// character that ends a run, whatever its form.
[[nodiscard]] QString zipDigitsOf(const AddressBox &box)
{
    for (QTextBlock line = box.document()->lastBlock(); line.isValid(); line = line.previous()) {
        const QString text = line.text();
        if (holdsZipCharacter(text))
            return extractZipDigits(text);
    }
    return {};
}

} // namespace

BarcodePreview::BarcodePreview(
    const Form1Controls &controls, const SettingsStore &store, RunState &state)
    : m_controls(controls)
    , m_store(store)
    , m_state(state)
{ }

void BarcodePreview::connectControls()
{
    const Form1Controls &c = m_controls;
    connect(c.Command1, &QPushButton::clicked, this, &BarcodePreview::Command1_Click);
    connect(c.Check2, &QCheckBox::toggled, this, &BarcodePreview::Check2_Click);
    connect(c.ToAddr, &AddressBox::textChanged, this, &BarcodePreview::ToAddr_Change);
    const FocusEvents *focus = FocusEvents::watch(c.ToAddr);
    connect(focus, &FocusEvents::gotFocus, this, &BarcodePreview::ToAddr_GotFocus);
    connect(focus, &FocusEvents::lostFocus, this, &BarcodePreview::ToAddr_LostFocus);
}

bool BarcodePreview::switchedOn() const
{
    return m_controls.Check2->isChecked();
}

void BarcodePreview::Command1_Click()
{
    DrawingBox *box = m_controls.picPostNet;
    m_state.ZipDigits = zipDigitsOf(*m_controls.ToAddr);
    // Most keystrokes leave the ZIP code alone; drawing it again would give
    // the very same pixels.
    Drawn now {m_state.ZipDigits, box->size(), box->devicePixelRatioF(), box->drawingCount()};
    if (now == m_drawn)
        return;
    box->Cls();
    box->setCurrentX(OriginTwips);
    box->setCurrentY(OriginTwips);
    basPostNet::DrawPostNet(m_state.ZipDigits, *box);
    const QString description = Accessibility::previewDescription(m_state.ZipDigits);
    if (box->accessibleDescription() != description)
        box->setAccessibleDescription(description);
    now.drawingCount = box->drawingCount();
    m_drawn = std::move(now);
}

void BarcodePreview::Check2_Click()
{
    const bool on = switchedOn();
    m_store.writeInteger(SettingsFiles::PrPnet, on ? 1 : 0);
    m_controls.picPostNet->setVisible(on);
    if (on)
        Command1_Click();
    else
        m_controls.picPostNet->Cls(); // ZipDigits keeps its value
}

void BarcodePreview::ToAddr_Change()
{
    if (switchedOn())
        Command1_Click();
}

void BarcodePreview::ToAddr_GotFocus()
{
    BackColor::set(m_controls.ToAddr, BackColor::White);
}

void BarcodePreview::ToAddr_LostFocus()
{
    if (switchedOn())
        Command1_Click();
    m_store.writeText(SettingsFiles::To, m_controls.ToAddr->text());
    BackColor::set(m_controls.ToAddr, BackColor::PaleYellow);
}
