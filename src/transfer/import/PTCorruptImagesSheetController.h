#pragma once

#include "transfer/import/PTImporter2.h"
#include "ui/views/PTSheet.h"

#include <QObject>
#include <QPointer>
#include <QStringList>


class PTSheetViewTitleBarController;
class PTStackView;
class QListWidget;
class QPushButton;
class QWidget;

// "File Issues: <count>": the files an import could not take, each with the reason, in a sheet that holds its
// caller until the user closes it. "Reveal" hands every listed file to the file manager in one call.
class PTCorruptImagesSheetController : public QObject {
    Q_OBJECT
public:
    static inline const QString TitleFormat = QStringLiteral("File Issues: %1");
    // The reason given for a file the import took without complaint but made no icon of.
    static inline const QString NoIconReason = QStringLiteral("no icon could be made from this file");

    explicit PTCorruptImagesSheetController(const QVector<PTImporter2::Rejected>& files, QObject* parent = nullptr);
    ~PTCorruptImagesSheetController() override;

    // Attaches the sheet to the window (shows it on its own without one) and returns when it is closed.
    void presentSheetFromWindow(QWidget* window);
    void revealInFinder();
    void close();

    QStringList filePaths() const;
    PTSheet* window() const { return window_; }
    QPushButton* revealButton() const { return revealButton_; }
    QPushButton* closeButton() const { return closeButton_; }
    QListWidget* list() const { return list_; }

private:
    QVector<PTImporter2::Rejected> files_;
    QPointer<PTSheet> window_;
    PTStackView* stackView_ = nullptr;
    PTSheetViewTitleBarController* titleBarController_ = nullptr;
    QListWidget* list_ = nullptr;
    QPushButton* revealButton_ = nullptr;
    QPushButton* closeButton_ = nullptr;
};
