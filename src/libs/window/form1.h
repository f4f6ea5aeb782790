#pragma once

#include "controls/form1controls.h"
#include "controls/runstate.h"
#include "platform/commondialog.h"
#include "settings/settingsstore.h"
#include "startup.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class BarcodePreview;
class EnvelopeOptions;
class LogoChoice;
class AddressFiles;
class PrintJob;

// The program's one window.
class Form1 : public QWidget
{
    Q_OBJECT

public:
    // Client area as designed, in twips.
    static constexpr int ClientWidthTwips = 10590;
    static constexpr int ClientHeightTwips = 8220;

    explicit Form1(Form1Services services, QWidget *parent = nullptr);
    ~Form1() override;

    // Start-up. Returns false when this copy must end because another one runs.
    [[nodiscard]] bool Form_Load();

    [[nodiscard]] const Form1Controls &controls() const { return m_controls; }
    [[nodiscard]] SettingsStore &store() { return m_store; }
    [[nodiscard]] RunState &runState() { return m_runState; }
    [[nodiscard]] CommonDialog &commonDialog() { return CD1; }
    [[nodiscard]] PrintJob &printJob() { return *m_printJob; }

    void Command2_Click();
    // Opens the address file into the recipient box, as Open Address does with
    // the file its dialog returns.
    void openAddressFile(const QString &path);

    // Saves what leaving the control being edited saves, keeping it focused:
    // the session is ending and the program may not get to close its window.
    void saveBeforeSessionEnds();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void createControls();
    void setTabOrder();
    void connectControls();
    [[nodiscard]] bool isTabStop(const QWidget *widget) const;
    [[nodiscard]] std::array<QWidget *, 3> watchedControls() const;

    Form1Services m_services;
    Form1Controls m_controls;
    // The controls that can take the focus, in ascending tab position.
    std::vector<QWidget *> m_tabChain;
    SettingsStore m_store;
    RunState m_runState;
    CommonDialog CD1;
    std::unique_ptr<EnvelopeOptions> m_options;
    std::unique_ptr<BarcodePreview> m_preview;
    std::unique_ptr<LogoChoice> m_logo;
    std::unique_ptr<AddressFiles> m_addressFiles;
    std::unique_ptr<PrintJob> m_printJob;
};
