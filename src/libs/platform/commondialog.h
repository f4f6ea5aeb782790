#pragma once

#include "commondialogpresenter.h"

#include <QString>

#include <memory>

class QPrinter;
class QWidget;

// The window's one common dialog (CD1). Its properties stay set between uses:
// what the logo choice leaves in FileName stays there, and InitDir stays the
// settings folder once an address file was opened. A name chosen under another
// filter is not proposed in the dialog, only its folder.
class CommonDialog
{
public:
    // Flags of the printer dialog.
    static constexpr int PD_NOSELECTION = 0x4;
    static constexpr int PD_DISABLEPRINTTOFILE = 0x80000;

    explicit CommonDialog(QWidget *parent = nullptr);
    ~CommonDialog();
    CommonDialog(const CommonDialog &) = delete;
    CommonDialog &operator=(const CommonDialog &) = delete;

    // "Description|*.a;*.b|Description|*.c": descriptions and patterns alternate.
    QString Filter;
    QString InitDir;
    QString FileName;
    int Flags = 0;
    // When on, cancelling makes the Show call fail.
    bool CancelError = false;

    // Each returns false on failure: a cancel while CancelError is on. A cancel
    // leaves FileName as it was.
    [[nodiscard]] bool ShowOpen();
    [[nodiscard]] bool ShowSave();
    [[nodiscard]] bool ShowPrinter(QPrinter &printer);

    // Replaces what shows the dialogs (tests script it this way).
    void setPresenter(std::unique_ptr<CommonDialogPresenter> presenter);

    // The filter text as QFileDialog name filters: each description shown as
    // written, filtering by its patterns ("*.*" meaning every file).
    [[nodiscard]] static QStringList nameFilters(const QString &filter);

private:
    [[nodiscard]] bool showFile(FileDialogRequest::Kind kind);

    std::unique_ptr<CommonDialogPresenter> m_presenter;
    // The name last chosen in a dialog, and the filter it was chosen under.
    QString m_chosenName;
    QString m_chosenWithFilter;
};
