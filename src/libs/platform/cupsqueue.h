#pragma once

#include <QMarginsF>
#include <QPageSize>
#include <QString>

#include <optional>

// A print queue of the CUPS scheduler, and one job sent to it.
namespace CupsQueue {

struct Destination
{
    QString name;
    // The queue's default paper and the margins it cannot print on.
    QPageSize paper;
    QMarginsF marginsMillimetres;
};

// The named queue, or the user's default one when the name is empty; nothing
// when there is none, with the reason in `error`.
[[nodiscard]] std::optional<Destination> find(const QString &name, QString &error);

// Sends the PDF file as one job; the job's number, or 0 with the reason in `error`.
[[nodiscard]] int submit(
    const Destination &destination, const QString &pdfPath, const QString &title, QString &error);

} // namespace CupsQueue
