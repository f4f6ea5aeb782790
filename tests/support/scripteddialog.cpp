#include "scripteddialog.h"

#include "platform/commondialog.h"

#include <QPrinter>

ScriptedDialog &ScriptedDialog::installIn(CommonDialog &dialog)
{
    auto *scripted = new ScriptedDialog;
    dialog.setPresenter(std::unique_ptr<ScriptedDialog>(scripted));
    return *scripted;
}

bool ScriptedDialog::showPrintDialog(QPrinter &printer, bool allowSelection, bool allowPrintToFile)
{
    m_printRequests.append({allowSelection, allowPrintToFile});
    const auto answer = m_printAnswers.isEmpty() ? std::nullopt : m_printAnswers.takeFirst();
    if (answer && !answer->isEmpty())
        printer.setPrinterName(*answer);
    return answer.has_value();
}
