#pragma once

#include "platform/store/ObjectContext.h"

#include <QString>
#include <QVector>

#include <optional>

class PTLicence;

// Owns the licence records of the main context: caches them, creates them, finds one by its URI string, and
// deletes them (asking first when sets or items still carry them). Main thread only. Its cache belongs to the
// main context; whoever replaces the store stack calls purge().
class PTLicenceController {
public:
    static inline const QString LicencesDidChangeNotification = QStringLiteral("PTLicenceControllerLicencesDidChange");
    static inline const QString DeleteSuppressKey = QStringLiteral("PTLicenceControllerDeleteSuppressKey");

    static PTLicenceController& sharedController();

    const pt::store::EntityDescription* entity() const;
    // All licences of the main context, fetched on first use (unordered).
    QVector<PTLicence*> licences();
    void purge();
    // The licence of the main context with that URI; null when it names none.
    PTLicence* licenceForObjectURLString(const QString& uri);
    // A new empty licence with a permanent ID in the context (the main context when null); not saved.
    PTLicence* createLicenceInContext(pt::store::ObjectContext* context);
    // Asks first when a set or an item carries one of them; then removeLicences.
    void removeLicencesWithAlert(const QVector<PTLicence*>& licences);
    // Unlinks the licences from their sets and items and deletes them; not saved.
    void removeLicences(const QVector<PTLicence*>& licences);
    void notifyObserversOfDidChange();

private:
    PTLicenceController() = default;

    std::optional<QVector<PTLicence*>> licences_;
};
