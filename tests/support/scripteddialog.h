#pragma once

#include "platform/commondialogpresenter.h"

#include <QList>
#include <QString>

#include <optional>

class CommonDialog;

// Stands in for the real file and printer dialogs: answers from a script and
// records every request it was shown.
class ScriptedDialog final : public CommonDialogPresenter
{
public:
    struct PrintRequest
    {
        bool allowSelection = false;
        bool allowPrintToFile = false;
    };

    // Puts a new scripted dialog into the common dialog, which owns it.
    static ScriptedDialog &installIn(CommonDialog &dialog);

    // The next file dialog returns this path (the user chose or typed it).
    void choose(const QString &path) { m_fileAnswers.append(path); }
    // The next file dialog is cancelled.
    void cancel() { m_fileAnswers.append(std::nullopt); }
    // The next file dialog is accepted with the name it proposes (Return); with
    // none proposed the dialog cannot be accepted and is cancelled.
    void acceptProposed() { m_fileAnswers.append(ProposedName); }
    // The next printer dialog is confirmed or cancelled.
    void confirmPrinter(bool confirmed)
    {
        m_printAnswers.append(confirmed ? std::optional(QString()) : std::nullopt);
    }
    // The next printer dialog is confirmed with this printer chosen.
    void choosePrinter(const QString &name) { m_printAnswers.append(name); }

    [[nodiscard]] const QList<FileDialogRequest> &fileRequests() const { return m_fileRequests; }
    [[nodiscard]] const QList<PrintRequest> &printRequests() const { return m_printRequests; }
    // Whether every scripted answer was used.
    [[nodiscard]] bool scriptUsed() const
    {
        return m_fileAnswers.isEmpty() && m_printAnswers.isEmpty();
    }

    std::optional<QString> showFileDialog(const FileDialogRequest &request) override;
    bool showPrintDialog(QPrinter &printer, bool allowSelection, bool allowPrintToFile) override;

private:
    static inline const QString ProposedName = QStringLiteral("\0proposed");
    QList<std::optional<QString>> m_fileAnswers;
    QList<std::optional<QString>> m_printAnswers; // a printer name, or none chosen
    QList<FileDialogRequest> m_fileRequests;
    QList<PrintRequest> m_printRequests;
};
