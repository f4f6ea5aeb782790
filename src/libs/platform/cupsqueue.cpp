#include "cupsqueue.h"

#include <QFile>
#include <QSizeF>

#include <cups/cups.h>

#include <memory>

namespace {

struct DestinationDeleter
{
    void operator()(cups_dest_t *dest) const { cupsFreeDests(1, dest); }
};
using DestinationHandle = std::unique_ptr<cups_dest_t, DestinationDeleter>;

struct InfoDeleter
{
    void operator()(cups_dinfo_t *info) const { cupsFreeDestInfo(info); }
};

QString lastError()
{
    return QString::fromUtf8(cupsLastErrorString());
}

// CUPS gives sizes in hundredths of a millimetre.
double millimetres(int hundredths)
{
    return hundredths / 100.0;
}

void takeDefaultMedia(cups_dest_t *dest, CupsQueue::Destination &destination)
{
    const std::unique_ptr<cups_dinfo_t, InfoDeleter> info(
        cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest));
    cups_size_t size = {};
    if (!info || !cupsGetDestMediaDefault(CUPS_HTTP_DEFAULT, dest, info.get(), 0, &size))
        return;
    destination.paper = QPageSize(QSizeF(millimetres(size.width), millimetres(size.length)),
        QPageSize::Millimeter, QString::fromUtf8(size.media));
    destination.marginsMillimetres = QMarginsF(millimetres(size.left), millimetres(size.top),
        millimetres(size.right), millimetres(size.bottom));
}

} // namespace

namespace CupsQueue {

std::optional<Destination> find(const QString &name, QString &error)
{
    const QByteArray wanted = name.toUtf8();
    const DestinationHandle dest(cupsGetNamedDest(
        CUPS_HTTP_DEFAULT, name.isEmpty() ? nullptr : wanted.constData(), nullptr));
    if (!dest) {
        error = name.isEmpty()
            ? QStringLiteral("there is no default printer; name one with --printer")
            : QStringLiteral("there is no printer named \"%1\"").arg(name);
        if (cupsLastError() > IPP_STATUS_OK_EVENTS_COMPLETE)
            error += QStringLiteral(" (%1)").arg(lastError());
        return std::nullopt;
    }
    Destination destination {QString::fromUtf8(dest->name), QPageSize(QPageSize::A4), {}};
    takeDefaultMedia(dest.get(), destination);
    return destination;
}

int submit(
    const Destination &destination, const QString &pdfPath, const QString &title, QString &error)
{
    const int job = cupsPrintFile2(CUPS_HTTP_DEFAULT, destination.name.toUtf8().constData(),
        QFile::encodeName(pdfPath).constData(), title.toUtf8().constData(), 0, nullptr);
    if (job == 0)
        error = lastError();
    return job;
}

} // namespace CupsQueue
