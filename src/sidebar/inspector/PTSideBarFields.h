#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

class PTLicence;
class PTSheetTextField;
class QLabel;
class QWidget;

// What the inspector panes share: their rows and fields, and how they sum up the values of several objects.
namespace sideBarFields {

// A metadata row: a dim title on the left and a value label on the right (returned through value).
QWidget* makeMetaRow(const QString& title, QLabel** value);
// A text field of the panes' input sections.
PTSheetTextField* makeTextField(const QString& accessibleName);
// The refusal message under an input section; hidden while empty.
QLabel* makeMessageLabel();
void showMessage(QLabel* label, const QString& message);

// The one value all the texts share; "Multiple" when they differ; empty when there are none.
QString commonText(const QStringList& texts);

// The description shown for several objects and its placeholder: the shared trimmed text when all agree (a
// blank one counts as none), else empty with "Multiple Descriptions".
struct Description {
    QString text;
    QString placeholder;
};
Description describe(const QStringList& descriptions);

// The licence shown for objects whose licences are given (null: none): the one they share, or multiple.
struct LicenceChoice {
    PTLicence* licence = nullptr;
    bool multiple = false;
};
LicenceChoice chooseLicence(const QVector<PTLicence*>& licences);

// Why a typed name is refused (empty, or holding "/", NUL or a control character); empty when it is fine.
QString nameProblem(const QString& trimmedName);

} // namespace sideBarFields
