#include "startup.h"

#include "controls/addressbox.h"
#include "controls/form1controls.h"
#include "controls/imagebox.h"
#include "controls/runstate.h"
#include "platform/pictureloader.h"
#include "platform/screen.h"
#include "settings/restorerules.h"
#include "settings/settingsfiles.h"
#include "settings/settingsstore.h"
#include "version.h"
#include "windowplacement.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>

Startup::Startup(
    QWidget &window, const Form1Controls &controls, SettingsStore &store, RunState &state)
    : m_window(window)
    , m_controls(controls)
    , m_store(store)
    , m_state(state)
{ }

bool Startup::run(const Form1Services &services)
{
    if (services.locateSettingsFolder)
        m_store.setFolder(services.locateSettingsFolder());
    centreOnScreen();
    m_window.setWindowTitle(WindowPlacement::caption(Version::Major, Version::Minor));
    if (services.anotherCopyRunning && services.anotherCopyRunning())
        return false;
    fillFontSizes();
    restoreFontSize();
    restoreLogoPicture();
    restoreEdgeSpace();
    restorePrintLogo();
    restorePostNet();
    restoreFeedSide();
    restoreReturnAddress();
    restoreEnvelopeSize();
    return true;
}

void Startup::centreOnScreen()
{
    const QScreen *screen = m_window.screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    // Before the window is first shown its frame is not known yet; count a
    // title bar and a thin border, as the window system will add them.
    QSize outer = m_window.frameGeometry().size();
    if (outer == m_window.size()) {
        const int titleBar = m_window.style()->pixelMetric(QStyle::PM_TitleBarHeight);
        outer += QSize(2, titleBar + 2);
    }
    const double twipsPerPixel = Screen::TwipsPerPixelX();
    const QRect screenRect = screen->geometry();
    const QPointF topLeft = WindowPlacement::centred(
        QSizeF(screenRect.size()) * twipsPerPixel, QSizeF(outer) * twipsPerPixel);
    m_window.move(screenRect.topLeft()
        + QPoint(qRound(topLeft.x() / twipsPerPixel), qRound(topLeft.y() / twipsPerPixel)));
}

void Startup::fillFontSizes()
{
    QComboBox *list = m_controls.cmbSize;
    // Filling the list selects nothing: only the restore below does.
    const QSignalBlocker blocker(list);
    list->addItems({QStringLiteral("Small"), QStringLiteral("Medium"), QStringLiteral("Large")});
    list->setCurrentIndex(-1);
}

void Startup::restoreFontSize()
{
    const auto position = RestoreRules::fontSize(m_store.readState(SettingsFiles::FontSize));
    if (position)
        m_controls.cmbSize->setCurrentIndex(*position);
}

void Startup::restoreLogoPicture()
{
    const auto path = RestoreRules::logoPath(m_store.readState(SettingsFiles::Logo));
    if (!path)
        return;
    if (auto picture = PictureLoader::load(*path))
        m_controls.Image1->setPicture(*picture);
}

void Startup::restoreEdgeSpace()
{
    const RestoreRules::Margin margin
        = RestoreRules::margin(m_store.readState(SettingsFiles::Margin));
    m_state.marginInches = margin.marginInches;
    const auto &buttons = m_controls.optMargin;
    if (margin.button) {
        buttons[*margin.button]->setChecked(true);
        return;
    }
    if (m_store.isPresent(SettingsFiles::Margin)) {
        // An edge space that no button stands for leaves none selected, so
        // that any button the user picks takes effect.
        QButtonGroup *group = m_controls.marginGroup;
        group->setExclusive(false);
        for (QRadioButton *button : buttons)
            button->setChecked(false);
        group->setExclusive(true);
    }
}

void Startup::restorePrintLogo()
{
    const bool on = RestoreRules::printLogo(m_store.readState(SettingsFiles::PrLogo));
    m_controls.Check1->setChecked(on);
    m_controls.Image1->setVisible(on);
}

void Startup::restorePostNet()
{
    const bool on = RestoreRules::printPostNet(m_store.readState(SettingsFiles::PrPnet));
    m_controls.Check2->setChecked(on);
}

void Startup::restoreFeedSide()
{
    const auto side = RestoreRules::feedSide(m_store.readState(SettingsFiles::EnvFeed));
    if (side)
        m_controls.feedGroup->button(int(*side))->setChecked(true);
}

void Startup::restoreReturnAddress()
{
    AddressBox *box = m_controls.FromAddr;
    box->setText(QString());
    box->setText(RestoreRules::returnAddress(m_store.readState(SettingsFiles::From)));
}

void Startup::restoreEnvelopeSize()
{
    const auto index = RestoreRules::envelopeSize(m_store.readState(SettingsFiles::EnvSize));
    if (index)
        m_controls.OptSize[*index]->setChecked(true);
}
