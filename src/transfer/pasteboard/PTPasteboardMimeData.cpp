#include "transfer/pasteboard/PTPasteboardMimeData.h"

#include "browser/PTBrowserTransfer.h"
#include "transfer/pasteboard/PTPasteboardItemProvider.h"

PTPasteboardMimeData::PTPasteboardMimeData(std::vector<std::unique_ptr<PTPasteboardItemProvider>> providers,
                                           bool clipboard, const QStringList& excludedTypes)
    : providers_(std::move(providers))
{
    if (!providers_.empty())
        formats_ = providers_.front()->writableTypes(excludedTypes);
    if (clipboard && formats_.contains(PTPasteboardItemProvider::FileURLType))
        formats_ << GnomeCopiedFilesType;
}

PTPasteboardMimeData::~PTPasteboardMimeData() = default;

QStringList PTPasteboardMimeData::formats() const
{
    return formats_;
}

bool PTPasteboardMimeData::hasFormat(const QString& type) const
{
    return formats_.contains(type);
}

QVariant PTPasteboardMimeData::retrieveData(const QString& type, QMetaType /*preferredType*/) const
{
    if (!formats_.contains(type))
        return {};
    if (type == PTBrowserTransfer::ItemType) {
        QStringList uris;
        for (const auto& provider : providers_) {
            const QString uri = QString::fromUtf8(provider->dataForType(type));
            if (!uris.contains(uri))
                uris << uri;
        }
        return PTBrowserTransfer::itemPayload(uris);
    }
    // A copy that could not be made offers no file.
    QByteArrayList urls;
    for (const auto& provider : providers_)
        if (const QByteArray url = provider->dataForType(PTPasteboardItemProvider::FileURLType); !url.isEmpty())
            urls << url;
    if (urls.isEmpty())
        return QByteArray();
    if (type == GnomeCopiedFilesType)
        return QByteArrayList{"copy", urls.join('\n')}.join('\n');
    return urls.join("\r\n") + "\r\n";
}
