#include "transfer/import/PTImportMapper.h"

#include "foundation/DataAdditions.h"
#include "foundation/RegularFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>

namespace {

const QString ExpressionsKey = QStringLiteral("expressions");
const QString IconsKey = QStringLiteral("icons");
const QString BaseName = QStringLiteral("base");

// The bytes of a mapping file up to the size limit; empty when it does not read, is too large or is no regular
// file. Mapping files a user chose may be links; resources are read through Qt.
QByteArray readMappingFile(const QString& path)
{
    if (path.startsWith(u':')) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) && file.size() <= PTImportMapper::MaxSize ? file.read(PTImportMapper::MaxSize)
                                                                                        : QByteArray();
    }
    return regularFile::read(path, PTImportMapper::MaxSize, regularFile::Links::Follow).valueOr({});
}

QJsonObject load(const QString& path)
{
    QByteArray data = readMappingFile(path);
    if (data.isEmpty())
        return {};
    if (dataAdditions::isGzippedData(data)) {
        pt::Result<QByteArray> inflated = dataAdditions::gunzippedData(data, PTImportMapper::MaxSize);
        if (!inflated)
            return {};
        data = std::move(*inflated);
    }
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(data, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return {};
    return PTImportMapper::transformLoadedJSON(document.object());
}

QString withExtension(const QFileInfo& info, const QString& extension)
{
    return info.dir().filePath(info.completeBaseName() + u'.' + extension);
}

} // namespace

QStringList PTImportMapper::pathExtensions()
{
    return {QStringLiteral("ptmap"), QStringLiteral("picternmap")};
}

std::shared_ptr<const PTImportMapper> PTImportMapper::mapperForURL(const QString& fontPath)
{
    const QFileInfo font(fontPath);
    for (const QString& extension : pathExtensions()) {
        const QString path = withExtension(font, extension);
        if (QFileInfo(path).isFile())
            return std::make_shared<PTImportMapper>(path);
    }
    for (const QString& extension : pathExtensions()) {
        const QFileInfo base(font.dir().filePath(BaseName + u'.' + extension));
        if (base.isFile()) {
            auto mapper = std::make_shared<PTImportMapper>(base.filePath());
            if (mapper->matchesURL(fontPath))
                return mapper;
        }
    }
    const QDir resources(ResourceFolder);
    for (const QString& name : resources.entryList(QDir::Files)) {
        auto mapper = std::make_shared<PTImportMapper>(resources.filePath(name));
        if (mapper->matchesURL(fontPath))
            return mapper;
    }
    return nullptr;
}

PTImportMapper::PTImportMapper(const QString& mappingPath) : dict_(load(mappingPath)) {}

QJsonObject PTImportMapper::transformLoadedJSON(const QJsonObject& loaded)
{
    QJsonObject result;
    if (loaded.contains(ExpressionsKey))
        result.insert(ExpressionsKey, loaded.value(ExpressionsKey));
    if (loaded.value(IconsKey).isObject()) {
        QJsonObject icons;
        const QJsonObject given = loaded.value(IconsKey).toObject();
        for (auto it = given.constBegin(); it != given.constEnd(); ++it)
            icons.insert(it.key().toLower(), it.value());
        result.insert(IconsKey, icons);
    }
    return result;
}

QVector<QRegularExpression> PTImportMapper::expressions() const
{
    QVector<QRegularExpression> result;
    for (const QJsonValue& pattern : dict_.value(ExpressionsKey).toArray()) {
        const QRegularExpression expression(pattern.toString(), QRegularExpression::CaseInsensitiveOption);
        if (pattern.isString() && expression.isValid())
            result.append(expression);
    }
    return result;
}

bool PTImportMapper::matchesURL(const QString& path) const
{
    const QString name = QFileInfo(path).fileName();
    const QVector<QRegularExpression> patterns = expressions();
    return std::any_of(patterns.begin(), patterns.end(),
                       [&](const QRegularExpression& expression) { return expression.match(name).hasMatch(); });
}

QJsonObject PTImportMapper::metaForUnicode(const QString& code) const
{
    return dict_.value(IconsKey).toObject().value(code.toLower()).toObject();
}
