#include "commondialog.h"

#include "platformlog.h"

#include <QAbstractPrintDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>

namespace {

// Shows the real dialogs, modal to the window.
class QtDialogPresenter final : public CommonDialogPresenter
{
public:
    explicit QtDialogPresenter(QWidget *parent)
        : m_parent(parent)
    { }

    std::optional<QString> showFileDialog(const FileDialogRequest &request) override
    {
        QFileDialog dialog(m_parent);
        const bool open = request.kind == FileDialogRequest::Kind::Open;
        dialog.setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
        dialog.setFileMode(open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
        // Descriptions are shown as written; the patterns that follow them only
        // filter. Desktop dialogs cut a description at its first parenthesis,
        // so the toolkit's own dialog is used.
        dialog.setOption(QFileDialog::HideNameFilterDetails);
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        // Saving over an existing file asks first (the toolkit's own question).
        if (!request.nameFilters.isEmpty())
            dialog.setNameFilters(request.nameFilters);
        if (!request.initialDirectory.isEmpty())
            dialog.setDirectory(request.initialDirectory);
        if (!request.fileName.isEmpty())
            dialog.selectFile(request.fileName);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        return dialog.selectedFiles().constFirst();
    }

    bool showPrintDialog(QPrinter &printer, bool allowSelection, bool allowPrintToFile) override
    {
        QPrintDialog dialog(&printer, m_parent);
        QAbstractPrintDialog::PrintDialogOptions options = dialog.options();
        options.setFlag(QAbstractPrintDialog::PrintSelection, allowSelection);
        options.setFlag(QAbstractPrintDialog::PrintToFile, allowPrintToFile);
        dialog.setOptions(options);
        return dialog.exec() == QDialog::Accepted;
    }

private:
    QWidget *m_parent;
};

} // namespace

CommonDialog::CommonDialog(QWidget *parent)
    : m_presenter(std::make_unique<QtDialogPresenter>(parent))
{ }

CommonDialog::~CommonDialog() = default;

void CommonDialog::setPresenter(std::unique_ptr<CommonDialogPresenter> presenter)
{
    m_presenter = std::move(presenter);
}

bool CommonDialog::ShowOpen()
{
    return showFile(FileDialogRequest::Kind::Open);
}

bool CommonDialog::ShowSave()
{
    return showFile(FileDialogRequest::Kind::Save);
}

bool CommonDialog::showFile(FileDialogRequest::Kind kind)
{
    FileDialogRequest request;
    request.kind = kind;
    request.nameFilters = nameFilters(Filter);
    request.initialDirectory = InitDir;
    request.fileName = FileName;
    // A name chosen among other kinds of files is not proposed again: accepted
    // as it stands, it would replace the logo picture with an address. The
    // dialog still opens in that file's folder, as it would with the name.
    if (!FileName.isEmpty() && FileName == m_chosenName && Filter != m_chosenWithFilter) {
        request.fileName.clear();
        const QFileInfo chosen(FileName);
        if (chosen.isAbsolute())
            request.initialDirectory = chosen.absolutePath();
    }
    const std::optional<QString> chosen = m_presenter->showFileDialog(request);
    if (!chosen) {
        if (CancelError)
            qCInfo(lcPlatform) << "File dialog cancelled";
        return !CancelError;
    }
    FileName = *chosen;
    m_chosenName = FileName;
    m_chosenWithFilter = Filter;
    return true;
}

bool CommonDialog::ShowPrinter(QPrinter &printer)
{
    const bool confirmed = m_presenter->showPrintDialog(
        printer, !(Flags & PD_NOSELECTION), !(Flags & PD_DISABLEPRINTTOFILE));
    if (!confirmed && CancelError)
        qCInfo(lcPlatform) << "Printer dialog cancelled";
    return confirmed || !CancelError;
}

QStringList CommonDialog::nameFilters(const QString &filter)
{
    QStringList filters;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts.at(i + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString &pattern : patterns) {
            pattern = pattern.trimmed();
            if (pattern == QLatin1StringView("*.*"))
                pattern = QStringLiteral("*"); // every file, with or without a dot
        }
        filters << QStringLiteral("%1 (%2)").arg(parts.at(i), patterns.join(QLatin1Char(' ')));
    }
    return filters;
}
