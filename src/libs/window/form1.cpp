#include "form1.h"

#include "controls/accessibility.h"
#include "controls/addressbox.h"
#include "controls/backcolor.h"
#include "controls/commandbutton.h"
#include "controls/drawingbox.h"
#include "controls/focusevents.h"
#include "controls/imagebox.h"
#include "controls/layouttwips.h"
#include "controls/picturebox.h"
#include "controls/pictures.h"
#include "handlers/addressfiles.h"
#include "handlers/barcodepreview.h"
#include "handlers/envelopeoptions.h"
#include "handlers/logochoice.h"
#include "handlers/printjob.h"
#include "settings/feedside.h"
#include "startup.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>

#include <algorithm>

namespace {

constexpr int px(int twips)
{
    return LayoutTwips::toPixels(twips);
}

void place(QWidget *widget, int left, int top, int width, int height)
{
    widget->setGeometry(px(left), px(top), px(width), px(height));
}

// Children of the envelope picture are measured from inside its border.
void placeOnPicture(
    QWidget *widget, const PictureBox *picture, int left, int top, int width, int height)
{
    place(widget, left, top, width, height);
    widget->move(widget->pos() + picture->contentsRect().topLeft());
}

// Keeps a check box whole inside the window: it ends at the client area's
// right edge at the latest, and starts as far left as its caption needs in
// the window's font.
void keepWhole(QCheckBox *box, int clientWidth)
{
    QRect geometry = box->geometry();
    geometry.setRight(std::min(geometry.right(), clientWidth - 1));
    QStyleOptionButton option;
    option.initFrom(box);
    option.rect = QRect(QPoint(0, 0), geometry.size());
    const QRect room = box->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box);
    const int caption = box->fontMetrics().horizontalAdvance(QString(box->text()).remove(u'&'));
    if (caption > room.width())
        geometry.setLeft(geometry.left() - (caption - room.width()));
    box->setGeometry(geometry);
}

template <typename Widget> Widget *named(Widget *widget, const QString &name)
{
    widget->setObjectName(name);
    return widget;
}

PictureBox *pictureBox(Pictures::Id id, const QString &name, QWidget *parent)
{
    auto *box = new PictureBox(
        Pictures::pixelSize(id), [id](qreal ratio) { return Pictures::render(id, ratio); }, parent);
    box->setObjectName(name);
    box->setFocusPolicy(Qt::NoFocus);
    return box;
}

QPushButton *commandButton(const QString &caption, const QString &name, QWidget *parent)
{
    auto *button = named(new CommandButton(caption, parent), name);
    button->setAutoDefault(false); // Enter presses no button
    button->setDefault(false);
    return button;
}

// Buttons of one group exclude each other only; an automatic grouping by
// parent would also take in the buttons of the frames.
template <std::size_t N>
QButtonGroup *exclusiveGroup(const std::array<QRadioButton *, N> &buttons, QObject *owner)
{
    auto *group = new QButtonGroup(owner);
    for (QRadioButton *button : buttons)
        group->addButton(button);
    return group;
}

} // namespace

Form1::Form1(Form1Services services, QWidget *parent)
    : QWidget(parent,
        Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
    , m_services(std::move(services))
    , CD1(this)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Form1"));
    // The layout was designed around an 8-point dialog font of Arial's widths;
    // a wider face would cut the captions of the narrow controls.
    QFont dialogFont = font();
    dialogFont.setFamilies(
        {QStringLiteral("Liberation Sans"), QStringLiteral("Arial"), dialogFont.family()});
    dialogFont.setPointSize(8);
    setFont(dialogFont);
    setFixedSize(px(ClientWidthTwips), px(ClientHeightTwips));

    createControls();
    Accessibility::describe(m_controls);
    setTabOrder();

    m_options = std::make_unique<EnvelopeOptions>(m_controls, m_store, m_runState);
    m_preview = std::make_unique<BarcodePreview>(m_controls, m_store, m_runState);
    m_logo = std::make_unique<LogoChoice>(m_controls, m_store, CD1);
    m_addressFiles = std::make_unique<AddressFiles>(m_controls, m_store, CD1);
    m_printJob = std::make_unique<PrintJob>(m_controls, m_store, m_runState, CD1);
    connectControls();
}

Form1::~Form1() = default;

void Form1::createControls()
{
    Form1Controls &c = m_controls;

    c.frmMargin
        = named(new QGroupBox(QStringLiteral("Edge Space"), this), QStringLiteral("frmMargin"));
    place(c.frmMargin, 7455, 5355, 1170, 2745);
    static const char *const marginCaptions[]
        = {"0 inch", "1 inch", "2 inches", "3 inches", "4 inches", "5 inches"};
    for (int i = 5; i >= 0; --i) {
        c.optMargin[i]
            = named(new QRadioButton(QString::fromLatin1(marginCaptions[i]), c.frmMargin),
                QStringLiteral("optMargin_%1").arg(i));
        place(c.optMargin[i], 105, 315 + 420 * i, 960, 225);
    }
    c.optMargin[0]->setChecked(true);

    c.Command2 = commandButton(QStringLiteral("E&xit"), QStringLiteral("Command2"), this);
    place(c.Command2, 8715, 7665, 1695, 435);

    c.Picture4 = pictureBox(Pictures::Id::PrinterCenter, QStringLiteral("Picture4"), this);
    place(c.Picture4, 1890, 5460, 1740, 2160);
    c.Option3 = named(
        new QRadioButton(QStringLiteral("Select &Center"), this), QStringLiteral("Option3"));
    place(c.Option3, 1890, 7665, 1485, 330);

    c.Frame1
        = named(new QGroupBox(QStringLiteral("Envelope Size"), this), QStringLiteral("Frame1"));
    place(c.Frame1, 5460, 5355, 1905, 2745);
    static const int sizeTops[] = {420, 1155, 1890};
    for (int i = 2; i >= 0; --i) {
        c.OptSize[i] = named(new QRadioButton(c.Frame1), QStringLiteral("OptSize_%1").arg(i));
        place(c.OptSize[i], 105, sizeTops[i], 225, 330);
    }
    c.Picture9 = pictureBox(Pictures::Id::EnvelopeLarge, QStringLiteral("Picture9"), c.Frame1);
    place(c.Picture9, 420, 1575, 1410, 990);
    c.Picture8 = pictureBox(Pictures::Id::EnvelopeLong, QStringLiteral("Picture8"), c.Frame1);
    place(c.Picture8, 420, 945, 1260, 570);
    c.Picture7 = pictureBox(Pictures::Id::EnvelopeSmall, QStringLiteral("Picture7"), c.Frame1);
    place(c.Picture7, 420, 315, 930, 570);

    c.Open = commandButton(QStringLiteral("&Open Address"), QStringLiteral("Open"), this);
    place(c.Open, 8715, 6615, 1695, 435);
    c.Save = commandButton(QStringLiteral("&Save Address"), QStringLiteral("Save"), this);
    place(c.Save, 8715, 7140, 1695, 435);
    // Carries the bar-code preview routine; never shown.
    c.Command1 = commandButton(QStringLiteral("Command1"), QStringLiteral("Command1"), this);
    place(c.Command1, 9765, 5145, 960, 330);
    c.Command1->hide();
    c.Print = commandButton(QStringLiteral("&Print Envelope"), QStringLiteral("Print"), this);
    place(c.Print, 8715, 6090, 1695, 435);

    c.Option2 = named(
        new QRadioButton(QStringLiteral("Select &Left Side"), this), QStringLiteral("Option2"));
    place(c.Option2, 105, 7665, 1695, 330);
    c.Option1 = named(
        new QRadioButton(QStringLiteral("Select &Right Side"), this), QStringLiteral("Option1"));
    place(c.Option1, 3675, 7665, 1695, 330);
    c.Check2 = named(
        new QCheckBox(QStringLiteral("Print PostNet &Barcode"), this), QStringLiteral("Check2"));
    place(c.Check2, 8715, 5775, 2115, 225);
    // As designed it reached past the window's right edge.
    keepWhole(c.Check2, width());
    c.Check1 = named(new QCheckBox(QStringLiteral("Prin&t Logo"), this), QStringLiteral("Check1"));
    place(c.Check1, 8715, 5460, 1380, 225);

    c.Picture3 = pictureBox(Pictures::Id::PrinterRight, QStringLiteral("Picture3"), this);
    place(c.Picture3, 3675, 5460, 1740, 2160);
    c.Picture2 = pictureBox(Pictures::Id::PrinterLeft, QStringLiteral("Picture2"), this);
    place(c.Picture2, 105, 5460, 1740, 2160);
    c.Picture1 = pictureBox(Pictures::Id::Envelope, QStringLiteral("Picture1"), this);
    place(c.Picture1, 0, 0, 10560, 5310);
    // What stands on the envelope is written in dark text on its pale yellow,
    // whatever the desktop's colours.
    BackColor::set(c.Picture1, BackColor::PaleYellow);

    c.cmbSize = named(new QComboBox(c.Picture1), QStringLiteral("cmbSize"));
    placeOnPicture(c.cmbSize, c.Picture1, 7455, 1785, 1065, 315);
    c.cmbSize->setEditable(false);
    BackColor::set(c.cmbSize, BackColor::PaleYellow);

    c.picPostNet = named(new DrawingBox(c.Picture1), QStringLiteral("picPostNet"));
    placeOnPicture(c.picPostNet, c.Picture1, 3150, 3480, 4320, 330);
    c.picPostNet->setBackColor(QColor(BackColor::PaleYellow));
    c.picPostNet->Cls();
    c.picPostNet->setFocusPolicy(Qt::NoFocus);
    c.picPostNet->hide(); // shown only while the bar-code switch is on

    c.FromAddr = named(new AddressBox(c.Picture1), QStringLiteral("FromAddr"));
    placeOnPicture(c.FromAddr, c.Picture1, 1560, 525, 2955, 960);
    BackColor::set(c.FromAddr, BackColor::PaleYellow);
    c.ToAddr = named(new AddressBox(c.Picture1), QStringLiteral("ToAddr"));
    placeOnPicture(c.ToAddr, c.Picture1, 3150, 1785, 4320, 1695);
    BackColor::set(c.ToAddr, BackColor::PaleYellow);

    c.Label1 = named(new QLabel(QStringLiteral("Font Size"), c.Picture1), QStringLiteral("Label1"));
    placeOnPicture(c.Label1, c.Picture1, 7455, 1575, 1065, 225);

    c.Image1 = named(new ImageBox(c.Picture1), QStringLiteral("Image1"));
    placeOnPicture(c.Image1, c.Picture1, 480, 525, 1020, 1020);
    const QImage placeholder = Pictures::logoPlaceholder();
    c.Image1->setPicture(placeholder);
    c.Image2 = named(new ImageBox(this), QStringLiteral("Image2"));
    place(c.Image2, 1440, 7200, 1020, 1020);
    c.Image2->setPicture(placeholder);
    c.Image2->hide();

    c.marginGroup = exclusiveGroup(c.optMargin, this);
    c.sizeGroup = exclusiveGroup(c.OptSize, this);
    // The feed buttons are told apart by the side they stand for.
    c.feedGroup = new QButtonGroup(this);
    c.feedGroup->addButton(c.Option1, int(FeedSide::Right));
    c.feedGroup->addButton(c.Option2, int(FeedSide::Left));
    c.feedGroup->addButton(c.Option3, int(FeedSide::Center));
}

void Form1::setTabOrder()
{
    const Form1Controls &c = m_controls;
    m_tabChain = {c.ToAddr, c.Print, c.Open, c.Save, c.Command2, c.FromAddr, c.OptSize[0],
        c.OptSize[1], c.OptSize[2], c.Option2, c.Option3, c.Option1, c.Check1, c.Check2,
        c.optMargin[0], c.optMargin[1], c.optMargin[2], c.optMargin[3], c.optMargin[4],
        c.optMargin[5], c.cmbSize};
    // The logo picture, while shown, is a stop right after its switch, so a
    // logo can be chosen with the keyboard alone.
    m_tabChain.insert(std::find(m_tabChain.begin(), m_tabChain.end(), c.Check1) + 1, c.Image1);
    for (std::size_t i = 0; i + 1 < m_tabChain.size(); ++i)
        QWidget::setTabOrder(m_tabChain[i], m_tabChain[i + 1]);
}

// A group of option buttons is one tab stop: its selected button, or its
// first one while none is selected. The arrow keys move within the group.
bool Form1::isTabStop(const QWidget *widget) const
{
    if (!widget->isVisibleTo(this) || !widget->isEnabled())
        return false;
    const auto *button = qobject_cast<const QRadioButton *>(widget);
    if (!button || !button->group())
        return true;
    const QAbstractButton *selected = button->group()->checkedButton();
    if (selected)
        return selected == button;
    return std::find_if(m_tabChain.begin(), m_tabChain.end(), [button](const QWidget *w) {
        const auto *other = qobject_cast<const QRadioButton *>(w);
        return other && other->group() == button->group();
    }) == std::find(m_tabChain.begin(), m_tabChain.end(), widget);
}

bool Form1::focusNextPrevChild(bool next)
{
    const auto current = std::find(m_tabChain.begin(), m_tabChain.end(), focusWidget());
    if (current == m_tabChain.end())
        return QWidget::focusNextPrevChild(next);
    const auto count = std::ptrdiff_t(m_tabChain.size());
    const std::ptrdiff_t start = current - m_tabChain.begin();
    for (std::ptrdiff_t step = 1; step <= count; ++step) {
        const std::ptrdiff_t index = ((next ? start + step : start - step) % count + count) % count;
        QWidget *candidate = m_tabChain[std::size_t(index)];
        if (isTabStop(candidate)) {
            candidate->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    }
    return false;
}

void Form1::connectControls()
{
    m_options->connectControls();
    m_preview->connectControls();
    m_logo->connectControls();
    m_addressFiles->connectControls();
    m_printJob->connectControls();
    connect(m_printJob.get(), &PrintJob::envelopeDone, m_preview.get(),
        &BarcodePreview::Command1_Click);
    connect(m_controls.Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
}

bool Form1::Form_Load()
{
    Startup startup(*this, m_controls, m_store, m_runState);
    if (!startup.run(m_services))
        return false;
    // The window opens with the focus on the first control of the tab order.
    m_controls.ToAddr->setFocus(Qt::OtherFocusReason);
    return true;
}

void Form1::openAddressFile(const QString &path)
{
    m_addressFiles->openFile(path);
}

void Form1::Command2_Click()
{
    close();
}

// The controls that run handling of their own when they lose the focus.
std::array<QWidget *, 3> Form1::watchedControls() const
{
    return {m_controls.FromAddr, m_controls.ToAddr, m_controls.cmbSize};
}

// The control being edited is left before the program ends, so what it saves on
// leaving (the return address, the recipient) is on disk at the next start,
// however the window closes: its close box, the task bar while another window
// is active, the session's end or a termination signal.
void Form1::closeEvent(QCloseEvent *event)
{
    for (QWidget *control : watchedControls()) {
        if (FocusEvents *focus = FocusEvents::of(control))
            focus->leave();
    }
    event->accept();
}

void Form1::saveBeforeSessionEnds()
{
    for (QWidget *control : watchedControls()) {
        if (FocusEvents *focus = FocusEvents::of(control))
            focus->saveInPlace();
    }
}
