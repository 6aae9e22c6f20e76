#pragma once

#include "FakeLibraryShell.h"
#include "library/PTLibraryController.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace pt::test {

// A clean profile for the library's upkeep: the data folder under a temporary XDG_DATA_HOME, fresh defaults,
// application version 2.4.1 and a fake shell.
class UpkeepTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    QString baseFolder() const { return home.filePath("Pictern"); }
    // A current library in the base folder with a store of the current model holding `items` items in one
    // set, and one item file.
    PTLibraryController* makeCurrentLibrary(int items = 3);
    QStringList backups() const;

    QTemporaryDir home;
    QByteArray previousDataHome;
    std::shared_ptr<FakeLibraryShell> shell;
};

void writeFile(const QString& path, const QByteArray& content = "x");

} // namespace pt::test
