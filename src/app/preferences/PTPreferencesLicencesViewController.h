#pragma once

#include "app/preferences/PTPreferencesPane.h"

#include "platform/runtime/NotificationCenter.h"
#include "ui/theme/PTAppearanceObserver.h"

#include <QAbstractItemDelegate>

class PTLicence;
class PTPreferenceLicencesDelegate;
class PTPreferenceLicencesModel;
class PTTableView;

// The library's licences in an editable table with add and remove buttons. Tab moves to the next field as is;
// Return ends the edit, sorts again and keeps the edited licence selected.
class PTPreferencesLicencesViewController : public PTPreferencesPane {
    Q_OBJECT
public:
    static inline const QString Identifier = QStringLiteral("licenses");
    explicit PTPreferencesLicencesViewController(QWidget* parent = nullptr);

    PTTableView* tableView() const { return tableView_; }
    PTPreferenceLicencesModel* model() const { return model_; }
    QWidget* addControl() const { return addControl_; }
    QWidget* removeControl() const { return removeControl_; }

    void reloadData();
    void addLicence();
    // Selects the licence's row alone and, when asked, edits its name; false when it is not listed.
    bool selectLicence(PTLicence* licence, bool edit);
    void removeSelectedLicences();
    void recheckControl();

private:
    void editorClosed(QWidget* editor, QAbstractItemDelegate::EndEditHint hint);

    PTTableView* tableView_;
    PTPreferenceLicencesModel* model_;
    PTPreferenceLicencesDelegate* delegate_;
    QWidget* addControl_;
    QWidget* removeControl_;
    pt::ObserverToken licencesObserver_;
    PTAppearanceObserver appearanceObserver_;
};
