#pragma once

#include "platform/store/ManagedObject.h"

#include <QUrl>

class PTCollection;
class PTItem;

// The licence under which icons are published: a name, the web address of its text, and the text.
class PTLicence : public pt::store::ManagedObject {
public:
    static inline const QString EntityName = QStringLiteral("PTLicence");

    static PTLicence* from(pt::store::ManagedObject* object) { return dynamic_cast<PTLicence*>(object); }
    static PTLicence* insert(pt::store::ObjectContext& context);

    QString name() const;
    void setName(const QString& name);
    QString url() const;
    void setUrl(const QString& url);
    QString text() const;
    void setText(const QString& text);

    QVector<PTCollection*> collections() const;
    QVector<PTItem*> items() const;

    // The web address when it parses with both a scheme and a host; empty otherwise.
    QUrl validatedURL() const;
};
