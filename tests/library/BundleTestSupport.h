#pragma once

#include "FakeLibraryShell.h"
#include "LibraryTestSupport.h"
#include "library/entities/PTGroup.h"
#include "library/entities/PTLicence.h"
#include "platform/store/ObjectID.h"

#include <QJsonObject>

namespace pt::test {

// A library with a fake shell, and the means to write, read and import exchange bundles.
class BundleTest : public LibraryTest {
protected:
    struct Imported {
        QVector<store::ObjectID> objects;
        QVector<pt::Error> errors;
        qint64 skipped = 0;
    };

    void SetUp() override;
    void TearDown() override;

    // Exports the set or group to the path (taken as it is) and waits for the completion.
    void exportAndWait(store::ManagedObject* object, const QString& path);
    Imported importAndWait(const QString& path);
    // The JSON object inside the bundle's META.
    QJsonObject readMeta(const QString& bundle);
    // A bundle folder with "icons" and META holding exactly these bytes.
    QString writeBundle(const QString& name, const QByteArray& meta);
    static QByteArray gzipped(const QJsonObject& object);
    PTGroup* makeGroup(const QString& name, PTGroup* parent);
    PTLicence* makeLicence(const QString& name);
    template <class T>
    QVector<T*> all()
    {
        store::FetchRequest request;
        request.entityName = T::EntityName;
        QVector<T*> result;
        for (store::ManagedObject* object : context().fetch(request).valueOr({}))
            result.append(T::from(object));
        return result;
    }

    std::shared_ptr<FakeLibraryShell> shell = std::make_shared<FakeLibraryShell>();
    QTemporaryDir out;
};

} // namespace pt::test
