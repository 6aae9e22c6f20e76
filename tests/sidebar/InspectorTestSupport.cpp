#include "InspectorTestSupport.h"

#include "library/upkeep/PTLibraryShell.h"

void InspectorTest::SetUp()
{
    LibraryTest::SetUp();
    PTLibraryShell::install(shell);
    PTLicenceController::sharedController().purge();
}

void InspectorTest::TearDown()
{
    PTLicenceController::sharedController().purge();
    LibraryTest::TearDown();
    PTLibraryShell::install(nullptr);
}

PTLicence* InspectorTest::makeLicence(const QString& name, const QString& url)
{
    PTLicence* licence = PTLicenceController::sharedController().createLicenceInContext(&context());
    licence->setName(name);
    licence->setUrl(url);
    PTLicenceController::sharedController().purge();
    return licence;
}
