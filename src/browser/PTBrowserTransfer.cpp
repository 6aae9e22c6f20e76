#include "browser/PTBrowserTransfer.h"

#include "library/InstalledSeam.h"

namespace {
InstalledSeam<PTBrowserTransfer> seam;
} // namespace

void PTBrowserTransfer::install(std::shared_ptr<PTBrowserTransfer> transfer)
{
    seam.install(std::move(transfer));
}

std::shared_ptr<PTBrowserTransfer> PTBrowserTransfer::installed()
{
    return seam.get();
}

QByteArray PTBrowserTransfer::itemPayload(const QStringList& uris)
{
    return uris.join(QLatin1Char('\n')).toUtf8();
}

QStringList PTBrowserTransfer::itemURIs(const QByteArray& payload)
{
    QStringList uris;
    for (const QByteArray& line : payload.split('\n')) {
        if (const QByteArray uri = line.trimmed(); !uri.isEmpty())
            uris << QString::fromUtf8(uri);
    }
    return uris;
}
