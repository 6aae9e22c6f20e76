#include "library/entities/PTItem.h"

#include "foundation/DateHelper.h"
#include "foundation/StringAdditions.h"
#include "library/entities/EntityValues.h"
#include "library/entities/PTCollection.h"
#include "library/PTLibraryController.h"
#include "library/entities/PTLicence.h"
#include "platform/store/ObjectContext.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>

#include <sys/stat.h>

using namespace entityValues;

namespace {

const QString NameKey = QStringLiteral("name");
const QString NameNormalizedKey = QStringLiteral("nameNormalized");
const QString TagsStringKey = QStringLiteral("tagsString");
const QString TagsStringNormalizedKey = QStringLiteral("tagsStringNormalized");
const QString InformativeTextKey = QStringLiteral("informativeText");
const QString InformativeTextNormalizedKey = QStringLiteral("informativeTextNormalized");
const QString TagSeparator = QStringLiteral(",");

struct TypeInfo {
    const char* extension;
    const char* mime;
};
constexpr TypeInfo Types[] = {{"svg", "image/svg+xml"}, {"png", "image/png"},       {"gif", "image/gif"},
                              {"pdf", "application/pdf"}, {"icns", "image/icns"}, {"webp", "image/webp"},
                              {"ico", "image/ico"}};

const TypeInfo* typeInfo(qint64 type)
{
    return type >= 0 && type < qint64(std::size(Types)) ? &Types[type] : nullptr;
}

} // namespace

PTItem* PTItem::insert(pt::store::ObjectContext& context)
{
    return from(context.insert(EntityName));
}

QString PTItem::name() const { return string(*this, NameKey); }
void PTItem::setName(const QString& name) { setNormalized(NameKey, NameNormalizedKey, name); }
QString PTItem::nameNormalized() const { return string(*this, NameNormalizedKey); }
QString PTItem::tagsString() const { return string(*this, TagsStringKey); }
void PTItem::setTagsString(const QString& tags) { setNormalized(TagsStringKey, TagsStringNormalizedKey, tags); }
QString PTItem::tagsStringNormalized() const { return string(*this, TagsStringNormalizedKey); }
QString PTItem::informativeText() const { return string(*this, InformativeTextKey); }
QString PTItem::informativeTextNormalized() const { return string(*this, InformativeTextNormalizedKey); }

void PTItem::setInformativeText(const QString& text)
{
    setNormalized(InformativeTextKey, InformativeTextNormalizedKey, text);
}

void PTItem::setNormalized(const QString& key, const QString& normalizedKey, const QString& value)
{
    setString(*this, key, value);
    setString(*this, normalizedKey, value.isNull() ? QString() : stringAdditions::normalizedString(value));
}

void PTItem::reapplyNormalizedStrings()
{
    setName(name());
    setTagsString(tagsString());
    setInformativeText(informativeText());
}

QString PTItem::newFileName() const { return string(*this, QStringLiteral("newFileName")); }
void PTItem::setNewFileName(const QString& name) { setString(*this, QStringLiteral("newFileName"), name); }
QString PTItem::originalFileName() const { return string(*this, QStringLiteral("originalFileName")); }
void PTItem::setOriginalFileName(const QString& name) { setString(*this, QStringLiteral("originalFileName"), name); }
QString PTItem::unicode() const { return string(*this, QStringLiteral("unicode")); }
void PTItem::setUnicode(const QString& unicode) { setString(*this, QStringLiteral("unicode"), unicode); }
qint64 PTItem::type() const { return integer(*this, QStringLiteral("type")); }
void PTItem::setType(qint64 type) { setInteger(*this, QStringLiteral("type"), type); }
qint64 PTItem::width() const { return integer(*this, QStringLiteral("width")); }
void PTItem::setWidth(qint64 width) { setInteger(*this, QStringLiteral("width"), width); }
qint64 PTItem::height() const { return integer(*this, QStringLiteral("height")); }
void PTItem::setHeight(qint64 height) { setInteger(*this, QStringLiteral("height"), height); }
QDateTime PTItem::date() const { return entityValues::date(*this, QStringLiteral("date")); }
void PTItem::setDate(const QDateTime& date) { entityValues::setDate(*this, QStringLiteral("date"), date); }
QString PTItem::location() const { return string(*this, QStringLiteral("location")); }

PTCollection* PTItem::collection() const { return PTCollection::from(toOne(QStringLiteral("collection"))); }
void PTItem::setCollection(PTCollection* collection) { setToOne(QStringLiteral("collection"), collection); }
PTLicence* PTItem::licence() const { return PTLicence::from(toOne(QStringLiteral("licence"))); }
void PTItem::setLicence(PTLicence* licence) { setToOne(QStringLiteral("licence"), licence); }

QUrl PTItem::fileURL() const
{
    PTCollection* set = collection();
    const QString fileName = newFileName();
    if (!set || !isPlainFileName(fileName))
        return {};
    const QString directory = set->formattedDirectory();
    return directory.isEmpty() ? QUrl() : QUrl::fromLocalFile(directory + QLatin1Char('/') + fileName);
}

QUrl PTItem::originalFileURL() const
{
    PTCollection* set = collection();
    PTLibraryController* library = PTLibraryController::currentLibrary();
    const QString fileName = newFileName();
    const QString original = originalFileName();
    if (!set || !library || !isPlainFileName(fileName) || !isPlainFileName(original))
        return {};
    const QString folder = library->locationByAppendingPath(
        QStringLiteral("%1/%2/%3").arg(PTLibraryController::OriginalsFolderName, set->computedIdentifier(), fileName),
        true);
    return QUrl::fromLocalFile(QStringLiteral("%1/%2").arg(folder, original));
}

QString PTItem::extensionForType(qint64 type)
{
    const TypeInfo* info = typeInfo(type);
    return info ? QString::fromLatin1(info->extension) : QString();
}

QString PTItem::formattedBaseName(const QString& name, qint64 type)
{
    return QStringLiteral("%1.%2").arg(stringAdditions::normalizedString(name), extensionForType(type));
}

QString PTItem::typeString() const
{
    const QString suffix = QFileInfo(newFileName()).suffix();
    if (!suffix.isEmpty())
        return suffix.toUpper();
    const QString extension = extensionForType(type());
    return extension.isEmpty() ? QStringLiteral("Unknown") : extension.toUpper();
}

QString PTItem::dimensionsString() const
{
    if (type() == SVG || type() == PDF)
        return QCoreApplication::translate("PTItem", "Scalable");
    return QStringLiteral("%1 x %2").arg(width()).arg(height());
}

qint64 PTItem::bytes() const
{
    const QUrl url = fileURL();
    struct stat info {};
    if (url.isEmpty() || ::lstat(QFile::encodeName(url.toLocalFile()).constData(), &info) != 0)
        return 0;
    return info.st_size;
}

QString PTItem::fileSizeString() const
{
    return fileSizeString(bytes());
}

QString PTItem::fileSizeString(qint64 bytes)
{
    // Files are counted in powers of 1000, as file managers show them.
    return QLocale().formattedDataSize(bytes, 1, QLocale::DataSizeSIFormat);
}

QString PTItem::humanDate() const
{
    const QDateTime when = date();
    const QString text = when.isValid() ? dateHelper::stringWithFormat(when, QStringLiteral("%d %b %Y"), false)
                                        : QString();
    return text.isEmpty() ? QStringLiteral("N/A") : text;
}

QString PTItem::mime() const
{
    const TypeInfo* info = typeInfo(type());
    return info ? QString::fromLatin1(info->mime) : QString();
}

QString PTItem::base64URIPrefix() const
{
    const QString type = mime();
    return type.isEmpty() ? QString() : QStringLiteral("data:%1;base64,").arg(type);
}

QSet<QString> PTItem::tagComponents() const
{
    const QStringList pieces = stringAdditions::componentsSeparatedByChars(tagsString(), ",");
    return QSet<QString>(pieces.begin(), pieces.end());
}

QHash<QString, QString> PTItem::tagMap() const
{
    QHash<QString, QString> map;
    for (const QString& tag : tagComponents())
        map.insert(stringAdditions::normalizedString(tag), tag);
    return map;
}

void PTItem::setTagsStringFromComponents(const QSet<QString>& tags)
{
    setTagsString(QStringList(tags.begin(), tags.end()).join(TagSeparator));
}

int PTItem::compare(const PTItem& other) const
{
    return objectID().uriPath().compare(other.objectID().uriPath());
}
