#include "StoreTestSupport.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace pt::test {

TestStore::TestStore()
{
    reopen();
}

void TestStore::reopen()
{
    coordinator_.reset();
    auto opened = store::StoreCoordinator::open(path(), PTModel::current());
    if (!opened)
        ADD_FAILURE() << opened.error().toString().toStdString();
    else
        coordinator_ = *opened;
}

std::shared_ptr<store::ObjectContext> TestStore::worker(store::MergePolicy policy) const
{
    auto context = std::make_shared<store::ObjectContext>(store::ObjectContext::Kind::Confinement, coordinator_);
    context->setMergePolicy(policy);
    return context;
}

store::ManagedObject* makeObject(store::ObjectContext& context, const QString& entity, const QString& name)
{
    store::ManagedObject* object = context.insert(entity);
    object->setValue(QStringLiteral("name"), name);
    return object;
}

QStringList namesOf(const QVector<store::ManagedObject*>& objects)
{
    QStringList names;
    for (const store::ManagedObject* object : objects)
        names << object->value(QStringLiteral("name")).toString();
    names.sort();
    return names;
}

QStringList fetchNames(store::ObjectContext& context, const QString& entity, const QString& predicate,
                       const QVector<store::PredicateArgument>& arguments)
{
    auto parsed = store::Predicate::parse(predicate, arguments);
    if (!parsed) {
        ADD_FAILURE() << parsed.error().toString().toStdString();
        return {};
    }
    store::FetchRequest request;
    request.entityName = entity;
    request.predicate = *parsed;
    auto result = context.fetch(request);
    if (!result) {
        ADD_FAILURE() << result.error().toString().toStdString();
        return {};
    }
    return namesOf(*result);
}

QString queryStore(const QString& path, const QString& sql)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    sqlite3_stmt* statement = nullptr;
    QString answer;
    const int rc = sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &statement, nullptr) == SQLITE_OK
        ? sqlite3_step(statement)
        : SQLITE_ERROR;
    if (rc == SQLITE_ROW)
        answer = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
    else if (rc != SQLITE_DONE)
        ADD_FAILURE() << sql.toStdString() << ": " << sqlite3_errmsg(db);
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return answer;
}

} // namespace pt::test
