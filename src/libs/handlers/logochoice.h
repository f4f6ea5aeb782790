#pragma once

#include <QObject>
#include <QStringView>

struct Form1Controls;
class CommonDialog;
class SettingsStore;
class QImage;
class QString;

// The print-logo switch and the logo picture it prints.
class LogoChoice : public QObject
{
    Q_OBJECT

public:
    // The file types the logo's open dialog offers, descriptions and patterns alternating.
    static constexpr QStringView Filter {
        u"Graphic Files (*.jpg, *.jpeg, *.gif, *.bmp)|*.jpg;*.jpeg;*.gif;*.bmp|"
        u"JPG Files (*.jpg, *.jpeg)|*.jpg;*.jpeg|GIF Files (*.gif)|*.gif|"
        u"Bitmap Files (*.bmp)|*.bmp|All Files (*.*)|*.*"};

    LogoChoice(const Form1Controls &controls, const SettingsStore &store, CommonDialog &dialog);

    void connectControls();

    void Check1_Click();
    void Image1_Click();

private:
    // Shows the picture, stores its path and switches printing on; false when
    // a settings file could not be written.
    [[nodiscard]] bool chooseLogo(const QImage &picture, const QString &path);
    // Back to the placeholder, no stored path, switch off.
    void clearLogo();

    const Form1Controls &m_controls;
    const SettingsStore &m_store;
    CommonDialog &m_dialog;
};
