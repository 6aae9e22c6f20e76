#pragma once

#include <QList>
#include <QString>
#include <QUrl>

class PTCollection;

// A script's import: opens the add-icons sheet with the caller's files. When the caller names its application,
// the set its last import went into is preselected, and the set this one goes into is remembered for next time.
// Without a name the remembered sets are neither read nor written.
class PTScriptableImportCommand {
public:
    static inline const QString ApplicationCollectionsKey = QStringLiteral("PTApplicationSpecificCollection");

    explicit PTScriptableImportCommand(QString fromApplication);

    // The set remembered for the application, or null when none is or it no longer exists.
    PTCollection* collectionForApplication(const QString& application) const;
    void storeCollection(PTCollection* collection, const QString& application) const;
    // Brings the main window forward and presents the sheet through the installed presenter (which the caller
    // has checked); returns at once, before anything is imported.
    void perform(const QList<QUrl>& files) const;

private:
    QString m_fromApplication;
};
