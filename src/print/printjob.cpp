#include "printjob.h"

#include "app/form1controls.h"
#include "barcode/barcodepreview.h"
#include "platform/commondialog.h"
#include "settings/settingsstore.h"

#include <QPushButton>

PrintJob::PrintJob(const Form1Controls &controls, const SettingsStore &store, const RunState &state,
                   CommonDialog &dialog, BarcodePreview &preview)
    : m_controls(controls)
    , m_store(store)
    , m_state(state)
    , m_dialog(dialog)
    , m_preview(preview)
{
}

void PrintJob::connectControls()
{
    connect(m_controls.Print, &QPushButton::clicked, this, &PrintJob::Print_Click);
}

void PrintJob::Print_Click()
{
}
