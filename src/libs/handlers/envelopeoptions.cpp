#include "envelopeoptions.h"

#include "controls/addressbox.h"
#include "controls/backcolor.h"
#include "controls/focusevents.h"
#include "controls/form1controls.h"
#include "controls/picturebox.h"
#include "controls/runstate.h"
#include "settings/feedside.h"
#include "settings/numberforms.h"
#include "settings/settingsfiles.h"
#include "settings/settingsstore.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QRadioButton>

#include <functional>

namespace {

// Runs the handler when the button becomes selected, by a click or from code.
void whenSelected(QRadioButton *button, QObject *context, std::function<void()> handler)
{
    QObject::connect(
        button, &QRadioButton::toggled, context, [handler = std::move(handler)](bool selected) {
            if (selected)
                handler();
        });
}

} // namespace

EnvelopeOptions::EnvelopeOptions(
    const Form1Controls &controls, const SettingsStore &store, RunState &state)
    : m_controls(controls)
    , m_store(store)
    , m_state(state)
{ }

void EnvelopeOptions::connectControls()
{
    const Form1Controls &c = m_controls;
    whenSelected(c.Option1, this, [this] { Option1_Click(); });
    whenSelected(c.Option2, this, [this] { Option2_Click(); });
    whenSelected(c.Option3, this, [this] { Option3_Click(); });
    connect(c.Picture2, &PictureBox::clicked, this, &EnvelopeOptions::Picture2_Click);
    connect(c.Picture3, &PictureBox::clicked, this, &EnvelopeOptions::Picture3_Click);
    connect(c.Picture4, &PictureBox::clicked, this, &EnvelopeOptions::Picture4_Click);

    for (int i = 0; i < int(c.OptSize.size()); ++i)
        whenSelected(c.OptSize[i], this, [this, i] { OptSize_Click(i); });
    connect(c.Picture7, &PictureBox::clicked, this, &EnvelopeOptions::Picture7_Click);
    connect(c.Picture8, &PictureBox::clicked, this, &EnvelopeOptions::Picture8_Click);
    connect(c.Picture9, &PictureBox::clicked, this, &EnvelopeOptions::Picture9_Click);

    for (int i = 0; i < int(c.optMargin.size()); ++i)
        whenSelected(c.optMargin[i], this, [this, i] { optMargin_Click(i); });

    connect(c.cmbSize, &QComboBox::currentIndexChanged, this, &EnvelopeOptions::cmbSize_Click);
    const FocusEvents *listFocus = FocusEvents::watch(c.cmbSize);
    connect(listFocus, &FocusEvents::gotFocus, this, &EnvelopeOptions::cmbSize_GotFocus);
    connect(listFocus, &FocusEvents::lostFocus, this, &EnvelopeOptions::cmbSize_LostFocus);

    const FocusEvents *fromFocus = FocusEvents::watch(c.FromAddr);
    connect(fromFocus, &FocusEvents::gotFocus, this, &EnvelopeOptions::FromAddr_GotFocus);
    connect(fromFocus, &FocusEvents::lostFocus, this, &EnvelopeOptions::FromAddr_LostFocus);
}

void EnvelopeOptions::Option1_Click()
{
    saveFeedSide(m_controls.Option1);
}

void EnvelopeOptions::Option2_Click()
{
    saveFeedSide(m_controls.Option2);
}

void EnvelopeOptions::Option3_Click()
{
    saveFeedSide(m_controls.Option3);
}

void EnvelopeOptions::saveFeedSide(QAbstractButton *button)
{
    const auto side = FeedSide(m_controls.feedGroup->id(button));
    m_store.writeText(SettingsFiles::EnvFeed, FeedSides::storedWord(side).toString());
}

void EnvelopeOptions::Picture2_Click()
{
    m_controls.Option2->setChecked(true);
}

void EnvelopeOptions::Picture3_Click()
{
    m_controls.Option1->setChecked(true);
}

void EnvelopeOptions::Picture4_Click()
{
    m_controls.Option3->setChecked(true);
}

void EnvelopeOptions::OptSize_Click(int index)
{
    m_store.writeText(SettingsFiles::EnvSize, NumberForms::bareForm(index));
}

void EnvelopeOptions::Picture7_Click()
{
    m_controls.OptSize[0]->setChecked(true);
}

void EnvelopeOptions::Picture8_Click()
{
    m_controls.OptSize[1]->setChecked(true);
}

void EnvelopeOptions::Picture9_Click()
{
    m_controls.OptSize[2]->setChecked(true);
}

void EnvelopeOptions::optMargin_Click(int index)
{
    m_store.writeInteger(SettingsFiles::Margin, index);
    m_state.marginInches = index;
}

void EnvelopeOptions::cmbSize_Click()
{
    static constexpr int screenPoints[] = {10, 12, 16};
    const int position = m_controls.cmbSize->currentIndex();
    if (position >= 0 && position < int(std::size(screenPoints))) {
        QFont font = m_controls.ToAddr->font();
        font.setPointSize(screenPoints[position]);
        m_controls.ToAddr->setFont(font);
    }
    m_store.writeText(SettingsFiles::FontSize, NumberForms::signSlotForm(position));
}

void EnvelopeOptions::cmbSize_GotFocus()
{
    BackColor::set(m_controls.cmbSize, BackColor::White);
}

void EnvelopeOptions::cmbSize_LostFocus()
{
    BackColor::set(m_controls.cmbSize, BackColor::PaleYellow);
}

void EnvelopeOptions::FromAddr_GotFocus()
{
    BackColor::set(m_controls.FromAddr, BackColor::White);
}

void EnvelopeOptions::FromAddr_LostFocus()
{
    m_store.writeText(SettingsFiles::From, m_controls.FromAddr->text());
    BackColor::set(m_controls.FromAddr, BackColor::PaleYellow);
}
