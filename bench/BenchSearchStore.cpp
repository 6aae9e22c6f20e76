#include "BenchSearchStore.h"

#include "library/entities/PTModel.h"
#include "platform/store/ObjectContext.h"
#include "platform/store/TextFold.h"

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>

using namespace pt::store;

namespace {

// Glyph names of the Material Design icon font and file names of the Papirus theme, as words.
QStringList iconNames()
{
    QStringList names;
    QFile font(QStringLiteral("/usr/share/fonts/svg/materialdesignicons-webfont/materialdesignicons-webfont.svg"));
    if (font.open(QIODevice::ReadOnly)) {
        static const QRegularExpression glyph(QStringLiteral("glyph-name=\"([^\"]+)\""));
        for (auto it = glyph.globalMatch(QString::fromUtf8(font.readAll())); it.hasNext();)
            names << it.next().captured(1);
    }
    QDirIterator papirus(QStringLiteral("/usr/share/icons/Papirus/48x48"), {QStringLiteral("*.svg")}, QDir::Files,
                         QDirIterator::Subdirectories);
    while (papirus.hasNext())
        names << papirus.nextFileInfo().completeBaseName();
    names.removeDuplicates();
    for (QString& name : names)
        name.replace(u'-', u' ').replace(u'_', u' ');
    return names;
}

} // namespace

BenchSearchStore& BenchSearchStore::shared()
{
    static BenchSearchStore store;
    return store;
}

BenchSearchStore::BenchSearchStore() : path(dir.filePath(QStringLiteral("Search.db")))
{
    coordinator = *StoreCoordinator::open(path, PTModel::current());
    const QStringList names = iconNames();
    ObjectContext context(ObjectContext::Kind::Confinement, coordinator);
    QVector<ManagedObject*> sets;
    for (int s = 0; s < SetCount; ++s) {
        sets << context.insert(QStringLiteral("PTCollection"));
        sets.back()->setValue(QStringLiteral("name"), QStringLiteral("Set %1").arg(s));
    }
    for (int i = 0; i < ItemCount; ++i) {
        const QString name = names[i % names.size()];
        const QString tags = names[(i * 7 + 3) % names.size()].split(u' ').join(u',');
        ManagedObject* item = context.insert(QStringLiteral("PTItem"));
        item->setValue(QStringLiteral("name"), name);
        item->setValue(QStringLiteral("nameNormalized"), foldWidthCaseAndDiacritics(name));
        item->setValue(QStringLiteral("tagsString"), tags);
        item->setValue(QStringLiteral("tagsStringNormalized"), foldWidthCaseAndDiacritics(tags));
        item->setToOne(QStringLiteral("collection"), sets[i % SetCount]);
        if ((i + 1) % 10000 == 0) {
            (void)context.save();
            QVector<ObjectID> setIDs;
            for (ManagedObject* set : sets)
                setIDs << set->objectID();
            context.reset();
            for (int s = 0; s < SetCount; ++s)
                sets[s] = context.objectWithID(setIDs[s]);
        }
    }
}

const QVector<QStringList>& benchSearchTerms()
{
    static const QVector<QStringList> terms{
        {QStringLiteral("account")},
        {QStringLiteral("arrow"), QStringLiteral("left")},
        {QStringLiteral("account"), QStringLiteral("box"), QStringLiteral("outline")},
    };
    return terms;
}
