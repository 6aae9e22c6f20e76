#pragma once

#include "transfer/PTURLDownloader.h"
#include "ui/controls/PTToolbarSegmentedControl.h"
#include "ui/sheets/PTProgressSheetWindow.h"

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QUrl>

#include <memory>

class PTFileOpenHandler;
class QWidget;

// Fetches one file at a time under a progress sheet with a byte count, checks that Pictern can open what arrived,
// and on the user's word hands it to the file-open handler, which routes it like a file opened from the desktop.
// The sheet closes only by the user's hand: Open (OK after an error) or Cancel.
class PTDownloadController : public QObject {
    Q_OBJECT
public:
    static inline const QString DownloadingTitle = QStringLiteral("Downloading...");
    static inline const QString WaitSubtitle = QStringLiteral("Please wait...");
    static inline const QString LoadingMessage = QStringLiteral("Loading...");
    static inline const QString UnzippingTitle = QStringLiteral("Unzipping");
    static inline const QString CompleteTitle = QStringLiteral("Download Complete");
    static inline const QString ErrorTitle = QStringLiteral("An Error Occurred");
    static inline const QString UnsupportedFileType = QStringLiteral("Unsupported File Type");
    static inline const QString RefusedTitle = QStringLiteral("Cannot Download");

    static PTDownloadController& sharedController();
    // Registers the "download" requests of the URL scheme with the handler and clears download folders older than
    // three days. Once, at start-up.
    static void registerAll(PTFileOpenHandler& handler);

    // Starts the download under a sheet on the window (the main window for none). While one is under way this
    // only beeps. A request that may not go out is refused with a notice and touches no network.
    void queueURL(const QUrl& url, const PTURLDownloader::Headers& headers, QWidget* window);
    bool isBusy() const { return m_busy; }

    // The sheet's two controls' actions.
    void openDownloadedFile();
    void cancelCurrentDownload();

    // "<received> of <expected>" in decimal units; "Unknown" for an expected length below zero.
    static QString byteLabel(qint64 received, qint64 expected);

    // For tests: the sheet and its controls while busy.
    PTProgressSheetWindow* sheet() const { return m_sheet.get(); }
    PTToolbarSegmentedControl* openControl() const { return m_openControl; }
    PTToolbarSegmentedControl* cancelControl() const { return m_cancelControl; }
    QUrl downloadedFile() const { return m_downloadedFile; }

private:
    QWidget* makeAccessoryView();
    void updateByteLabel();
    pt::Error fileReady(const QUrl& file);
    void completed(const pt::Error& error);
    void showError(const pt::Error& error);
    void tearDown();

    bool m_busy = false;
    bool m_failed = false;
    std::unique_ptr<PTProgressSheetWindow> m_sheet;
    std::unique_ptr<PTURLDownloader> m_downloader;
    QPointer<PTToolbarSegmentedControl> m_openControl;
    QPointer<PTToolbarSegmentedControl> m_cancelControl;
    QTimer m_labelTimer;
    QUrl m_downloadedFile;
};
