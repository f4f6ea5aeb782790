#pragma once

#include <array>

class AddressBox;
class DrawingBox;
class ImageBox;
class PictureBox;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

// The controls of the main window under their own names, so every handler can
// reach the ones it works on. The window owns them.
struct Form1Controls
{
    QGroupBox *frmMargin = nullptr;
    std::array<QRadioButton *, 6> optMargin {};
    QPushButton *Command2 = nullptr;
    PictureBox *Picture4 = nullptr;
    QRadioButton *Option3 = nullptr;
    QGroupBox *Frame1 = nullptr;
    std::array<QRadioButton *, 3> OptSize {};
    PictureBox *Picture9 = nullptr;
    PictureBox *Picture8 = nullptr;
    PictureBox *Picture7 = nullptr;
    QPushButton *Open = nullptr;
    QPushButton *Save = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *Print = nullptr;
    QRadioButton *Option2 = nullptr;
    QRadioButton *Option1 = nullptr;
    QCheckBox *Check2 = nullptr;
    QCheckBox *Check1 = nullptr;
    PictureBox *Picture3 = nullptr;
    PictureBox *Picture2 = nullptr;
    PictureBox *Picture1 = nullptr;
    QComboBox *cmbSize = nullptr;
    DrawingBox *picPostNet = nullptr;
    AddressBox *FromAddr = nullptr;
    AddressBox *ToAddr = nullptr;
    QLabel *Label1 = nullptr;
    ImageBox *Image1 = nullptr;
    ImageBox *Image2 = nullptr;

    // The three exclusive groups of option buttons: the frames' buttons and
    // the feed-side buttons that stand directly on the window, whose ids are
    // the FeedSide each stands for.
    QButtonGroup *marginGroup = nullptr;
    QButtonGroup *sizeGroup = nullptr;
    QButtonGroup *feedGroup = nullptr;
};
