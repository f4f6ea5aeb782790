#pragma once

#include "platform/commondialogpresenter.h"

#include <QList>
#include <QString>

#include <optional>

class CommonDialog;

// Answers file and printer dialogs from a script and records each request; beyond it, cancels.
class ScriptedDialog final : public CommonDialogPresenter
{
public:
    struct PrintRequest
    {
        bool allowSelection = false, allowPrintToFile = false;
    };

    // Puts a new scripted dialog into the common dialog, which owns it.
    static ScriptedDialog &installIn(CommonDialog &dialog);

    void choose(const QString &path) { m_fileAnswers.append(path); }
    void cancel() { m_fileAnswers.append(std::nullopt); }
    void confirmPrinter(bool confirmed)
    {
        m_printAnswers.append(confirmed ? std::optional(QString()) : std::nullopt);
    }
    void choosePrinter(const QString &name) { m_printAnswers.append(name); }

    [[nodiscard]] const QList<FileDialogRequest> &fileRequests() const { return m_fileRequests; }
    [[nodiscard]] const QList<PrintRequest> &printRequests() const { return m_printRequests; }
    [[nodiscard]] bool scriptUsed() const
    {
        return m_fileAnswers.isEmpty() && m_printAnswers.isEmpty();
    }

    std::optional<QString> showFileDialog(const FileDialogRequest &request) override
    {
        m_fileRequests.append(request);
        return m_fileAnswers.isEmpty() ? std::nullopt : m_fileAnswers.takeFirst();
    }
    bool showPrintDialog(QPrinter &printer, bool allowSelection, bool allowPrintToFile) override;

private:
    QList<std::optional<QString>> m_fileAnswers;
    QList<std::optional<QString>> m_printAnswers; // a printer name, empty for the default
    QList<FileDialogRequest> m_fileRequests;
    QList<PrintRequest> m_printRequests;
};
