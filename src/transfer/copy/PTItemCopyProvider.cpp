#include "transfer/copy/PTItemCopyProvider.h"

#include "library/entities/PTItem.h"
#include "svg/dom/PTSVGXmlReader.h"
#include "svg/dom/PTSVGXmlWriter.h"
#include "transfer/copy/PTItemCopyBase64Provider.h"
#include "transfer/copy/PTItemCopySVGStringFormattedProvider.h"
#include "transfer/copy/PTItemCopySVGStringProvider.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QSet>

#include <map>

namespace {

std::vector<std::unique_ptr<PTItemCopyProvider>>& registry()
{
    static std::vector<std::unique_ptr<PTItemCopyProvider>> providers;
    return providers;
}

} // namespace

void PTItemCopyProvider::registerAll()
{
    if (!registry().empty())
        return;
    registerProvider(std::make_unique<PTItemCopySVGStringFormattedProvider>());
    registerProvider(std::make_unique<PTItemCopySVGStringProvider>());
    registerProvider(std::make_unique<PTItemCopyBase64Provider>());
}

void PTItemCopyProvider::registerProvider(std::unique_ptr<PTItemCopyProvider> provider)
{
    registry().push_back(std::move(provider));
}

const std::vector<std::unique_ptr<PTItemCopyProvider>>& PTItemCopyProvider::providers()
{
    return registry();
}

QVector<const PTItemCopyProvider*> PTItemCopyProvider::menuItemsForItems(const QVector<PTItem*>& items)
{
    QSet<qint64> types;
    for (const PTItem* item : items)
        types.insert(item->type());
    std::map<int, QVector<const PTItemCopyProvider*>> groups;
    for (const auto& provider : registry()) {
        const QList<qint64> compatible = provider->compatibleTypes();
        if (std::all_of(types.begin(), types.end(), [&](qint64 type) { return compatible.contains(type); }))
            groups[provider->group()].append(provider.get());
    }
    QVector<const PTItemCopyProvider*> entries;
    for (auto& [group, members] : groups) {
        std::sort(members.begin(), members.end(), [](const PTItemCopyProvider* a, const PTItemCopyProvider* b) {
            return a->title().compare(b->title(), Qt::CaseInsensitive) < 0;
        });
        if (!entries.isEmpty())
            entries.append(nullptr);
        entries += members;
    }
    return entries;
}

QStringList PTItemCopyProvider::stringsForItems(const QVector<PTItem*>& items) const
{
    QStringList strings;
    for (const PTItem* item : items) {
        QFile file(item->fileURL().toLocalFile());
        if (!file.open(QIODevice::ReadOnly))
            continue;
        if (std::optional<QString> text = stringForData(file.readAll(), *item))
            strings << *text;
    }
    return strings;
}

void PTItemCopyProvider::copy(const QVector<PTItem*>& items) const
{
    QClipboard* clipboard = QApplication::clipboard();
    clipboard->clear();
    const QStringList strings = stringsForItems(items);
    if (!strings.isEmpty())
        clipboard->setText(strings.join(QLatin1Char('\n')));
}

std::optional<QString> PTItemCopyProvider::svgString(const QByteArray& data, bool pretty)
{
    const std::unique_ptr<PTSVGXmlNode> document = PTSVGXmlReader::parse(data);
    if (!document)
        return std::nullopt;
    return PTSVGXmlWriter::toString(*document, pretty);
}
