#pragma once

#include "library/store/PTStoreStackHost.h"

#include <QStringList>
#include <QTemporaryDir>

class PTCollection;

// The current library of the test run: a package in a temporary folder with its store open, so that windows
// find sets and items.
class AppTestLibrary : public PTStoreStackHost {
public:
    static AppTestLibrary& shared();

    QString path() const;
    QString storePath() const override;
    void presentError(const pt::Error& error) override;
    void saveFailed(const pt::Error&) override {}
    // A saved set with items of those names.
    PTCollection* addSet(const QString& name, const QStringList& itemNames);

    QStringList presented;

private:
    AppTestLibrary();
    QTemporaryDir dir_;
};
