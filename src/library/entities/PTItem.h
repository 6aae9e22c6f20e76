#pragma once

#include "platform/store/ManagedObject.h"

#include <QColor>
#include <QDateTime>
#include <QHash>
#include <QSet>
#include <QUrl>

class PTCollection;
class PTLicence;

// One icon file of the library. Its file lies in the folder of its set under newFileName; the file it had before
// a replacement is kept under "Originals". Name, tags and description keep a normalised copy for search.
class PTItem : public pt::store::ManagedObject {
public:
    static inline const QString EntityName = QStringLiteral("PTItem");
    enum Type : qint64 { SVG = 0, PNG = 1, GIF = 2, PDF = 3, ICNS = 4, WEBP = 5, ICO = 6 };

    // The object as an item; null when it is none.
    static PTItem* from(pt::store::ManagedObject* object) { return dynamic_cast<PTItem*>(object); }
    static PTItem* insert(pt::store::ObjectContext& context);

    QString name() const;
    // The three setters store the value unchanged and its normalised form in the companion attribute.
    void setName(const QString& name);
    QString nameNormalized() const;
    // The tags joined by ",".
    QString tagsString() const;
    void setTagsString(const QString& tags);
    QString tagsStringNormalized() const;
    QString informativeText() const;
    void setInformativeText(const QString& text);
    QString informativeTextNormalized() const;
    // Renews the three normalised copies.
    void reapplyNormalizedStrings();

    QString newFileName() const;
    void setNewFileName(const QString& name);
    QString originalFileName() const;
    void setOriginalFileName(const QString& name);
    QString unicode() const;
    void setUnicode(const QString& unicode);
    qint64 type() const;
    void setType(qint64 type);
    qint64 width() const;
    void setWidth(qint64 width);
    qint64 height() const;
    void setHeight(qint64 height);
    QDateTime date() const;
    void setDate(const QDateTime& date);
    // An older form of the file location, kept only to be cleaned up.
    QString location() const;

    PTCollection* collection() const;
    // Links both sides: the item leaves its old set's items and joins the new one's.
    void setCollection(PTCollection* collection);
    PTLicence* licence() const;
    void setLicence(PTLicence* licence);

    // The file in its set's folder; empty when the item has no set or its file name would leave that folder.
    QUrl fileURL() const;
    QString baseName() const { return newFileName(); }
    // "Originals/<set identifier>/<newFileName>/<originalFileName>" in the library; the folders are created.
    QUrl originalFileURL() const;
    QUrl oldOriginalFileURL() const { return originalFileURL(); }
    QUrl previewItemURL() const { return originalFileURL(); }
    QString previewItemTitle() const { return name(); }

    // "<normalised name>.<extension of the type>".
    static QString formattedBaseName(const QString& name, qint64 type);
    // The extension of a type ("svg", "png", ...); empty for an unknown type.
    static QString extensionForType(qint64 type);
    // The upper-cased extension of the file name, else the type's name, else "Unknown".
    QString typeString() const;
    // "Scalable" for SVG and PDF, else "<width> x <height>".
    QString dimensionsString() const;
    // The size of the file itself (a link is not followed); 0 when it cannot be read.
    qint64 bytes() const;
    QString fileSizeString() const;
    // A count of bytes as file sizes are shown.
    static QString fileSizeString(qint64 bytes);
    // "%d %b %Y" of the date, or "N/A".
    QString humanDate() const;
    // The MIME type of the item's type; empty for an unknown type.
    QString mime() const;
    // "data:<mime>;base64,"; empty when the type has no MIME type.
    QString base64URIPrefix() const;

    // The tags of tagsString (cut at ",", never an empty piece).
    QSet<QString> tagComponents() const;
    // Each tag under its normalised form.
    QHash<QString, QString> tagMap() const;
    void setTagsStringFromComponents(const QSet<QString>& tags);

    // Orders items by the paths of their object URIs.
    int compare(const PTItem& other) const;

    // A colour the item keeps while it lives; not stored.
    QColor color() const { return color_; }
    void setColor(const QColor& color) { color_ = color; }

private:
    void setNormalized(const QString& key, const QString& normalizedKey, const QString& value);

    QColor color_;
};
