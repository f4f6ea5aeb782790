#include "accessibility.h"

#include "addressbox.h"
#include "drawingbox.h"
#include "form1controls.h"
#include "imagebox.h"
#include "picturebox.h"

#include <QAccessibleWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace {

// A picture that does something when clicked reads as a push button whose
// press action is that click.
class ClickablePicture : public QAccessibleWidget
{
public:
    explicit ClickablePicture(QWidget *widget)
        : QAccessibleWidget(widget, QAccessible::Button)
    { }

    [[nodiscard]] QStringList actionNames() const override
    {
        return QStringList(pressAction()) + QAccessibleWidget::actionNames();
    }

    void doAction(const QString &actionName) override
    {
        if (actionName != pressAction()) {
            QAccessibleWidget::doAction(actionName);
            return;
        }
        if (auto *picture = qobject_cast<PictureBox *>(widget()))
            picture->click();
        else if (auto *image = qobject_cast<ImageBox *>(widget()))
            image->click();
    }
};

void name(QWidget *widget, const char *text, const char *description = nullptr)
{
    widget->setAccessibleName(QString::fromLatin1(text));
    if (description)
        widget->setAccessibleDescription(QString::fromLatin1(description));
}

// Marks the pictures that have click handling; the envelope picture has none.
constexpr char Pressable[] = "quillmarkPressable";

QAccessibleInterface *clickablePictureFactory(const QString &, QObject *object)
{
    auto *widget = qobject_cast<QWidget *>(object);
    if (!widget || !widget->property(Pressable).toBool())
        return nullptr;
    return new ClickablePicture(widget);
}

void pressable(QWidget *widget, const char *text, const char *description)
{
    widget->setProperty(Pressable, true);
    name(widget, text, description);
}

} // namespace

namespace Accessibility {

void describe(const Form1Controls &c)
{
    QAccessible::installFactory(clickablePictureFactory);

    name(c.FromAddr, "Return address");
    name(c.ToAddr, "Recipient address");
    name(c.OptSize[0], "Small envelope");
    name(c.OptSize[1], "Long envelope");
    name(c.OptSize[2], "Large envelope");
    c.Label1->setBuddy(c.cmbSize);
    name(c.cmbSize, "Font Size", "Font size of the recipient address");
    name(c.picPostNet, "Bar code preview");
    c.picPostNet->setAccessibleDescription(previewDescription(QString()));

    name(c.Picture1, "Envelope");
    pressable(c.Picture2, "Envelope feeds on left side", "Selects the left side");
    pressable(c.Picture4, "Envelope feeds in center", "Selects the center");
    pressable(c.Picture3, "Envelope feeds on right side", "Selects the right side");
    pressable(c.Picture7, "Small envelope picture", "Selects the small envelope");
    pressable(c.Picture8, "Long envelope picture", "Selects the long envelope");
    pressable(c.Picture9, "Large envelope picture", "Selects the large envelope");
    pressable(c.Image1, "Logo", "Opens a logo picture to print beside the return address");

    // The preview routine's carrier and the placeholder's store are never
    // shown, so a screen reader must not find them either: as windows of their
    // own (never shown) they are no children in the window's accessible tree.
    for (QWidget *hidden : {static_cast<QWidget *>(c.Command1), static_cast<QWidget *>(c.Image2)}) {
        hidden->setWindowFlag(Qt::Window);
        hidden->hide();
    }
}

QString previewDescription(const QString &zipDigits)
{
    if (zipDigits.isEmpty())
        return QStringLiteral("No bar code: the recipient address holds no ZIP code");
    return QStringLiteral("POSTNET bar code of %1").arg(zipDigits);
}

} // namespace Accessibility
