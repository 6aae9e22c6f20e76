#pragma once

#include "FakeLibraryShell.h"
#include "LibraryTestSupport.h"

#include "library/controllers/PTLicenceController.h"
#include "library/entities/PTLicence.h"

#include <memory>

// The inspector on a real library; alerts go to a recording shell.
class InspectorTest : public pt::test::LibraryTest {
protected:
    void SetUp() override;
    void TearDown() override;

    PTLicence* makeLicence(const QString& name, const QString& url = QString());

    std::shared_ptr<pt::test::FakeLibraryShell> shell = std::make_shared<pt::test::FakeLibraryShell>();
};
