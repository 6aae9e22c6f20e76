#include "sidebar/inspector/PTSideBarFields.h"

#include "foundation/StringAdditions.h"
#include "sidebar/NameRefusal.h"
#include "sidebar/inspector/PTSidebarMetaLabel.h"
#include "ui/controls/PTSheetTextField.h"
#include "ui/theme/PTStyles.h"

#include <QHBoxLayout>
#include <QLabel>

namespace sideBarFields {

QWidget* makeMetaRow(const QString& title, QLabel** value)
{
    auto* row = new QWidget;
    row->setAccessibleName(title);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    auto* label = new PTSidebarMetaLabel(title);
    label->setAccessibleName(title);
    *value = new QLabel;
    (*value)->setAccessibleName(QObject::tr("%1 value").arg(title));
    (*value)->setFont(PTStyles::systemFont(11));
    (*value)->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    (*value)->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(label);
    layout->addStretch();
    layout->addWidget(*value);
    row->resize(row->sizeHint());
    return row;
}

PTSheetTextField* makeTextField(const QString& accessibleName)
{
    auto* field = new PTSheetTextField;
    field->setAccessibleName(accessibleName);
    field->setFixedHeight(24);
    return field;
}

QLabel* makeMessageLabel()
{
    auto* label = new QLabel;
    label->setAccessibleName(QObject::tr("Input message"));
    label->setWordWrap(true);
    label->setFont(PTStyles::systemFont(11));
    QPalette colours = label->palette();
    colours.setColor(QPalette::WindowText, QColor(0xDA, 0x32, 0x47));
    label->setPalette(colours);
    label->setVisible(false);
    return label;
}

void showMessage(QLabel* label, const QString& message)
{
    label->setText(message);
    label->setVisible(!message.isEmpty());
    if (!message.isEmpty())
        label->resize(label->sizeHint());
}

QString commonText(const QStringList& texts)
{
    if (texts.isEmpty())
        return {};
    for (const QString& text : texts)
        if (text != texts.first())
            return QObject::tr("Multiple");
    return texts.first();
}

Description describe(const QStringList& descriptions)
{
    const QString placeholder = QObject::tr("Description");
    if (descriptions.isEmpty())
        return {QString(), placeholder};
    const QString first = stringAdditions::trim(descriptions.first());
    for (const QString& description : descriptions)
        if (stringAdditions::trim(description) != first)
            return {QString(), QObject::tr("Multiple Descriptions")};
    return {first, placeholder};
}

LicenceChoice chooseLicence(const QVector<PTLicence*>& licences)
{
    if (licences.isEmpty())
        return {};
    for (PTLicence* licence : licences)
        if (licence != licences.first())
            return {nullptr, true};
    return {licences.first(), false};
}

QString nameProblem(const QString& trimmedName)
{
    if (trimmedName.isEmpty())
        return QObject::tr("A name cannot be empty.");
    return nameRefusal(trimmedName);
}

} // namespace sideBarFields
