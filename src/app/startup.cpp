#include "startup.h"

#include "addressbox.h"
#include "form1.h"
#include "imagebox.h"
#include "pictureloader.h"
#include "platform/screen.h"
#include "settings/restorerules.h"
#include "settings/settingsfiles.h"
#include "version.h"
#include "windowplacement.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>

Startup::Startup(Form1 &form)
    : m_form(form)
{ }

bool Startup::run(const Form1Services &services)
{
    if (services.locateSettingsFolder)
        m_form.store().setFolder(services.locateSettingsFolder());
    centreOnScreen();
    m_form.setWindowTitle(WindowPlacement::caption(Version::Major, Version::Minor));
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
    const QScreen *screen = m_form.screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    // Before the window is first shown its frame is not known yet; count a
    // title bar and a thin border, as the window system will add them.
    QSize outer = m_form.frameGeometry().size();
    if (outer == m_form.size()) {
        const int titleBar = m_form.style()->pixelMetric(QStyle::PM_TitleBarHeight);
        outer += QSize(2, titleBar + 2);
    }
    const double twipsPerPixel = Screen::TwipsPerPixelX();
    const QRect screenRect = screen->geometry();
    const QPointF topLeft = WindowPlacement::centred(
        QSizeF(screenRect.size()) * twipsPerPixel, QSizeF(outer) * twipsPerPixel);
    m_form.move(screenRect.topLeft()
        + QPoint(qRound(topLeft.x() / twipsPerPixel), qRound(topLeft.y() / twipsPerPixel)));
}

void Startup::fillFontSizes()
{
    QComboBox *list = m_form.controls().cmbSize;
    // Filling the list selects nothing: only the restore below does.
    const QSignalBlocker blocker(list);
    list->addItems({QStringLiteral("Small"), QStringLiteral("Medium"), QStringLiteral("Large")});
    list->setCurrentIndex(-1);
}

void Startup::restoreFontSize()
{
    const auto position = RestoreRules::fontSize(m_form.store().readState(SettingsFiles::FontSize));
    if (position)
        m_form.controls().cmbSize->setCurrentIndex(*position);
}

void Startup::restoreLogoPicture()
{
    const auto path = RestoreRules::logoPath(m_form.store().readState(SettingsFiles::Logo));
    if (!path)
        return;
    if (auto picture = PictureLoader::load(*path))
        m_form.controls().Image1->setPicture(*picture);
}

void Startup::restoreEdgeSpace()
{
    const RestoreRules::Margin margin
        = RestoreRules::margin(m_form.store().readState(SettingsFiles::Margin));
    m_form.runState().marginInches = margin.marginInches;
    const auto &buttons = m_form.controls().optMargin;
    if (margin.button) {
        buttons[*margin.button]->setChecked(true);
        return;
    }
    if (m_form.store().isPresent(SettingsFiles::Margin)) {
        // An edge space that no button stands for leaves none selected, so
        // that any button the user picks takes effect.
        QButtonGroup *group = m_form.controls().marginGroup;
        group->setExclusive(false);
        for (QRadioButton *button : buttons)
            button->setChecked(false);
        group->setExclusive(true);
    }
}

void Startup::restorePrintLogo()
{
    const SettingsFileState file = m_form.store().readState(SettingsFiles::PrLogo);
    const Form1Controls &c = m_form.controls();
    if (file)
        c.Image1->setVisible(true);
    const bool on = RestoreRules::printLogo(file);
    c.Check1->setChecked(on);
    c.Image1->setVisible(on);
}

void Startup::restorePostNet()
{
    const bool on = RestoreRules::printPostNet(m_form.store().readState(SettingsFiles::PrPnet));
    m_form.controls().Check2->setChecked(on);
}

void Startup::restoreFeedSide()
{
    const auto button = RestoreRules::feedSide(m_form.store().readState(SettingsFiles::EnvFeed));
    if (!button)
        return;
    const Form1Controls &c = m_form.controls();
    switch (*button) {
    case RestoreRules::FeedButton::Option1:
        c.Option1->setChecked(true);
        break;
    case RestoreRules::FeedButton::Option2:
        c.Option2->setChecked(true);
        break;
    case RestoreRules::FeedButton::Option3:
        c.Option3->setChecked(true);
        break;
    }
}

void Startup::restoreReturnAddress()
{
    AddressBox *box = m_form.controls().FromAddr;
    box->setText(QString());
    box->setText(RestoreRules::returnAddress(m_form.store().readState(SettingsFiles::From)));
}

void Startup::restoreEnvelopeSize()
{
    const auto index = RestoreRules::envelopeSize(m_form.store().readState(SettingsFiles::EnvSize));
    if (index)
        m_form.controls().OptSize[*index]->setChecked(true);
}
