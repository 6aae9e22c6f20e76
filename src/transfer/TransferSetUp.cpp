#include "transfer/TransferSetUp.h"

#include "library/upkeep/PTImportValidation.h"
#include "transfer/PTDownloadController.h"
#include "transfer/PTIconTransfer.h"
#include "transfer/PTStarterSetDownloader.h"
#include "transfer/copy/PTItemCopyProvider.h"
#include "transfer/import/PTAddIconsSheetPresenter.h"
#include "transfer/import/PTFileOpenHandler.h"
#include "transfer/import/PTFileOpenSink.h"
#include "transfer/import/PTInterruptedImports.h"
#include "transfer/import/PTPasteBoard.h"
#include "transfer/replace/PTReplacementImporter.h"

namespace TransferSetUp {

void registerAll()
{
    PTFileOpenHandler& handler = PTFileOpenHandler::sharedController();
    PTFileOpenHandler::registerAll(handler);
    PTDownloadController::registerAll(handler);
    PTImportValidation::install(std::make_shared<PTPasteBoard>());
    PTReplacementImport::install(std::make_shared<PTReplacementImporter>());
    PTOpenedItemsSink::install(std::make_shared<PTFileOpenSink>());
    PTAddIconsPresenter::install(std::make_shared<PTAddIconsSheetPresenter>());
    PTStarterSetDownloads::install(std::make_shared<PTStarterSetDownloader>());
    PTItemCopyProvider::registerAll();
    PTBrowserTransfer::install(std::make_shared<PTIconTransfer>());
}

void applicationDidFinishLaunching()
{
    // Before anything opened at launch is imported: only the journals of imports that did not end are there.
    PTInterruptedImports::tidy();
    PTFileOpenHandler::sharedController().applicationDidFinishLaunching();
}

} // namespace TransferSetUp
