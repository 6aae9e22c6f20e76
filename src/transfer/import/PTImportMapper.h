#pragma once

#include <QJsonObject>
#include <QRegularExpression>
#include <QStringList>
#include <QVector>

#include <memory>

// Names and tags for the glyphs of an icon font, from a mapping file: JSON, plain or gzip-compressed, with
// "expressions" (patterns matched case-insensitively against font file names) and "icons" (glyph code -> meta
// object with "name" and "tags"). Codes compare case-insensitively. A file that does not read or parse gives a
// mapper that matches nothing and knows no glyph. Immutable once made; safe from any thread.
class PTImportMapper {
public:
    // The resource folder of the shipped mappings.
    static inline const QString ResourceFolder = QStringLiteral(":/Mappings");
    // Mapping files are refused beyond this size, compressed or inflated.
    static constexpr qint64 MaxSize = qint64(32) << 20;

    // "ptmap", "picternmap", in that order of preference.
    static QStringList pathExtensions();
    // The mapping for the font file: one beside it under its own name, else a "base" mapping in its folder that
    // matches it, else a shipped one that matches it; null when there is none.
    static std::shared_ptr<const PTImportMapper> mapperForURL(const QString& fontPath);

    explicit PTImportMapper(const QString& mappingPath);
    // The normal form: "expressions" as read, "icons" under lower-cased codes; nothing else.
    static QJsonObject transformLoadedJSON(const QJsonObject& loaded);

    // The patterns that compile.
    QVector<QRegularExpression> expressions() const;
    // Whether a pattern matches the file name of the path anywhere in it.
    bool matchesURL(const QString& path) const;
    // The glyph's meta object; empty when the mapping does not know the code.
    QJsonObject metaForUnicode(const QString& code) const;

private:
    QJsonObject dict_;
};
