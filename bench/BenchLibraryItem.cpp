#include "BenchLibraryItem.h"

#include "PapirusFiles.h"
#include "library/entities/PTCollection.h"
#include "library/entities/PTItem.h"

#include <QDir>
#include <QFile>

PTItem* makeBenchItem(PTCollection* set, int n)
{
    return makeBenchItem(set, n, papirusFiles());
}

PTItem* makeBenchItem(PTCollection* set, int n, const std::vector<QByteArray>& files)
{
    PTItem* item = PTItem::insert(*set->context());
    item->setName(QStringLiteral("Icon %1").arg(n));
    item->setNewFileName(QStringLiteral("icon-%1.svg").arg(n));
    item->setCollection(set);
    QFile file(QDir(set->formattedDirectory()).filePath(item->newFileName()));
    file.open(QIODevice::WriteOnly);
    file.write(files.empty() ? QByteArray(4096, 'x') : files[size_t(n) % files.size()]);
    return item;
}
