#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QPrinter;

// What the common dialog asks to be shown. The window always uses the real
// dialogs; tests put a scripted presenter in their place.
struct FileDialogRequest
{
    enum class Kind
    {
        Open,
        Save
    };
    Kind kind = Kind::Open;
    QStringList nameFilters; // as QFileDialog takes them, descriptions kept whole
    QString initialDirectory;
    QString fileName;
};

class CommonDialogPresenter
{
public:
    virtual ~CommonDialogPresenter() = default;
    // The chosen path, or nothing when the user cancelled.
    [[nodiscard]] virtual std::optional<QString> showFileDialog(const FileDialogRequest &request)
        = 0;
    // Lets the user confirm a printer for the job; false when cancelled.
    // allowSelection and allowPrintToFile mirror the dialog's flags.
    [[nodiscard]] virtual bool showPrintDialog(
        QPrinter &printer, bool allowSelection, bool allowPrintToFile)
        = 0;
};
