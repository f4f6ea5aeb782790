#include "scripteddialog.h"

#include "platform/commondialog.h"

#include <QPrinter>

#include <memory>

ScriptedDialog &ScriptedDialog::installIn(CommonDialog &dialog)
{
    auto scripted = std::make_unique<ScriptedDialog>();
    ScriptedDialog &installed = *scripted;
    dialog.setPresenter(std::move(scripted));
    return installed;
}

// A dialog shown beyond the script counts as cancelled, and says so.
std::optional<QString> ScriptedDialog::showFileDialog(const FileDialogRequest &request)
{
    m_fileRequests.append(request);
    if (m_fileAnswers.isEmpty()) {
        qWarning("ScriptedDialog: file dialog shown with no answer scripted; cancelled");
        return std::nullopt;
    }
    const std::optional<QString> answer = m_fileAnswers.takeFirst();
    if (answer != ProposedName)
        return answer;
    if (request.fileName.isEmpty())
        return std::nullopt;
    return request.fileName;
}

bool ScriptedDialog::showPrintDialog(QPrinter &printer, bool allowSelection, bool allowPrintToFile)
{
    m_printRequests.append({allowSelection, allowPrintToFile});
    if (m_printAnswers.isEmpty()) {
        qWarning("ScriptedDialog: printer dialog shown with no answer scripted; cancelled");
        return false;
    }
    const std::optional<QString> answer = m_printAnswers.takeFirst();
    if (answer && !answer->isEmpty())
        printer.setPrinterName(*answer);
    return answer.has_value();
}
