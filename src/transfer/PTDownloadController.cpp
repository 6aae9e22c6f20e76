#include "transfer/PTDownloadController.h"

#include "library/PTLibraryController.h"
#include "library/upkeep/PTLibraryShell.h"
#include "transfer/PTFileOpenURLDownloadHandlerOperation.h"
#include "transfer/import/PTFileOpenHandler.h"
#include "ui/PTMainWindow.h"
#include "ui/controls/PTToolbarSegmentedControl.h"
#include "ui/sheets/PTProgressSheetWindow.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLocale>

namespace {

constexpr int kLabelIntervalMs = 200;
constexpr qreal kControlHeight = 28;

PTToolbarSegmentedControl* makeControl(const QString& label)
{
    auto* control = new PTToolbarSegmentedControl;
    control->setSegmentCount(1);
    control->setLabel(label, 0);
    control->setCustomHeight(kControlHeight);
    // In a layout the frame must not feed back into the width: a squeezed first layout would stick.
    control->setObeyMinWidthForSingleSegment(true);
    control->setMinWidth(90);
    control->setAccessibleName(label);
    return control;
}

QString decimalBytes(qint64 bytes)
{
    // Counted in powers of 1000, as sizes are everywhere in Pictern.
    return QLocale().formattedDataSize(bytes, 1, QLocale::DataSizeSIFormat);
}

} // namespace

PTDownloadController& PTDownloadController::sharedController()
{
    static PTDownloadController controller;
    return controller;
}

void PTDownloadController::registerAll(PTFileOpenHandler& handler)
{
    handler.registerOperationClass<PTFileOpenURLDownloadHandlerOperation>(
        QStringLiteral("PTFileOpenURLDownloadHandlerOperation"), PTFileOpenHandler::DownloadRank);
    PTURLDownloader::removeDownloadsOlderThan(QDateTime::currentDateTime().addDays(-3), PTLibraryController::location());
}

QString PTDownloadController::byteLabel(qint64 received, qint64 expected)
{
    return QStringLiteral("%1 of %2").arg(decimalBytes(received),
                                          expected < 0 ? QStringLiteral("Unknown") : decimalBytes(expected));
}

QWidget* PTDownloadController::makeAccessoryView()
{
    auto* view = new QWidget;
    auto* layout = new QHBoxLayout(view);
    layout->setContentsMargins(20, 0, 20, 16);
    layout->addStretch(1);
    m_cancelControl = makeControl(tr("Cancel"));
    m_openControl = makeControl(tr("Open"));
    m_openControl->setEnabled(false);
    layout->addWidget(m_cancelControl);
    layout->addWidget(m_openControl);
    connect(m_cancelControl, &PTToolbarSegmentedControl::action, this, [this] { cancelCurrentDownload(); });
    connect(m_openControl, &PTToolbarSegmentedControl::action, this, [this] {
        // After an error the open control only closes the sheet, as Cancel would.
        if (m_failed)
            cancelCurrentDownload();
        else
            openDownloadedFile();
    });
    return view;
}

void PTDownloadController::queueURL(const QUrl& url, const PTURLDownloader::Headers& headers, QWidget* window)
{
    if (m_busy) {
        QApplication::beep();
        return;
    }
    QString reason;
    if (!PTURLDownloader::isAcceptableRequest(url, headers, &reason)) {
        if (const auto shell = PTLibraryShell::installed())
            shell->postNotice(RefusedTitle, reason);
        return;
    }
    m_busy = true;
    m_failed = false;
    m_sheet = std::make_unique<PTProgressSheetWindow>(DownloadingTitle);
    m_sheet->setSubTitle(WaitSubtitle);
    m_sheet->setAccessoryView(makeAccessoryView());
    m_sheet->setMessage(LoadingMessage);

    m_downloader = std::make_unique<PTURLDownloader>(url);
    m_downloader->setHeaders(headers);
    m_downloader->setInitialResponseHandler([this](PTURLDownloader* downloader, const QString& name) {
        m_sheet->setSubTitle(name);
        if (downloader->expectedContentLength() < 0)
            m_sheet->setProgress(0, 0);
    });
    m_downloader->setProgressHandler([this](PTURLDownloader* downloader, float progress) {
        if (downloader->expectedContentLength() >= 1)
            m_sheet->setProgress(qint64(progress * 1000), 1000);
    });
    m_downloader->setWillDecompressHandler([this](PTURLDownloader*) { m_sheet->setTitle(UnzippingTitle); });
    m_downloader->setDecompressProgressHandler(
        [this](PTURLDownloader*, float progress) { m_sheet->setProgress(qint64(progress * 1000), 1000); });
    m_downloader->setFileReadyHandler([this](PTURLDownloader*, const QUrl& file) { return fileReady(file); });
    m_downloader->setCompleteHandler([this](PTURLDownloader*, const pt::Error& error) { completed(error); });

    m_sheet->beginSessionForWindow(window ? window : PTMainWindow());
    updateByteLabel();
    connect(&m_labelTimer, &QTimer::timeout, this, &PTDownloadController::updateByteLabel, Qt::UniqueConnection);
    m_labelTimer.start(kLabelIntervalMs);
    m_downloader->begin();
}

void PTDownloadController::updateByteLabel()
{
    if (!m_sheet)
        return;
    m_sheet->setMessage(m_downloader ? byteLabel(m_downloader->receivedLength(), m_downloader->expectedContentLength())
                                     : byteLabel(0, 0));
}

pt::Error PTDownloadController::fileReady(const QUrl& file)
{
    m_downloadedFile = file;
    if (!PTFileOpenHandler::sharedController().operationsForFileURLs({file}).empty())
        return {};
    return pt::Error::withDescription(PTURLDownloader::ErrorDomain, PTURLDownloader::UnsupportedFileTypeError,
                                      UnsupportedFileType);
}

void PTDownloadController::completed(const pt::Error& error)
{
    if (!m_sheet)
        return;
    if (!error.isNull()) {
        showError(error);
    } else {
        m_sheet->setTitle(CompleteTitle);
        const QString name = m_downloadedFile.fileName();
        if (m_sheet->subTitle() != name)
            m_sheet->setSubTitle(name);
    }
    m_sheet->setProgress(1, 1);
    updateByteLabel();
    m_labelTimer.stop();
    m_openControl->setEnabled(true);
}

void PTDownloadController::showError(const pt::Error& error)
{
    m_failed = true;
    m_sheet->setTitle(ErrorTitle);
    m_sheet->setSubTitle(error.localizedDescription());
    m_sheet->setProgress(1, 1);
    m_openControl->setLabel(tr("OK"), 0);
}

void PTDownloadController::openDownloadedFile()
{
    if (!m_busy)
        return;
    const QUrl file = m_downloadedFile;
    m_sheet->endSession();
    tearDown();
    if (file.isValid())
        PTFileOpenHandler::sharedController().queueItems({file});
}

void PTDownloadController::cancelCurrentDownload()
{
    if (!m_busy)
        return;
    // Its last report (the cancellation) must not reach the sheet being torn down.
    if (m_downloader) {
        m_downloader->setCompleteHandler({});
        m_downloader->cancel();
    }
    m_sheet->endSession();
    tearDown();
}

void PTDownloadController::tearDown()
{
    m_labelTimer.stop();
    m_downloadedFile.clear();
    // Later: tearing down runs inside a click of the sheet's own controls.
    if (m_downloader)
        m_downloader.release()->deleteLater();
    if (m_sheet)
        m_sheet.release()->deleteLater();
    m_busy = false;
    m_failed = false;
}
