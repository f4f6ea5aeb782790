#include "scripteddialog.h"

#include "platform/commondialog.h"

#include <QPrinter>

ScriptedDialog &ScriptedDialog::installIn(CommonDialog &dialog)
{
    auto scripted = std::make_unique<ScriptedDialog>();
    ScriptedDialog &installed = *scripted;
    dialog.setPresenter(std::move(scripted));
    return installed;
}

std::optional<QString> ScriptedDialog::showFileDialog(const FileDialogRequest &request)
{
    m_fileRequests.append(request);
    const auto answer = m_fileAnswers.isEmpty() ? std::nullopt : m_fileAnswers.takeFirst();
    if (answer != ProposedName)
        return answer;
    return request.fileName.isEmpty() ? std::nullopt : std::optional(request.fileName);
}

bool ScriptedDialog::showPrintDialog(QPrinter &printer, bool allowSelection, bool allowPrintToFile)
{
    m_printRequests.append({allowSelection, allowPrintToFile});
    const auto answer = m_printAnswers.isEmpty() ? std::nullopt : m_printAnswers.takeFirst();
    if (answer && !answer->isEmpty())
        printer.setPrinterName(*answer);
    return answer.has_value();
}
