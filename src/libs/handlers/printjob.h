#pragma once

#include "logic/envelopelayout.h"
#include "logic/envelopepage.h"

#include <QLoggingCategory>
#include <QObject>

#include <functional>
#include <memory>
#include <optional>

struct Form1Controls;
struct RunState;
class CommonDialog;
class PrinterSurface;
class QPrinter;
class SettingsStore;

Q_DECLARE_LOGGING_CATEGORY(lcPrint)

// "&Print Envelope": one landscape envelope on the printer the user confirms.
class PrintJob : public QObject
{
    Q_OBJECT

public:
    // Turns the printer the user confirmed into the surface the page is drawn on.
    using SurfaceFactory = std::function<std::shared_ptr<PrinterSurface>(QPrinter &)>;

    PrintJob(const Form1Controls &controls, const SettingsStore &store, const RunState &state,
        CommonDialog &dialog);
    ~PrintJob() override;

    void connectControls();

    // By default, and again after an empty factory, the page goes to the confirmed printer itself.
    void setSurfaceFactory(SurfaceFactory factory);

    void Print_Click();

signals:
    // Printed, cancelled or failed, with the bar-code switch on: the preview
    // must show the box's address again.
    void envelopeDone();

private:
    void printEnvelope();
    [[nodiscard]] EnvelopeSelection selection() const;
    [[nodiscard]] std::optional<FeedSide> selectedFeedSide() const;
    [[nodiscard]] bool confirmPrinter();
    [[nodiscard]] EnvelopePageContent pageContent(const EnvelopeChoice &choice) const;
    void printPage(const EnvelopePageContent &content);

    const Form1Controls &m_controls;
    const SettingsStore &m_store;
    const RunState &m_state;
    CommonDialog &m_dialog;
    // The printer object of the run: the choice made in its dialog stays for the next envelope.
    std::unique_ptr<QPrinter> m_printer;
    SurfaceFactory m_makeSurface;
};
