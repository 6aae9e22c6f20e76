#pragma once

#include "library/entities/PTModel.h"
#include "library/store/PTStoreStackHost.h"
#include "platform/store/ObjectContext.h"

#include <QStringList>
#include <QTemporaryDir>

#include <memory>

namespace pt::test {

// A store file of the current model in a temporary folder.
class TestStore {
public:
    TestStore();
    QString path() const { return dir_.filePath(QStringLiteral("Rorev.db")); }
    const QTemporaryDir& dir() const { return dir_; }
    std::shared_ptr<store::StoreCoordinator> coordinator() const { return coordinator_; }
    void reopen();
    void close() { coordinator_.reset(); }
    std::shared_ptr<store::ObjectContext> worker(
        store::MergePolicy policy = store::MergePolicy::ObjectTrumpByProperty) const;

private:
    QTemporaryDir dir_;
    std::shared_ptr<store::StoreCoordinator> coordinator_;
};

// A store stack host over one store file, keeping what it was asked to present.
class StoreHost : public PTStoreStackHost {
public:
    explicit StoreHost(QString path) : path_(std::move(path)) {}
    QString storePath() const override { return path_; }
    void presentError(const pt::Error& error) override { presented << error.localizedDescription(); }
    void saveFailed(const pt::Error&) override {}
    QStringList presented;

private:
    QString path_;
};

store::ManagedObject* makeObject(store::ObjectContext& context, const QString& entity, const QString& name);
// The names of the objects, sorted, for comparing results.
QStringList namesOf(const QVector<store::ManagedObject*>& objects);
QStringList fetchNames(store::ObjectContext& context, const QString& entity, const QString& predicate,
                       const QVector<store::PredicateArgument>& arguments = {});
// Runs one statement on a separate connection and answers the first column of its first row, if any.
QString queryStore(const QString& path, const QString& sql);

} // namespace pt::test
